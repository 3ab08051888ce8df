// What the entry fields let the user type into number fields.
#include "Validadores.h"

#include "Avisos.h"

#include <QTimer>
#include <QWidget>

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

QString Texto_Importe_No_Valido()
{
    return QStringLiteral("El importe debe ser una cantidad sin signo de hasta 12 cifras enteras y 2 decimales, "
                          "con coma decimal (por ejemplo 1.234,56).");
}

TValidadorImporte::TValidadorImporte(QObject *parent) : QValidator(parent) {}

namespace {
// "1.234.567": points only between groups of three, after a first group of one to three.
bool Bien_Agrupado(const QString &enteras)
{
    const QStringList grupos = enteras.split(QLatin1Char('.'));
    for (int i = 0; i < grupos.size(); ++i) {
        const qsizetype n = grupos.at(i).size();
        if (i == 0 ? (n < 1 || n > 3) : n != 3)
            return false;
    }
    return true;
}
} // namespace

QValidator::State TValidadorImporte::validate(QString &input, int &pos) const
{
    // An amount shown with its thousands grouped keeps them; once a digit
    // breaks the groups, the points go, so "1.2345" is read 12345 and never misread.
    const int coma0 = int(input.indexOf(QLatin1Char(',')));
    const QString enteras0 = coma0 < 0 ? input : input.left(coma0);
    const bool agrupado = enteras0.contains(QLatin1Char('.')) && Bien_Agrupado(enteras0)
                          && (coma0 < 0 || !input.mid(coma0).contains(QLatin1Char('.')));
    if (!agrupado) {
        const int antes = int(input.left(pos).count(QLatin1Char('.')));
        input.remove(QLatin1Char('.'));
        pos -= antes;
    }
    if (input.isEmpty())
        return Acceptable;
    if (input.startsWith(QLatin1Char(','))) {
        input.prepend(QLatin1Char('0')); // what the store reads needs the whole part
        ++pos;
    }
    const int coma = int(input.indexOf(QLatin1Char(',')));
    QString enteras = coma < 0 ? input : input.left(coma);
    enteras.remove(QLatin1Char('.'));
    const QString decimales = coma < 0 ? QString() : input.mid(coma + 1);
    for (const QString &parte : {enteras, decimales})
        for (const QChar c : parte)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return Rechazar();
    int significativas = int(enteras.size());
    for (int i = 0; i + 1 < enteras.size() && enteras.at(i) == QLatin1Char('0'); ++i)
        --significativas;
    if (significativas > Cifras_Enteras || decimales.size() > Decimales)
        return Rechazar();
    return Acceptable;
}

QValidator::State TValidadorImporte::Rechazar() const
{
    // Only what the user types is told: a stored value loaded into the field is
    // shown as it is, and keeps its value until the user changes it.
    const auto *campo = qobject_cast<const QWidget *>(parent());
    if (!campo || campo->hasFocus())
        QTimer::singleShot(0, this, [] { Aviso(QStringLiteral("Importe"), Texto_Importe_No_Valido(), avError); });
    return Invalid;
}
