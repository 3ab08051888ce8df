// Number and date formats of the program, built from the decimal digits of the
// value so that neither the C library's locale nor QLocale has a say in them.
#include "Formatos.h"

#include "Table.h"
#include "Valores.h"

#include <QVariant>

#include <charconv>
#include <cmath>
#include <limits>

namespace {

const QChar kMiles = QLatin1Char('.');
const QChar kDecimal = QLatin1Char(',');

// Decimal digits of round(|valor| * 10^decimales), without leading zeros ("0"
// for zero). The value is first taken to 15 significant digits, as a double
// holds no more, so 1.005 rounds to 1,01 as it reads and not as it is stored.
QString Digitos_Escalados(double valor, int decimales)
{
    valor = std::fabs(valor);
    if (valor == 0.0)
        return QStringLiteral("0");
    if (valor < 1e15 && valor == std::trunc(valor)) {
        // Whole numbers (every reading and interval): their own digits, scaled;
        // fifteen digits are exact in both ways.
        char entero[32];
        auto fin = std::to_chars(entero, entero + sizeof entero, static_cast<long long>(valor)).ptr;
        return QString::fromLatin1(entero, int(fin - entero)) + QString(decimales, QLatin1Char('0'));
    }
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, valor, std::chars_format::scientific, 14);
    const std::string texto(buf, res.ptr);
    // "d.dddddddddddddde±xx": keep the digits, read the exponent.
    std::string digitos;
    std::size_t e = texto.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (texto[i] >= '0' && texto[i] <= '9')
            digitos += texto[i];
    const int exponente = std::stoi(texto.substr(e + 1));
    // The value is 0.digitos * 10^(exponente + 1); scaled, that many digits stay whole.
    const long long enteros = static_cast<long long>(exponente) + 1 + decimales;
    const long long n = static_cast<long long>(digitos.size());
    std::string s;
    if (enteros <= 0) {
        s = (enteros == 0 && digitos[0] >= '5') ? "1" : "0";
    } else if (enteros >= n) {
        s = digitos + std::string(static_cast<std::size_t>(enteros - n), '0');
    } else {
        s = digitos.substr(0, static_cast<std::size_t>(enteros));
        if (digitos[static_cast<std::size_t>(enteros)] >= '5') {
            int i = static_cast<int>(s.size()) - 1;
            while (i >= 0 && s[static_cast<std::size_t>(i)] == '9')
                s[static_cast<std::size_t>(i--)] = '0';
            if (i < 0)
                s.insert(s.begin(), '1');
            else
                ++s[static_cast<std::size_t>(i)];
        }
    }
    std::size_t primero = s.find_first_not_of('0');
    if (primero == std::string::npos)
        return QStringLiteral("0");
    return QString::fromLatin1(s.c_str() + primero);
}

QString Agrupar(const QString &enteros)
{
    QString r;
    const int n = enteros.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            r += kMiles;
        r += enteros.at(i);
    }
    return r;
}

// Splits the scaled digits into whole and decimal parts (`decimales` digits).
void Partir(const QString &s, int decimales, QString *enteros, QString *fraccion)
{
    QString d = s;
    if (d.size() < decimales + 1)
        d = QString(decimales + 1 - d.size(), QLatin1Char('0')) + d;
    *enteros = d.left(d.size() - decimales);
    *fraccion = d.right(decimales);
    while (enteros->size() > 1 && enteros->at(0) == QLatin1Char('0'))
        enteros->remove(0, 1);
}

QString Especial(double valor)
{
    if (std::isnan(valor))
        return QStringLiteral("NAN");
    return valor < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// Plain form of a number without a mask: up to 15 significant digits, "," before
// decimals, no grouping.
QString General(double valor)
{
    if (!std::isfinite(valor))
        return Especial(valor);
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, valor, std::chars_format::general, 15);
    QString t = QString::fromLatin1(buf, static_cast<int>(res.ptr - buf));
    t.replace(QLatin1Char('.'), kDecimal);
    return t;
}

bool Es_Marcador(QChar c)
{
    return c == QLatin1Char('#') || c == QLatin1Char('0') || c == QLatin1Char('.') || c == QLatin1Char(',');
}

} // namespace

namespace Formatos {

QString Formatear_Mascara(double valor, const QString &mascara)
{
    if (mascara.isEmpty())
        return General(valor);
    if (!std::isfinite(valor))
        return Especial(valor);

    int inicio = 0;
    while (inicio < mascara.size() && !Es_Marcador(mascara.at(inicio)))
        ++inicio;
    int fin = mascara.size();
    while (fin > inicio && !Es_Marcador(mascara.at(fin - 1)))
        --fin;
    const QString prefijo = mascara.left(inicio);
    const QString sufijo = mascara.mid(fin);

    int marcasEnteras = 0, primerCeroEntero = -1;
    int marcasDecimales = 0, ultimoCeroDecimal = -1;
    bool hayDecimal = false, agrupar = false;
    for (int i = inicio; i < fin; ++i) {
        const QChar c = mascara.at(i);
        if (c == QLatin1Char(','))
            agrupar = true;
        else if (c == QLatin1Char('.'))
            hayDecimal = true;
        else if (c == QLatin1Char('#') || c == QLatin1Char('0')) {
            if (hayDecimal) {
                if (c == QLatin1Char('0'))
                    ultimoCeroDecimal = marcasDecimales;
                ++marcasDecimales;
            } else {
                if (c == QLatin1Char('0') && primerCeroEntero < 0)
                    primerCeroEntero = marcasEnteras;
                ++marcasEnteras;
            }
        }
    }
    const int minEnteros = primerCeroEntero < 0 ? 0 : marcasEnteras - primerCeroEntero;
    const int minDecimales = ultimoCeroDecimal + 1;

    const QString s = Digitos_Escalados(valor, marcasDecimales);
    const bool cero = s == QLatin1String("0");
    QString enteros, fraccion;
    Partir(s, marcasDecimales, &enteros, &fraccion);
    if (enteros == QLatin1String("0"))
        enteros.clear();
    if (enteros.size() < minEnteros)
        enteros = QString(minEnteros - enteros.size(), QLatin1Char('0')) + enteros;
    while (fraccion.size() > minDecimales && fraccion.endsWith(QLatin1Char('0')))
        fraccion.chop(1);

    QString r;
    if (valor < 0 && !cero)
        r += QLatin1Char('-');
    r += prefijo;
    r += agrupar ? Agrupar(enteros) : enteros;
    if (!fraccion.isEmpty())
        r += kDecimal + fraccion;
    r += sufijo;
    return r;
}

QString Formatear_N(double valor, int decimales)
{
    if (!std::isfinite(valor))
        return Especial(valor);
    decimales = qBound(0, decimales, 18);
    const QString s = Digitos_Escalados(valor, decimales);
    QString enteros, fraccion;
    Partir(s, decimales, &enteros, &fraccion);
    QString r;
    if (valor < 0 && s != QLatin1String("0"))
        r += QLatin1Char('-');
    r += Agrupar(enteros);
    if (decimales > 0)
        r += kDecimal + fraccion;
    return r;
}

QString Formatear_Fecha(const QDate &fecha)
{
    if (!fecha.isValid())
        return QString();
    int a = 0, m = 0, d = 0;
    fecha.getDate(&a, &m, &d);
    if (a < 1 || a > 9999)
        return fecha.toString(QStringLiteral("dd/MM/yyyy"));
    // Grids show thousands of dates; the digits are placed directly instead of
    // going through the locale's formatter.
    const char16_t t[10] = {char16_t(u'0' + d / 10), char16_t(u'0' + d % 10), u'/',
                            char16_t(u'0' + m / 10), char16_t(u'0' + m % 10), u'/',
                            char16_t(u'0' + a / 1000), char16_t(u'0' + a / 100 % 10),
                            char16_t(u'0' + a / 10 % 10), char16_t(u'0' + a % 10)};
    return QString(reinterpret_cast<const QChar *>(t), 10);
}

QDate Leer_Fecha(const QString &texto)
{
    const QStringList partes = texto.trimmed().split(QLatin1Char('/'));
    if (partes.size() != 3)
        return QDate();
    auto numero = [](const QString &p, int minimo, int maximo, int *v) {
        if (p.size() < minimo || p.size() > maximo)
            return false;
        for (QChar c : p)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        *v = p.toInt();
        return true;
    };
    int d = 0, m = 0, a = 0;
    if (!numero(partes[0], 1, 2, &d) || !numero(partes[1], 1, 2, &m) || !numero(partes[2], 4, 4, &a))
        return QDate();
    return QDate(a, m, d); // invalid (null) when the day does not exist
}

bool Leer_Numero(const QString &texto, double *valor)
{
    // One reader for the whole program: what a field accepts is what the formats read.
    return store::leerNumero(texto, valor);
}

bool Leer_Entero(const QString &texto, qint32 *valor)
{
    double v = 0;
    if (!Leer_Numero(texto, &v))
        return false;
    if (v != std::trunc(v) || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        return false;
    *valor = static_cast<qint32>(v);
    return true;
}

namespace {
QString Texto_Con_Mascara(const TField *campo, const QVariant &valor, const QString &mascara)
{
    if (!campo || valor.isNull() || !valor.isValid())
        return QString();
    // The value's own type decides: a declared field knows its type only once its
    // table has been opened.
    switch (valor.typeId()) {
    case QMetaType::QDate:
        return Formatear_Fecha(valor.toDate());
    case QMetaType::QDateTime:
        return Formatear_Fecha(valor.toDateTime().date());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        if (!mascara.isEmpty())
            return Formatear_Mascara(valor.toDouble(), mascara);
        return QString::number(valor.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return Formatear_Mascara(valor.toDouble(), mascara);
    default:
        break;
    }
    if (campo->dataType() == TFieldType::Date)
        return Formatear_Fecha(valor.toDate());
    return valor.toString();
}
} // namespace

QString Texto_Valor(const TField *campo, const QVariant &valor)
{
    return Texto_Con_Mascara(campo, valor, campo ? campo->displayFormat() : QString());
}

QString Texto_Edicion(const TField *campo, const QVariant &valor)
{
    if (!campo)
        return QString();
    // Without an edit format a number is edited as it is shown.
    const QString mascara = campo->editFormat().isEmpty() ? campo->displayFormat() : campo->editFormat();
    return Texto_Con_Mascara(campo, valor, mascara);
}

} // namespace Formatos
