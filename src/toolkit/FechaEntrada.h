// Date entry: the date and time formats fixed at start-up, blank date texts,
// the preparation of data-bound date fields and the check of a typed date.
#pragma once

#include <QDate>
#include <QString>

class QWidget;
class TField;

// Date and time formats in Qt's notation ("dd/MM/yyyy", "HH:mm").
struct TFormatosRegionales
{
    QChar DateSeparator = QLatin1Char('/');
    QChar TimeSeparator = QLatin1Char(':');
    QString ShortDateFormat = QStringLiteral("dd/MM/yyyy");
    QString ShortTimeFormat = QStringLiteral("HH:mm");
    QString LongTimeFormat = QStringLiteral("HH:mm");
};

// The formats in force for the whole run: set once by Ajustar_Formatos_Regionales,
// the short date format then replaced by the start-up's own.
TFormatosRegionales &Formatos_Regionales();
// From the user's regional formats to the program's: "/" and ":" as separators, a
// first short date format month-first or day-first as the region writes it, a
// two-digit hour, and the long time format equal to the short one.
TFormatosRegionales Ajustar_Formatos(const TFormatosRegionales &regional);
// Reads the user's regional formats and puts Ajustar_Formatos of them in force.
void Ajustar_Formatos_Regionales();

// The edit mask of every data-bound date field: optional digits, the separators
// kept, so an untouched field reads "  /  /    ".
inline const QString Mascara_Fecha = QStringLiteral("!99/99/9999;1;_");

// True for exactly "", "  /  /    " and "__/__/____".
bool Fecha_En_Blanco(const QString &Texto);

// The date a typed text denotes, day/month/four-digit year; blanks that the mask
// leaves around a number are ignored (" 1/ 3/2024"). A null date otherwise.
QDate Convertir_Texto_Fecha(const QString &Texto);

// Gives the date field behind `Edit` (a data-bound control) the date check and
// the mask; a field that does not allow a blank date becomes required. When the
// control's table is closed, nothing is set up and a notice says so.
void Preparar_Campo_Fecha(QWidget *Edit, bool Permite_Vacia);

// The text handler of a date field: stores the date typed, or clears the field
// for a blank text when the field is not required; otherwise tells the user,
// keeps the former value and clears Fecha_Valida, so the focus goes back to the
// control when it is left.
void Validar_Texto_Fecha(TField &Campo, const QString &Texto);
