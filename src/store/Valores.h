// Value conversion of the store: the one reader of typed numbers (the data
// layer's formats read through it too), the date readers, the text forms of
// stored values, and what a field of each type holds when a value is written.
// QtCore only.
#pragma once

#include "Table.h"

#include <QDate>
#include <QString>
#include <QVariant>

namespace store {

// Reads a typed number: optional sign, digits with "." between groups of three,
// and "," before the decimals ("1.234,5", "1234,5", ",5", "-7.500"). Blanks around
// are ignored. Returns false, leaving `valor` alone, for anything else: "1.5" and
// "1.2,5" (a group after "." holds three digits), "1e5", the empty text.
bool leerNumero(const QString &texto, double *valor);

// Reads a date as typed ("dd/MM/yyyy", "d/M/yyyy") or as stored ("yyyy-MM-dd");
// a null date for anything else, or a day that does not exist.
QDate leerFecha(const QString &texto);
// A stored date, "yyyy-MM-dd" as the file holds it (`n` bytes); null when the
// bytes are no such date.
QDate fechaDeIso(const unsigned char *texto, int n);
QString fechaIso(const QDate &d);  // "yyyy-MM-dd", as dates are stored
QString textoFecha(const QDate &d); // "dd/MM/yyyy"
// A float as text: "," before the decimals, no grouping, no trailing zeros.
QString textoReal(double v);

bool esTexto(TFieldType t);
bool esEntero(TFieldType t);
bool esNumero(TFieldType t);
QString nombreTipo(TFieldType t); // for messages: "entero", "fecha"...

// What a field of type `tipo` (`tamano` characters at most for Text) stores when
// `v` is written to it: null for a null value or the empty text. A value the
// field cannot hold raises InvalidUse naming the field and the table.
QVariant convertir(const QVariant &v, TFieldType tipo, int tamano, const QString &campo, const QString &tabla);

// A field's value read as text (TField::asString), whole number, float and date.
// Empty values give the empty text, 0 and the null date.
QString comoTexto(const QVariant &v, TFieldType tipo);
qint32 comoEntero(const QVariant &v);
double comoReal(const QVariant &v);
QDate comoFecha(const QVariant &v);

// Key of a value in a lookup index: equal numbers give equal keys whatever their
// type, texts never meet numbers.
QString claveBusqueda(const QVariant &v);

} // namespace store
