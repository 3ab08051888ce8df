// What the entry fields let the user type into number fields of the tables.
#pragma once

#include <QString>
#include <QValidator>

// Kilometre fields hold a signed 32-bit number: only digits may be typed, and a
// value beyond the largest one is refused with a notice instead of reaching the table.
constexpr qint64 Maximo_Kilometros = 2147483647;
QString Texto_Kilometros_Fuera_De_Rango();

class TValidadorKilometros : public QValidator
{
    Q_OBJECT
public:
    explicit TValidadorKilometros(QObject *parent = nullptr);
    State validate(QString &input, int &pos) const override;
};

// Kilometre fields whose numbers are edited with their thousands grouped
// ("15.000"): the group points are dropped as soon as the user types, so a digit
// added to "15.000" gives 150000, never a text the field would misread.
class TValidadorKmAgrupados : public TValidadorKilometros
{
    Q_OBJECT
public:
    using TValidadorKilometros::TValidadorKilometros;
    State validate(QString &input, int &pos) const override;
};
