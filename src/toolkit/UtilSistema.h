// Names of the computer and the user, the program's folder, and case
// conversions that know the Spanish letters.
#pragma once

#include <QChar>
#include <QString>

// The computer's network name, at most 15 characters; empty when unknown.
QString Nombre_Ordenador();
// The logged-on user's name, at most 399 characters; empty when unknown.
QString Nombre_Usuario();
// The folder of the executable, without a trailing separator (a root keeps it).
QString Carpeta_Programa();

// a-z and á é í ó ú ñ to capitals; every other character as it is (à, ü, ç stay).
QString Mayusculas(const QString &texto);
// A-Z and Á É Í Ó Ú Ñ to small letters; every other character as it is.
QString Minusculas(const QString &texto);
// The first character through Mayusculas, the rest unchanged.
QString Capitalizar(const QString &texto);
// How many positions of `Texto` hold exactly `Caracter` (case counts).
int Contar_Caracter(const QString &Texto, QChar Caracter);

// Limits of the two names, as the error log has always recorded them.
constexpr int Longitud_Nombre_Ordenador = 15;
constexpr int Longitud_Nombre_Usuario = 399;
