// The platform's message boxes, as the backup and the restore ask and tell
// everything (the rest of the program uses its own message dialog).
#pragma once

#include <QString>

class QWidget;

// Yes and No, No preselected; true for Yes.
bool Pregunta_Plataforma(QWidget *Padre, const QString &Titulo, const QString &Texto);
// A single OK button.
void Aviso_Plataforma(QWidget *Padre, const QString &Titulo, const QString &Texto);
