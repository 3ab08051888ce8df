// The program's locations: data folder, error log and help file.
#include "Ubicaciones.h"

#include "Esquema.h"
#include "StoreErrors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#ifndef QUELVARO_AYUDA_RELATIVA
#define QUELVARO_AYUDA_RELATIVA "../share/quelvaro"
#endif

namespace {

const QString Nombre_Ayuda = QStringLiteral("Quelvaro.Hlp");

QString Unir(const QString &Carpeta, const QString &Nombre)
{
    return QDir::cleanPath(Carpeta + QLatin1Char('/') + Nombre);
}

// The base of the user's data: $XDG_DATA_HOME when it is an absolute path, else
// ~/.local/share; empty without a home folder.
QString Base_Datos_Usuario(const tEntornoPrograma &Entorno)
{
    if (!Entorno.Xdg_Data_Home.isEmpty() && QDir::isAbsolutePath(Entorno.Xdg_Data_Home))
        return QDir::cleanPath(Entorno.Xdg_Data_Home);
    if (Entorno.Carpeta_Personal.isEmpty())
        return QString();
    return Unir(Entorno.Carpeta_Personal, QStringLiteral(".local/share"));
}

bool Es_De_Mis_Grupos(gid_t Grupo)
{
    if (Grupo == getegid())
        return true;
    const int Cuantos = getgroups(0, nullptr);
    if (Cuantos <= 0)
        return false;
    std::vector<gid_t> Grupos(static_cast<size_t>(Cuantos));
    const int Leidos = getgroups(Cuantos, Grupos.data());
    for (int i = 0; i < Leidos; ++i)
        if (Grupos[static_cast<size_t>(i)] == Grupo)
            return true;
    return false;
}

} // namespace

tUbicaciones Decidir_Ubicaciones(const tEntornoPrograma &Entorno)
{
    tUbicaciones U;
    const QString Programa = QDir::cleanPath(Entorno.Carpeta_Programa);
    const QString Base = Base_Datos_Usuario(Entorno);
    const bool Propia = Entorno.Escribible && !Entorno.Instalado; // a folder the program may fill
    const QString Del_Usuario = Base.isEmpty() ? QString() : Unir(Base, QStringLiteral("Quelvaro"));

    if (Entorno.Datos_Junto || Propia || Del_Usuario.isEmpty()) {
        U.Carpeta_Datos = Unir(Programa, QStringLiteral("Datos"));
    } else {
        U.Carpeta_Datos = Unir(Del_Usuario, QStringLiteral("Datos"));
        U.Datos_Del_Usuario = true;
    }
    U.Carpeta_Log = (Propia || Del_Usuario.isEmpty()) ? Programa : Del_Usuario;
    U.Fichero_Ayuda = Entorno.Instalado ? Ayuda_Instalada(Programa) : Unir(Programa, Nombre_Ayuda);
    U.Carpeta_Documentos =
        (Propia || Entorno.Carpeta_Personal.isEmpty()) ? Programa : QDir::cleanPath(Entorno.Carpeta_Personal);
    return U;
}

bool Carpeta_Escribible(const QString &Carpeta)
{
    struct stat Info;
    if (Carpeta.isEmpty() || ::stat(QFile::encodeName(Carpeta).constData(), &Info) != 0 || !S_ISDIR(Info.st_mode))
        return false;
    mode_t Bit = S_IWOTH;
    if (Info.st_uid == geteuid())
        Bit = S_IWUSR;
    else if (Es_De_Mis_Grupos(Info.st_gid))
        Bit = S_IWGRP;
    if (!(Info.st_mode & Bit))
        return false;
    // The bits do not tell a read-only mount or an ACL: try it. The file goes when it closes.
    QTemporaryFile Prueba(Unir(Carpeta, QStringLiteral(".quelvaro-escritura-XXXXXX")));
    return Prueba.open();
}

QString Ayuda_Instalada(const QString &Carpeta_Programa)
{
    return Unir(Unir(Carpeta_Programa, QStringLiteral(QUELVARO_AYUDA_RELATIVA)), Nombre_Ayuda);
}

tEntornoPrograma Entorno_Programa()
{
    tEntornoPrograma E;
    E.Carpeta_Programa = QDir::cleanPath(QCoreApplication::applicationDirPath());
    E.Instalado = QFileInfo(Ayuda_Instalada(E.Carpeta_Programa)).isFile();
    E.Datos_Junto = QFileInfo(Unir(E.Carpeta_Programa, QStringLiteral("Datos"))).isDir();
    // An installed program's folder is never filled, so it is not tried either.
    E.Escribible = !E.Instalado && Carpeta_Escribible(E.Carpeta_Programa);
    E.Xdg_Data_Home = qEnvironmentVariable("XDG_DATA_HOME");
    E.Carpeta_Personal = qEnvironmentVariable("HOME");
    if (E.Carpeta_Personal.isEmpty()) {
        if (const passwd *pw = getpwuid(geteuid()))
            E.Carpeta_Personal = QFile::decodeName(pw->pw_dir);
    }
    return E;
}

const tUbicaciones &Ubicaciones()
{
    static const tUbicaciones U = Decidir_Ubicaciones(Entorno_Programa());
    return U;
}

bool Crear_Carpeta_Datos_Nueva(const QString &Carpeta)
{
    const QFileInfo Destino(Carpeta);
    const bool Existe = Destino.exists() || Destino.isSymLink();
    if (Existe
        && (!Destino.isDir() || Destino.isSymLink()
            || !QDir(Carpeta).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)))
        return false;

    const auto Fallo = [&Carpeta](const QString &Motivo) {
        return EDBEngineError(EngineCode::WriteError, QStringLiteral("No se ha podido crear la carpeta de datos %1: %2")
                                                          .arg(QDir::toNativeSeparators(Carpeta), Motivo));
    };
    const QString Padre = Destino.absolutePath();
    if (!QDir().mkpath(Padre))
        throw Fallo(QStringLiteral("no se puede crear la carpeta %1.").arg(QDir::toNativeSeparators(Padre)));
    QTemporaryDir Nueva(Unir(Padre, QStringLiteral(".Datos-nueva-XXXXXX")));
    if (!Nueva.isValid())
        throw Fallo(Nueva.errorString());
    Crear_Tablas(Nueva.path());
    if (Existe && !QDir().rmdir(Carpeta))
        throw Fallo(QStringLiteral("no se puede sustituir la carpeta vacía."));
    if (std::rename(QFile::encodeName(Nueva.path()).constData(), QFile::encodeName(Carpeta).constData()) != 0)
        throw Fallo(QString::fromLocal8Bit(std::strerror(errno)));
    Nueva.setAutoRemove(false);
    return true;
}
