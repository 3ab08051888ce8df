// The filter parser: one regular form, read whole; the value is kept typed.
#include "Filtro.h"

#include "Valores.h"

#include <QRegularExpression>

#include <cmath>

namespace store {

Filtro leerFiltro(const QString &texto, const QString &tabla)
{
    Filtro f;
    if (texto.trimmed().isEmpty())
        return f;
    static const QRegularExpression forma(QStringLiteral(
        "^\\s*([A-Za-z_][A-Za-z0-9_]*)\\s*=\\s*(?:'((?:[^']|'')*)'|([-+]?\\d+(?:\\.\\d+)?))\\s*$"));
    const auto m = forma.match(texto);
    if (!m.hasMatch())
        throw EDBEngineError(EngineCode::InvalidUse,
                             QStringLiteral("El filtro «%1» de la tabla %2 no es válido: se espera Campo = 'texto' o Campo = número.")
                                 .arg(texto, tabla));
    f.campo = m.captured(1);
    if (m.capturedStart(2) >= 0) {
        QString s = m.captured(2);
        s.replace(QLatin1String("''"), QLatin1String("'"));
        f.valor = s;
        return f;
    }
    const QString n = m.captured(3);
    bool ok = false;
    const qint64 i = n.contains(QLatin1Char('.')) ? 0 : n.toLongLong(&ok);
    f.valor = ok ? QVariant(i) : QVariant(n.toDouble());
    return f;
}

QVariant valorComparado(const QVariant &valor, TFieldType tipo)
{
    if (tipo == TFieldType::Date) {
        const QDate d = leerFecha(valor.toString());
        return d.isValid() ? fechaIso(d) : valor.toString();
    }
    if (!esNumero(tipo))
        return valor.toString();
    QVariant v = valor;
    if (v.typeId() == QMetaType::QString) {
        double x = 0;
        if (leerNumero(v.toString(), &x))
            v = x;
    }
    const double d = v.toDouble();
    if (v.typeId() == QMetaType::Double && esEntero(tipo) && d == std::floor(d) && std::fabs(d) < 9e18)
        v = qint64(d);
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double)
        return v;
    return v.toString();
}

} // namespace store
