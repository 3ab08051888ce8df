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
