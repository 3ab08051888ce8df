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

// Fields that hold a number with decimals, typed as the program writes them:
// digits, "." between groups of three if the user likes, "," before the
// decimals ("1.234,5", "1234,5"). Letters are refused as they are typed; a text
// still on its way to a number ("12.", "-") is let through for the field to
// judge; more figures than a number keeps exactly are refused with a notice.
constexpr int Maximo_Cifras_Numero = 15;
QString Texto_Numero_Demasiado_Largo();

class TValidadorNumero : public QValidator
{
    Q_OBJECT
public:
    explicit TValidadorNumero(QObject *parent = nullptr);
    State validate(QString &input, int &pos) const override;
};

// Amounts of money: digits, and "," before at most two decimals, with up to
// twelve whole digits, so the amount is stored exactly as typed. Group points
// are dropped as typed, as in kilometre fields, and a leading "," gets its 0.
// Anything else is refused with a notice that says what an amount is.
QString Texto_Importe_No_Valido();

class TValidadorImporte : public QValidator
{
    Q_OBJECT
public:
    static constexpr int Cifras_Enteras = 12;
    static constexpr int Decimales = 2;

    explicit TValidadorImporte(QObject *parent = nullptr);
    State validate(QString &input, int &pos) const override;

private:
    State Rechazar() const;
};
