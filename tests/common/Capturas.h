// For the programs that render windows to PNG files by hand, to look at them.
#pragma once

#include <QDir>
#include <QString>
#include <QWidget>
#include <QtTest>

// Shows `w`, waits until it is on screen and saves it as `carpeta/nombre.png`.
inline void Guardar_Captura(QWidget *w, const QString &carpeta, const QString &nombre)
{
    w->show();
    if (!QTest::qWaitForWindowExposed(w))
        qWarning("La ventana %s no se mostró", qPrintable(nombre));
    QTest::qWait(50);
    w->grab().save(QDir(carpeta).filePath(nombre + QStringLiteral(".png")));
}
