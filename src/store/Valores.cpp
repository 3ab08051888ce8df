// Value conversion of the store: typed text to values and back, without the
// locale having a say ("." groups thousands, "," starts the decimals).
#include "Valores.h"

#include <cmath>

namespace store {

namespace {

const QChar kMiles = QLatin1Char('.');
const QChar kDecimal = QLatin1Char(',');

bool esDigito(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The whole part of a typed number from `*i` on: digits, with "." between groups
// of exactly three after a first group of one to three. False when a group is broken.
bool leerEnteros(const QString &t, int *i, QString *enteros)
{
    const int n = t.size();
    int grupo = 0;
    bool agrupado = false;
    while (*i < n) {
        const QChar c = t.at(*i);
        if (esDigito(c)) {
            *enteros += c;
            ++grupo;
        } else if (c == kMiles) {
            if (grupo == 0 || (agrupado && grupo != 3) || (!agrupado && grupo > 3))
                return false;
            agrupado = true;
            grupo = 0;
        } else {
            break;
        }
        ++*i;
    }
    // "15.0000", a digit typed after "15.000", is refused rather than read as 150000.
    return !agrupado || grupo == 3;
}

[[noreturn]] void invalido(const QVariant &v, TFieldType tipo, const QString &campo, const QString &tabla)
{
    throw EDBEngineError(EngineCode::InvalidUse, QStringLiteral("«%1» no es un valor válido para el campo %2 (%3) de la tabla %4.")
                                                     .arg(v.toString(), campo, nombreTipo(tipo), tabla));
}

QVariant aTexto(const QVariant &v, TFieldType tipo, int tamano, const QString &campo, const QString &tabla)
{
    QString s;
    if (v.typeId() == QMetaType::QDate)
        s = textoFecha(v.toDate());
    else if (v.typeId() == QMetaType::Double)
        s = textoReal(v.toDouble());
    else
        s = v.toString();
    if (tipo == TFieldType::Text && tamano > 0 && s.size() > tamano)
        throw EDBEngineError(EngineCode::InvalidUse,
                             QStringLiteral("El texto «%1» es más largo que el campo %2 de la tabla %3 (%4 caracteres como máximo).")
                                 .arg(s, campo, tabla)
                                 .arg(tamano));
    return QVariant(s);
}

double aNumero(const QVariant &v, TFieldType tipo, const QString &campo, const QString &tabla)
{
    double d = 0;
    bool ok = true;
    if (v.typeId() == QMetaType::QString)
        ok = leerNumero(v.toString(), &d);
    else
        d = v.toDouble(&ok);
    if (!ok || (esEntero(tipo) && std::fabs(d) > 2147483647.0))
        invalido(v, tipo, campo, tabla);
    return d;
}

QVariant aFecha(const QVariant &v, const QString &campo, const QString &tabla)
{
    QDate d;
    if (v.typeId() == QMetaType::QDate)
        d = v.toDate();
    else if (v.typeId() == QMetaType::QDateTime)
        d = v.toDateTime().date();
    else
        d = leerFecha(v.toString());
    if (!d.isValid())
        invalido(v, TFieldType::Date, campo, tabla);
    return QVariant(d);
}

} // namespace

bool leerNumero(const QString &texto, double *valor)
{
    const QString t = texto.trimmed();
    const int n = t.size();
    int i = 0;
    bool negativo = false;
    if (i < n && (t.at(i) == QLatin1Char('-') || t.at(i) == QLatin1Char('+')))
        negativo = t.at(i++) == QLatin1Char('-');
    QString enteros;
    if (!leerEnteros(t, &i, &enteros))
        return false;
    QString decimales;
    if (i < n && t.at(i) == kDecimal) {
        ++i;
        while (i < n && esDigito(t.at(i)))
            decimales += t.at(i++);
    }
    if (i != n || (enteros.isEmpty() && decimales.isEmpty()))
        return false;
    bool ok = false;
    const QString c = (enteros.isEmpty() ? QStringLiteral("0") : enteros)
                      + (decimales.isEmpty() ? QString() : QLatin1Char('.') + decimales);
    const double v = c.toDouble(&ok); // QString::toDouble reads the C format whatever the locale
    if (!ok || !std::isfinite(v))
        return false;
    *valor = negativo ? -v : v;
    return true;
}

QDate leerFecha(const QString &texto)
{
    const QString t = texto.trimmed();
    for (const char *formato : {"dd/MM/yyyy", "d/M/yyyy", "yyyy-MM-dd"}) {
        const QDate d = QDate::fromString(t, QLatin1String(formato));
        if (d.isValid())
            return d;
    }
    return QDate();
}

QDate fechaDeIso(const unsigned char *t, int n)
{
    // Every stored date is read when a table opens: the usual form is taken apart
    // by hand, anything else goes to the slower reader.
    auto dig = [t](int i) { return t[i] >= '0' && t[i] <= '9'; };
    if (n >= 10 && t[4] == '-' && t[7] == '-' && dig(0) && dig(1) && dig(2) && dig(3) && dig(5) && dig(6) && dig(8)
        && dig(9)) {
        auto v = [t](int i) { return int(t[i] - '0'); };
        return QDate(v(0) * 1000 + v(1) * 100 + v(2) * 10 + v(3), v(5) * 10 + v(6), v(8) * 10 + v(9));
    }
    return QDate::fromString(QString::fromUtf8(reinterpret_cast<const char *>(t), n), Qt::ISODate);
}

QString fechaIso(const QDate &d)
{
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

QString textoFecha(const QDate &d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

QString textoReal(double v)
{
    QString s = QString::number(v, 'f', 10);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    s.replace(QLatin1Char('.'), kDecimal);
    return s;
}

bool esTexto(TFieldType t)
{
    return t == TFieldType::Text || t == TFieldType::Memo;
}

bool esEntero(TFieldType t)
{
    return t == TFieldType::Integer || t == TFieldType::AutoInc;
}

bool esNumero(TFieldType t)
{
    return esEntero(t) || t == TFieldType::Float;
}

QString nombreTipo(TFieldType t)
{
    switch (t) {
    case TFieldType::Text: return QStringLiteral("texto");
    case TFieldType::Integer: return QStringLiteral("entero");
    case TFieldType::Float: return QStringLiteral("numérico");
    case TFieldType::Date: return QStringLiteral("fecha");
    case TFieldType::AutoInc: return QStringLiteral("autoincremental");
    case TFieldType::Memo: return QStringLiteral("memo");
    }
    return QString();
}

QVariant convertir(const QVariant &v, TFieldType tipo, int tamano, const QString &campo, const QString &tabla)
{
    if (v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty()))
        return QVariant();
    switch (tipo) {
    case TFieldType::Text:
    case TFieldType::Memo: return aTexto(v, tipo, tamano, campo, tabla);
    case TFieldType::Integer:
    case TFieldType::AutoInc: return QVariant(int(std::llround(aNumero(v, tipo, campo, tabla))));
    case TFieldType::Float: return QVariant(aNumero(v, tipo, campo, tabla));
    case TFieldType::Date: return aFecha(v, campo, tabla);
    }
    return v;
}

QString comoTexto(const QVariant &v, TFieldType tipo)
{
    if (v.isNull())
        return QString();
    switch (tipo) {
    case TFieldType::Date: return textoFecha(v.toDate());
    case TFieldType::Float: return textoReal(v.toDouble());
    case TFieldType::Integer:
    case TFieldType::AutoInc: return QString::number(v.toLongLong());
    default: break;
    }
    // Calculated text fields may be given any value.
    if (v.typeId() == QMetaType::Double)
        return textoReal(v.toDouble());
    if (v.typeId() == QMetaType::QDate)
        return textoFecha(v.toDate());
    return v.toString();
}

qint32 comoEntero(const QVariant &v)
{
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        double d = 0;
        return leerNumero(v.toString(), &d) ? qint32(std::llround(d)) : 0;
    }
    return qint32(std::llround(v.toDouble()));
}

double comoReal(const QVariant &v)
{
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        double d = 0;
        return leerNumero(v.toString(), &d) ? d : 0;
    }
    return v.toDouble();
}

QDate comoFecha(const QVariant &v)
{
    if (v.isNull())
        return QDate();
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    return leerFecha(v.toString());
}

QString claveBusqueda(const QVariant &v)
{
    if (v.isNull())
        return QString();
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong: return QString::number(v.toLongLong());
    case QMetaType::Double: {
        const double d = v.toDouble();
        return d == std::floor(d) && std::fabs(d) < 1e15 ? QString::number(qint64(d)) : QString::number(d, 'g', 17);
    }
    case QMetaType::QDate: return v.toDate().toString(Qt::ISODate);
    default: return QLatin1Char('s') + v.toString();
    }
}

} // namespace store
