// Times a backup and a restore of the large fleet's data folder against `cp` of
// the same files, measured side by side in the same run, turn about. The backup
// and the restore sync every copy and read it back from the device, which `cp`
// does not; so they are also set against `cp` followed by `sync` of the copies,
// which puts the same bytes on the disk. Prints medians and ratios.
//
//   bench_copia [repeticiones]
#include "CopiaDatos.h"
#include "FlotaGrande.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

// Each run writes over what the previous one left, as backups to the same stick
// and restores over the live tables do; what it left to write is not charged to
// the next.
void Preparar(const QString &carpeta)
{
    QDir().mkpath(carpeta);
    ::sync();
}

void Ejecutar(const QString &programa, const QStringList &argumentos)
{
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s falló: %s\n", qPrintable(programa), p.readAllStandardError().constData());
        std::exit(1);
    }
}

// `cp` of the files of `origen` into `destino`, and optionally `sync` of the copies.
double Con_cp(const QString &origen, const QList<tFichero> &ficheros, const QString &destino, bool sincronizar)
{
    QStringList de{"--"}, copias{"--"};
    for (const tFichero &f : ficheros) {
        de << Ruta_En(origen, f.Nombre);
        copias << Ruta_En(destino, f.Nombre);
    }
    de << destino + "/";
    QElapsedTimer t;
    t.start();
    Ejecutar("cp", de);
    if (sincronizar)
        Ejecutar("sync", copias);
    return t.nsecsElapsed() / 1e6;
}

double Medir(const std::function<void()> &f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

void Linea(const char *que, double ms, double cp, double cp_sync)
{
    std::printf("  %-28s %9.1f ms   %5.2f x cp   %5.2f x cp+sync\n", que, ms, ms / cp, ms / cp_sync);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int repeticiones = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    QTemporaryDir dir;
    const QString datos = dir.path() + "/Datos";
    FlotaGrande::generarConAviso(datos);
    const QList<tFichero> ficheros = Ficheros_Copia(datos);
    std::printf("Carpeta de datos: %d ficheros, %.1f MB\n", int(ficheros.size()), Tamano_Total(ficheros) / 1e6);

    const QString copia = dir.path() + "/Copia", cp = dir.path() + "/cp", restaurado = dir.path() + "/Restaurado";
    std::vector<double> t_cp, t_cp_sync, t_guardar, t_cp_r, t_cp_sync_r, t_restaurar;
    try {
        for (int i = 0; i < repeticiones; ++i) {
            Preparar(cp);
            t_cp.push_back(Con_cp(datos, ficheros, cp, false));
            Preparar(cp);
            t_cp_sync.push_back(Con_cp(datos, ficheros, cp, true));
            Preparar(copia);
            t_guardar.push_back(Medir([&] { Guardar_Copia(datos, copia, QDate::currentDate()); }));
        }
        // The restore replaces a data folder like the one backed up; cp writes over
        // the same files in a folder of its own.
        const QList<tFichero> de_la_copia = Ficheros_Carpeta(copia);
        Preparar(restaurado);
        Con_cp(datos, ficheros, restaurado, true);
        Con_cp(datos, ficheros, cp, true);
        for (int i = 0; i < repeticiones; ++i) {
            Preparar(cp);
            t_cp_r.push_back(Con_cp(copia, de_la_copia, cp, false));
            Preparar(cp);
            t_cp_sync_r.push_back(Con_cp(copia, de_la_copia, cp, true));
            ::sync();
            t_restaurar.push_back(Medir([&] { Restaurar_Copia(copia, restaurado); }));
        }
    } catch (const EFalloCopia &e) {
        std::fprintf(stderr, "%s\n", qPrintable(QString(e.message()).replace('\r', '\n')));
        return 1;
    }

    using FlotaGrande::mediana;
    std::printf("Medianas de %d pasadas:\n", repeticiones);
    std::printf("  %-28s %9.1f ms\n", "cp", mediana(t_cp));
    std::printf("  %-28s %9.1f ms\n", "cp + sync", mediana(t_cp_sync));
    Linea("copia de seguridad", mediana(t_guardar), mediana(t_cp), mediana(t_cp_sync));
    std::printf("  %-28s %9.1f ms\n", "cp (restauración)", mediana(t_cp_r));
    std::printf("  %-28s %9.1f ms\n", "cp + sync (restauración)", mediana(t_cp_sync_r));
    Linea("restauración", mediana(t_restaurar), mediana(t_cp_r), mediana(t_cp_sync_r));
    return 0;
}
