// Opening a web or e-mail address with the desktop's own program.
#pragma once

#include <QString>

// What is handed to the desktop for `Direccion`: an address with "@" and no
// scheme (http://, https://, ftp://, mailto:, any case) gets "mailto:" in
// front; anything else goes as it is.
QString Destino_Direccion(const QString &Direccion);

// Opens `Direccion` (see Destino_Direccion); an empty one does nothing. A
// relative path is taken from `Carpeta`. The desktop opens its program in a
// normal window whatever `Modo` says, and takes no parameters, so `Parametros`
// is not used; whether it succeeded is not reported.
void Abrir_Direccion(const QString &Direccion, const QString &Parametros, const QString &Carpeta, int Modo);
