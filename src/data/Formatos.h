// The program's number and date formats: "." between thousands, "," before
// decimals, dates day/month/four-digit year. Independent of the user's locale.
#pragma once

#include <QDate>
#include <QString>

class TField;
class QVariant;

namespace Formatos {

// Renders `valor` through a float mask such as "###.###,##": "#" an optional
// digit, "0" a mandatory digit, the first "." the decimal point (later ones count
// for nothing), a "," anywhere turns on thousands grouping. Other characters before
// the first or after the last placeholder are copied as they are. A value that
// rounds to zero with no "0" placeholder gives the empty text.
QString Formatear_Mascara(double valor, const QString &mascara);

// The "%.<decimales>n" form: thousands grouped, exactly `decimales` decimals,
// rounded half away from zero ("%.0n" of 98765 gives "98.765").
QString Formatear_N(double valor, int decimales);

// Short date "dd/mm/yyyy"; a null date gives the empty text.
QString Formatear_Fecha(const QDate &fecha);
// Reads "d/m/yyyy" (one or two digits for day and month, four for the year);
// anything else, or a date that does not exist, gives a null date.
QDate Leer_Fecha(const QString &texto);

// Reads a typed number: optional sign, digits with "." between groups of three,
// and "," before the decimals ("1.234,5", "1234,5", ",5", "-7.500"). Blanks around
// are ignored. Returns false, leaving `valor` alone, for anything else (including
// "1.5", whose grouping is wrong, and the empty text). It is the store's reader,
// so a field accepts exactly what this reads.
bool Leer_Numero(const QString &texto, double *valor);
// The same for a whole number that fits in 32 bits; decimals other than zeros are refused.
bool Leer_Entero(const QString &texto, qint32 *valor);

// What a control or a grid shows for a value of `campo`: dates in the short date
// form, numbers through the field's display format when it has one (plain
// otherwise, "," before decimals), texts as they are. An empty value gives the
// empty text.
QString Texto_Valor(const TField *campo, const QVariant &valor);
// The same with the field's edit format, for a value being edited.
QString Texto_Edicion(const TField *campo, const QVariant &valor);

} // namespace Formatos
