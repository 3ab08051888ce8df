// Typing as a user does, for the tests that drive windows headless.
#pragma once

#include <QLineEdit>
#include <QString>
#include <QtTest>

// One key per character, accented letters and symbols included (keyClick
// knows the ASCII keys only, so the others go as text on an unknown key).
inline void Teclear(QWidget *campo, const QString &teclas)
{
    for (const QChar c : teclas) {
        if (c.unicode() < 128)
            QTest::keyClick(campo, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, campo, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Types into a field the way a user does: focus, select all, replace.
template <class Campo>
void Escribir(Campo *campo, const QString &teclas)
{
    campo->setFocus(Qt::OtherFocusReason);
    campo->selectAll();
    QTest::keyClick(campo, Qt::Key_Delete);
    Teclear(campo, teclas);
}
