// Times the due computation for 1,000 vehicles of a large fleet (40 maintenance
// operations each) against one hand-written indexed SQLite query per vehicle
// that reads the same rows. Prints both medians and their ratio.
//
//   bench_due [repeticiones]
#include "DataModulo.h"
#include "Esquema.h"
#include "Table.h"
#include "Tareas.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kVehiculos = 1000;
constexpr int kOperaciones = 40;
constexpr int kMarcas = 25;

using tResultado = std::array<qint32, Num_Tareas>;

struct tVehiculo
{
    QString matricula;
    qint32 marca = 0;
    qint32 km = 0;
};

void Exigir(int rc, sqlite3 *db, const char *que)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", que, sqlite3_errmsg(db));
        std::exit(1);
    }
}

sqlite3 *Abrir(const QString &ruta)
{
    sqlite3 *db = nullptr;
    Exigir(sqlite3_open(ruta.toUtf8().constData(), &db), db, "abrir");
    return db;
}

void Ejecutar(sqlite3 *db, const QString &sql)
{
    Exigir(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), db, qPrintable(sql));
}

// The fleet written straight into the table files, in one transaction per file:
// brands with their intervals, vehicles, and the operations entered over time,
// the vehicles taking turns as a workshop's would.
std::vector<tVehiculo> Generar_Flota(const QString &carpeta)
{
    Crear_Tablas(carpeta);
    QRandomGenerator azar(20011);
    std::vector<tVehiculo> flota;

    sqlite3 *db = Abrir(carpeta + "/KmCambios.DAT");
    Ejecutar(db, "BEGIN");
    for (int m = 1; m <= kMarcas; ++m) {
        if (m % 10 == 0)
            continue; // some brands have no intervals
        QStringList campos{"MARCA"}, valores{QString::number(m)};
        for (const tTarea &t : Tareas()) {
            campos << t.Campo;
            valores << QString::number(5000 * (1 + azar.bounded(12)));
        }
        Ejecutar(db, QString("INSERT INTO KmCambios (%1) VALUES (%2)").arg(campos.join(','), valores.join(',')));
    }
    Ejecutar(db, "COMMIT");
    sqlite3_close(db);

    db = Abrir(carpeta + "/Matriculas.DAT");
    Ejecutar(db, "BEGIN");
    for (int v = 0; v < kVehiculos; ++v) {
        tVehiculo veh{QString("%1BCD").arg(v, 4, 10, QLatin1Char('0')), 1 + azar.bounded(kMarcas),
                      20000 + azar.bounded(400000)};
        flota.push_back(veh);
        Ejecutar(db, QString("INSERT INTO Matriculas (MATRICULA, MARCA, MODELO, KILOMETROS) VALUES ('%1', %2, 0, %3)")
                         .arg(veh.matricula)
                         .arg(veh.marca)
                         .arg(veh.km));
    }
    Ejecutar(db, "COMMIT");
    sqlite3_close(db);

    db = Abrir(carpeta + "/Mantenimiento.DAT");
    Ejecutar(db, "BEGIN");
    QStringList campos{"FECHA", "MATRICULA", "KILOMETROS"};
    for (const tTarea &t : Tareas())
        campos << t.Campo;
    for (int o = 0; o < kOperaciones; ++o) {
        for (const tVehiculo &veh : flota) {
            QStringList valores{QString("'%1'").arg(QDate(2000, 1, 1).addDays(o * 30).toString(Qt::ISODate)),
                                QString("'%1'").arg(veh.matricula), QString::number(o * 9000 + azar.bounded(9000))};
            for (int t = 0; t < Num_Tareas; ++t)
                valores << (azar.bounded(10) < 3 ? QString("'X'") : QString("NULL"));
            Ejecutar(db, QString("INSERT INTO Mantenimiento (%1) VALUES (%2)").arg(campos.join(','), valores.join(',')));
        }
    }
    Ejecutar(db, "COMMIT");
    sqlite3_close(db);
    return flota;
}

double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One pass of the module over every vehicle; only the computation is timed.
double Pasada_Modulo(TModuloDatos &m, std::vector<tResultado> &resultados)
{
    resultados.clear();
    qint64 ns = 0;
    QElapsedTimer reloj;
    for (m.TableMatriculas->first(); !m.TableMatriculas->eof(); m.TableMatriculas->next()) {
        reloj.start();
        m.Calcular_Proximo_Mantenimiento();
        ns += reloj.nsecsElapsed();
        resultados.push_back(m.Km_Proximo);
    }
    return ns / 1e6;
}

// The same rows read by one prepared query per vehicle on the plate index,
// with the brand's intervals joined in.
double Pasada_Sqlite(const QString &carpeta, const std::vector<tVehiculo> &flota, std::vector<tResultado> &resultados)
{
    resultados.clear();
    sqlite3 *db = nullptr;
    sqlite3_open_v2((carpeta + "/Mantenimiento.DAT").toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    Ejecutar(db, QString("ATTACH '%1' AS k").arg(carpeta + "/KmCambios.DAT"));
    QStringList cols{"m.KILOMETROS"};
    for (const tTarea &t : Tareas())
        cols << "m." + t.Campo;
    for (const tTarea &t : Tareas())
        cols << "i." + t.Campo;
    const QByteArray sql = QString("SELECT %1 FROM Mantenimiento m INDEXED BY Orden_Matri "
                                   "LEFT JOIN (SELECT * FROM k.KmCambios WHERE MARCA = ?2 LIMIT 1) i "
                                   "WHERE m.MATRICULA = ?1 ORDER BY m.rowid")
                               .arg(cols.join(','))
                               .toUtf8();
    sqlite3_stmt *st = nullptr;
    Exigir(sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr), db, "preparar");

    qint64 ns = 0;
    QElapsedTimer reloj;
    for (const tVehiculo &veh : flota) {
        reloj.start();
        tResultado r{};
        const QByteArray mat = veh.matricula.toUtf8();
        sqlite3_bind_text(st, 1, mat.constData(), mat.size(), SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 2, veh.marca);
        while (sqlite3_step(st) == SQLITE_ROW) {
            const qint64 km = sqlite3_column_int(st, 0);
            for (int t = 0; t < Num_Tareas; ++t) {
                const unsigned char *f = sqlite3_column_text(st, 1 + t);
                if (f && f[0] == 'X' && f[1] == 0)
                    r[std::size_t(t)] = qint32(km + sqlite3_column_int(st, 1 + Num_Tareas + t));
            }
        }
        sqlite3_reset(st);
        ns += reloj.nsecsElapsed();
        resultados.push_back(r);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return ns / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int repeticiones = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    QTemporaryDir dir;
    const QString carpeta = dir.path();
    QElapsedTimer reloj;
    reloj.start();
    const std::vector<tVehiculo> flota = Generar_Flota(carpeta);
    std::printf("Flota: %d vehículos, %d operaciones cada uno (%lld ms)\n", kVehiculos, kOperaciones,
                reloj.elapsed());

    TModuloDatos::Establecer_Manejador_Error([](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const ECodedError &err) {
            std::fprintf(stderr, "%s\n", err.what());
        }
        std::exit(1);
    });
    TModuloDatos modulo(carpeta);
    // The vehicles in the order the module walks them, for the baseline.
    std::vector<tVehiculo> orden;
    for (modulo.TableMatriculas->first(); !modulo.TableMatriculas->eof(); modulo.TableMatriculas->next())
        orden.push_back({modulo.TableMatriculas->fieldByName("MATRICULA")->asString(),
                         modulo.TableMatriculas->fieldByName("MARCA")->asInteger(), 0});

    std::vector<double> tModulo, tSqlite;
    std::vector<tResultado> rModulo, rSqlite;
    for (int i = 0; i < repeticiones; ++i) {
        tModulo.push_back(Pasada_Modulo(modulo, rModulo));
        tSqlite.push_back(Pasada_Sqlite(carpeta, orden, rSqlite));
    }
    const bool iguales = rModulo == rSqlite && int(rModulo.size()) == kVehiculos;
    const double mm = Mediana(tModulo), ms = Mediana(tSqlite);
    std::printf("Calcular_Proximo_Mantenimiento, %d vehículos: mediana %.1f ms (%d repeticiones)\n", kVehiculos, mm,
                repeticiones);
    std::printf("Consulta SQLite indexada por vehículo:      mediana %.1f ms\n", ms);
    std::printf("Proporción: %.2f× (objetivo ≤ 3×)   resultados iguales: %s\n", mm / ms, iguales ? "sí" : "NO");
    return iguales ? 0 : 1;
}
