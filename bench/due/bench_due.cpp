// Times the due computation for 1,000 vehicles of the large fleet (40 maintenance
// operations each) against one hand-written indexed SQLite query per vehicle
// that reads the same rows. Prints both medians and their ratio.
//
//   bench_due [repeticiones]
#include "DataModulo.h"
#include "FlotaGrande.h"
#include "Table.h"
#include "Tareas.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kVehiculos = 1000;

using tResultado = std::array<qint32, Num_Tareas>;

struct tVehiculo
{
    QString matricula;
    qint32 marca = 0;
};

void Exigir(int rc, sqlite3 *db, const char *que)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", que, sqlite3_errmsg(db));
        std::exit(1);
    }
}

void Ejecutar(sqlite3 *db, const QString &sql)
{
    Exigir(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), db, qPrintable(sql));
}


// One pass of the module over the first vehicles; only the computation is timed.
double Pasada_Modulo(TModuloDatos &m, std::vector<tResultado> &resultados)
{
    resultados.clear();
    qint64 ns = 0;
    QElapsedTimer reloj;
    int n = 0;
    for (m.TableMatriculas->first(); !m.TableMatriculas->eof() && n < kVehiculos; m.TableMatriculas->next(), ++n) {
        reloj.start();
        m.Calcular_Proximo_Mantenimiento();
        ns += reloj.nsecsElapsed();
        resultados.push_back(m.Km_Proximo);
    }
    return ns / 1e6;
}

// The same rows read straight from SQLite: per vehicle, one prepared query on the
// plate index for its operations in storing order and one on the brand index for
// its intervals. Connection and statements live across passes, as the module's
// connections do.
class tConsulta
{
public:
    explicit tConsulta(const QString &carpeta)
    {
        sqlite3_open_v2((carpeta + "/Mantenimiento.DAT").toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE,
                        nullptr);
        Ejecutar(m_db, QString("ATTACH '%1' AS k").arg(carpeta + "/KmCambios.DAT"));
        QStringList tareas;
        for (const tTarea &t : Tareas())
            tareas << t.Campo;
        const QByteArray operaciones = QString("SELECT KILOMETROS,%1 FROM Mantenimiento WHERE MATRICULA = ?1 "
                                               "ORDER BY rowid")
                                           .arg(tareas.join(','))
                                           .toUtf8();
        const QByteArray intervalos =
            QString("SELECT %1 FROM k.KmCambios WHERE MARCA = ?1 LIMIT 1").arg(tareas.join(',')).toUtf8();
        Exigir(sqlite3_prepare_v2(m_db, operaciones.constData(), -1, &m_operaciones, nullptr), m_db, "preparar");
        Exigir(sqlite3_prepare_v2(m_db, intervalos.constData(), -1, &m_intervalos, nullptr), m_db, "preparar");
    }
    ~tConsulta()
    {
        sqlite3_finalize(m_operaciones);
        sqlite3_finalize(m_intervalos);
        sqlite3_close(m_db);
    }

    double Pasada(const std::vector<tVehiculo> &flota, std::vector<tResultado> &resultados)
    {
        resultados.clear();
        qint64 ns = 0;
        QElapsedTimer reloj;
        for (const tVehiculo &veh : flota) {
            reloj.start();
            tResultado r{};
            std::array<qint32, Num_Tareas> intervalo{};
            sqlite3_bind_int(m_intervalos, 1, veh.marca);
            if (sqlite3_step(m_intervalos) == SQLITE_ROW)
                for (int t = 0; t < Num_Tareas; ++t)
                    intervalo[std::size_t(t)] = sqlite3_column_int(m_intervalos, t);
            sqlite3_reset(m_intervalos);
            const QByteArray mat = veh.matricula.toUtf8();
            sqlite3_bind_text(m_operaciones, 1, mat.constData(), int(mat.size()), SQLITE_TRANSIENT);
            while (sqlite3_step(m_operaciones) == SQLITE_ROW) {
                const qint64 km = sqlite3_column_int(m_operaciones, 0);
                for (int t = 0; t < Num_Tareas; ++t) {
                    const unsigned char *f = sqlite3_column_text(m_operaciones, 1 + t);
                    if (f && f[0] == 'X' && f[1] == 0)
                        r[std::size_t(t)] = qint32(km + intervalo[std::size_t(t)]);
                }
            }
            sqlite3_reset(m_operaciones);
            ns += reloj.nsecsElapsed();
            resultados.push_back(r);
        }
        return ns / 1e6;
    }

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_operaciones = nullptr;
    sqlite3_stmt *m_intervalos = nullptr;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int repeticiones = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    QTemporaryDir dir;
    const QString carpeta = dir.path();
    const FlotaGrande::Tamano tamano;
    FlotaGrande::generarConAviso(carpeta, tamano);

    TModuloDatos::Establecer_Manejador_Error(FlotaGrande::salirConError);
    TModuloDatos modulo(carpeta);
    // The vehicles in the order the module walks them, for the baseline.
    std::vector<tVehiculo> orden;
    for (modulo.TableMatriculas->first(); !modulo.TableMatriculas->eof() && int(orden.size()) < kVehiculos;
         modulo.TableMatriculas->next())
        orden.push_back({modulo.TableMatriculas->fieldByName("MATRICULA")->asString(),
                         modulo.TableMatriculas->fieldByName("MARCA")->asInteger()});

    tConsulta consulta(carpeta);
    std::vector<double> tModulo, tSqlite;
    std::vector<tResultado> rModulo, rSqlite;
    for (int i = 0; i < repeticiones; ++i) {
        tModulo.push_back(Pasada_Modulo(modulo, rModulo));
        tSqlite.push_back(consulta.Pasada(orden, rSqlite));
    }
    const bool iguales = rModulo == rSqlite && int(rModulo.size()) == kVehiculos;
    const double mm = FlotaGrande::mediana(tModulo), ms = FlotaGrande::mediana(tSqlite);
    std::printf("Calcular_Proximo_Mantenimiento, %d vehículos: mediana %.1f ms (%d repeticiones)\n", kVehiculos, mm,
                repeticiones);
    std::printf("Consulta SQLite indexada por vehículo:      mediana %.1f ms\n", ms);
    std::printf("Proporción: %.2f× (objetivo ≤ 3×)   resultados iguales: %s\n", mm / ms, iguales ? "sí" : "NO");
    return iguales ? 0 : 1;
}
