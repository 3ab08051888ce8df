// The filter parser of table objects. A filter has one form, a field name (any
// case), "=" and a quoted text ('' inside stands for ') or a number; it is read
// here and its value bound as a parameter, never spliced into SQL.
#pragma once

#include "Table.h"

#include <QString>
#include <QVariant>

namespace store {

struct Filtro
{
    QString campo;  // as written; empty for no filter
    QVariant valor; // QString for a quoted text, qint64 or double for a number
    bool vacio() const { return campo.isEmpty(); }
};

// Reads a filter text; a blank text is the empty filter. Anything else raises
// InvalidUse saying what is expected and naming `tabla`.
Filtro leerFiltro(const QString &texto, const QString &tabla);

// The value a column of type `tipo` is compared with: the stored form of a date
// ("yyyy-MM-dd"), a number for a numeric column when the value reads as one
// (whole for integer columns when it is whole), the text otherwise. The result
// holds a qint64, a double or a QString.
QVariant valorComparado(const QVariant &valor, TFieldType tipo);

} // namespace store
