// What the entry fields let the user type into number fields.
#include "Validadores.h"

#include "Avisos.h"

#include <QTimer>

TValidadorKilometros::TValidadorKilometros(QObject *parent) : QValidator(parent) {}

QValidator::State TValidadorKilometros::validate(QString &input, int &) const
{
    for (const QChar c : std::as_const(input))
        if (!c.isDigit() || c.unicode() > 127)
            return Invalid;
    if (input.isEmpty())
        return Acceptable;
    bool ok = false;
    const qlonglong v = input.toLongLong(&ok);
    if (!ok || v > Maximo_Kilometros) {
        // Told after the keystroke has been refused, never from inside it.
        QTimer::singleShot(0, this, [] {
            Aviso(QStringLiteral("Kilómetros"), Texto_Kilometros_Fuera_De_Rango(), avError);
        });
        return Invalid;
    }
    return Acceptable;
}

QString Texto_Kilometros_Fuera_De_Rango()
{
    return QStringLiteral("Los kilómetros deben ser un número entero entre 0 y 2.147.483.647.");
}

QValidator::State TValidadorKmAgrupados::validate(QString &input, int &pos) const
{
    const int antes = int(input.left(pos).count(QLatin1Char('.')));
    input.remove(QLatin1Char('.'));
    pos -= antes;
    return TValidadorKilometros::validate(input, pos);
}

TValidadorNumero::TValidadorNumero(QObject *parent) : QValidator(parent) {}

QString Texto_Numero_Demasiado_Largo()
{
    return QStringLiteral("El número no cabe en el campo: admite como máximo %1 cifras.").arg(Maximo_Cifras_Numero);
}

QValidator::State TValidadorNumero::validate(QString &input, int &) const
{
    const auto digito = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    const int n = int(input.size());
    int i = 0;
    if (i < n && (input.at(i) == QLatin1Char('-') || input.at(i) == QLatin1Char('+')))
        ++i;
    // The whole part: a first group of one to three figures when "." groups them.
    int cifras = 0, grupo = 0;
    bool agrupado = false;
    for (; i < n && (digito(input.at(i)) || input.at(i) == QLatin1Char('.')); ++i) {
        if (input.at(i) == QLatin1Char('.')) {
            if (grupo == 0 || (agrupado ? grupo != 3 : grupo > 3))
                return Invalid;
            agrupado = true;
            grupo = 0;
        } else {
            ++cifras;
            if (++grupo > 3 && agrupado)
                return Invalid;
        }
    }
    const bool grupoAbierto = agrupado && grupo != 3;
    if (i < n && input.at(i) == QLatin1Char(',')) {
        if (grupoAbierto)
            return Invalid;
        for (++i; i < n && digito(input.at(i)); ++i)
            ++cifras;
    }
    if (i != n)
        return Invalid;
    if (cifras > Maximo_Cifras_Numero) {
        QTimer::singleShot(0, this, [] {
            Aviso(QStringLiteral("Atención"), Texto_Numero_Demasiado_Largo(), avAtencion);
        });
        return Invalid;
    }
    return cifras == 0 || grupoAbierto ? (n == 0 ? Acceptable : Intermediate) : Acceptable;
}
