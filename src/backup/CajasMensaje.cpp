// The platform's message boxes of the backup.
#include "CajasMensaje.h"

#include <QMessageBox>

bool Pregunta_Plataforma(QWidget *Padre, const QString &Titulo, const QString &Texto)
{
    QMessageBox Caja(QMessageBox::Question, Titulo, Texto, QMessageBox::Yes | QMessageBox::No, Padre);
    Caja.setDefaultButton(QMessageBox::No);
    return Caja.exec() == QMessageBox::Yes;
}

void Aviso_Plataforma(QWidget *Padre, const QString &Titulo, const QString &Texto)
{
    QMessageBox Caja(QMessageBox::Warning, Titulo, Texto, QMessageBox::Ok, Padre);
    Caja.exec();
}
