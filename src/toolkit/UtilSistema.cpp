#include "UtilSistema.h"

#include <QCoreApplication>
#include <QDir>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace {
const QString Minusculas_Es = QStringLiteral("áéíóúñ");
const QString Mayusculas_Es = QStringLiteral("ÁÉÍÓÚÑ");

QChar aMayuscula(QChar c)
{
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
        return QChar(c.unicode() - 'a' + 'A');
    const int i = Minusculas_Es.indexOf(c);
    return i >= 0 ? Mayusculas_Es.at(i) : c;
}

QChar aMinuscula(QChar c)
{
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        return QChar(c.unicode() - 'A' + 'a');
    const int i = Mayusculas_Es.indexOf(c);
    return i >= 0 ? Minusculas_Es.at(i) : c;
}
}

QString Nombre_Ordenador()
{
    return QSysInfo::machineHostName().left(Longitud_Nombre_Ordenador);
}

QString Nombre_Usuario()
{
    QString nombre;
    if (const passwd *pw = getpwuid(geteuid()))
        nombre = QString::fromLocal8Bit(pw->pw_name);
    if (nombre.isEmpty())
        nombre = qEnvironmentVariable("USER", qEnvironmentVariable("LOGNAME"));
    return nombre.left(Longitud_Nombre_Usuario);
}

QString Carpeta_Programa()
{
    QString carpeta = QDir::cleanPath(QCoreApplication::applicationDirPath());
    if (carpeta.size() > 1 && carpeta.endsWith(QLatin1Char('/')))
        carpeta.chop(1);
    return carpeta;
}

QString Mayusculas(const QString &texto)
{
    QString r = texto;
    for (QChar &c : r)
        c = aMayuscula(c);
    return r;
}

QString Minusculas(const QString &texto)
{
    QString r = texto;
    for (QChar &c : r)
        c = aMinuscula(c);
    return r;
}

QString Capitalizar(const QString &texto)
{
    if (texto.isEmpty())
        return texto;
    QString r = texto;
    r[0] = aMayuscula(r.at(0));
    return r;
}

int Contar_Caracter(const QString &Texto, QChar Caracter)
{
    return int(Texto.count(Caracter, Qt::CaseSensitive));
}
