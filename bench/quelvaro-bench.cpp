// Speed of the table store on a large fleet, against hand-written SQLite queries
// that read the same rows from the same files. Prints medians and ratios.
//
// quelvaro-bench [CARPETA]   (a folder already holding a generated fleet, or none)
#include "FlotaGrande.h"
#include "Table.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

// Runs the two sides in turns, so both meet the same machine load; medians in ms.
std::pair<double, double> medirPar(int veces, const std::function<void(int)> &nuestro, const std::function<void(int)> &base)
{
    std::vector<double> a, b;
    QElapsedTimer reloj;
    for (int i = 0; i < veces; ++i) {
        reloj.start();
        nuestro(i);
        a.push_back(reloj.nsecsElapsed() / 1e6);
        reloj.start();
        base(i);
        b.push_back(reloj.nsecsElapsed() / 1e6);
    }
    return {mediana(a), mediana(b)};
}

// --- the baseline: plain SQLite, values copied out as a program would keep them

struct Conexion
{
    sqlite3 *db = nullptr;
    explicit Conexion(const QString &ruta)
    {
        sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(db, 1500);
        sqlite3_exec(db, "PRAGMA synchronous=EXTRA", nullptr, nullptr, nullptr);
    }
    ~Conexion() { sqlite3_close_v2(db); }
};

struct Consulta
{
    sqlite3_stmt *st = nullptr;
    Consulta(sqlite3 *db, const char *sql) { sqlite3_prepare_v2(db, sql, -1, &st, nullptr); }
    ~Consulta() { sqlite3_finalize(st); }
};

// Steps the statement to its end, copying every column; returns the rows read.
size_t leerTodo(sqlite3_stmt *st, std::vector<std::string> &celdas)
{
    size_t filas = 0;
    const int n = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++filas;
        for (int c = 0; c < n; ++c) {
            const char *t = reinterpret_cast<const char *>(sqlite3_column_text(st, c));
            celdas.emplace_back(t ? t : "");
        }
    }
    sqlite3_reset(st);
    return filas;
}

size_t leerConClave(sqlite3_stmt *st, const std::string &clave, std::vector<std::string> &celdas)
{
    sqlite3_bind_text(st, 1, clave.data(), int(clave.size()), SQLITE_STATIC);
    const size_t n = leerTodo(st, celdas);
    sqlite3_clear_bindings(st);
    return n;
}

const char *const kDetalles[] = {
    "SELECT rowid,* FROM Mantenimiento WHERE MATRICULA = ? ORDER BY MATRICULA, FECHA, rowid",
    "SELECT rowid,* FROM Averias WHERE MATRICULA = ? ORDER BY MATRICULA, FECHAINICIO, rowid",
    "SELECT rowid,* FROM Ruedas WHERE MATRICULA = ? ORDER BY MATRICULA, FECHA, rowid",
    "SELECT rowid,* FROM FichaTecnica WHERE MATRICULA = ? ORDER BY MATRICULA, rowid",
};
const char *const kFicherosDetalle[] = {"Mantenimiento.DAT", "Averias.DAT", "Ruedas.DAT", "FichaTecnica.DAT"};

// --- the store, configured as the program's data module configures it

struct Tablas
{
    TDatabase db{QStringLiteral("Maestro")};
    TTable matriculas, marcas, modelos, mantto, averias, ruedas, ficha, kmCambios;

    explicit Tablas(const QString &carpeta)
    {
        db.setDirectory(carpeta);
        const std::pair<TTable *, const char *> todas[] = {
            {&matriculas, "Matriculas.DAT"}, {&marcas, "Marcas.DAT"},     {&modelos, "Modelos.DAT"},
            {&mantto, "Mantenimiento.DAT"},  {&averias, "Averias.DAT"},   {&ruedas, "Ruedas.DAT"},
            {&ficha, "FichaTecnica.DAT"},    {&kmCambios, "KmCambios.DAT"}};
        for (const auto &[t, nombre] : todas) {
            t->setDatabase(&db);
            t->setTableName(QString::fromLatin1(nombre));
        }
        for (const char *c : {"MATRICULA", "MARCA", "MODELO", "MARCA_S", "MODELO_S", "KILOMETROS"})
            matriculas.addField(QString::fromLatin1(c));
        matriculas.addLookupField(QStringLiteral("sMarca"), 20, QStringLiteral("MARCA"), &marcas, QStringLiteral("ORDENMARCA"),
                                  QStringLiteral("MARCA"));
        matriculas.addLookupField(QStringLiteral("sModelo"), 20, QStringLiteral("MODELO"), &modelos,
                                  QStringLiteral("ORDENMODELO"), QStringLiteral("MODELO"));
        for (TTable *t : {&mantto, &averias, &ruedas, &ficha}) {
            t->setIndexName(QStringLiteral("Orden_Matri"));
            t->setMasterSource(&matriculas, QStringLiteral("MATRICULA"));
        }
        kmCambios.setIndexName(QStringLiteral("Orden_Marca"));
        kmCambios.setMasterSource(&marcas, QStringLiteral("ORDENMARCA"));
    }
    void abrir()
    {
        for (TTable *t : {&mantto, &averias, &ficha, &matriculas, &ruedas, &kmCambios, &marcas, &modelos})
            t->open();
    }
    void cerrar()
    {
        for (TTable *t : {&matriculas, &mantto, &ficha, &averias, &ruedas, &kmCambios, &marcas, &modelos})
            t->close();
    }
};

void linea(const char *que, double nuestro, double base, const char *meta)
{
    std::printf("%-52s %9.3f ms %9.3f ms %7.2fx   %s\n", que, nuestro, base, base > 0 ? nuestro / base : 0.0, meta);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temporal;
    QString carpeta = app.arguments().value(1);
    if (carpeta.isEmpty() || !QFileInfo::exists(QDir(carpeta).filePath(QStringLiteral("Matriculas.DAT")))) {
        if (carpeta.isEmpty())
            carpeta = temporal.filePath(QStringLiteral("Datos"));
        QElapsedTimer reloj;
        reloj.start();
        FlotaGrande::generar(carpeta);
        std::printf("Flota generada en %s (%.1f s)\n", qPrintable(carpeta), reloj.elapsed() / 1000.0);
    }
    const FlotaGrande::Tamano tam;
    std::printf("%d vehículos, %d mantenimientos, %d averías, %d cambios de ruedas, %d fichas\n\n", tam.vehiculos,
                tam.mantenimientos, tam.averias, tam.ruedas, tam.fichas);
    std::printf("%-52s %12s %12s %8s\n", "", "almacén", "SQLite", "razón");
    const QDir dir(carpeta);
    TableStore::setStrictChangeDetection(true);

    // 1. Opening the eight table objects (the vehicles, brands and models read
    //    whole, the details read for the first vehicle and brand).
    double abrirNuestro, abrirBase;
    {
        Tablas t(carpeta);
        std::tie(abrirNuestro, abrirBase) = medirPar(31, [&](int) {
            t.abrir();
            t.cerrar();
        }, [&](int) {
            std::vector<std::string> celdas;
            celdas.reserve(60000);
            std::vector<std::unique_ptr<Conexion>> c;
            for (const char *f : {"Mantenimiento.DAT", "Averias.DAT", "FichaTecnica.DAT", "Matriculas.DAT", "Ruedas.DAT",
                                  "KmCambios.DAT", "Marcas.DAT", "Modelos.DAT"})
                c.push_back(std::make_unique<Conexion>(dir.filePath(QString::fromLatin1(f))));
            {
                Consulta v(c[3]->db, "SELECT rowid,MATRICULA,MARCA,MODELO,MARCA_S,MODELO_S,KILOMETROS FROM Matriculas ORDER BY rowid");
                leerTodo(v.st, celdas);
                Consulta m(c[6]->db, "SELECT rowid,* FROM Marcas ORDER BY rowid");
                leerTodo(m.st, celdas);
                Consulta o(c[7]->db, "SELECT rowid,* FROM Modelos ORDER BY rowid");
                leerTodo(o.st, celdas);
                const int orden[] = {0, 1, 4, 2};
                for (int i = 0; i < 4; ++i) {
                    Consulta d(c[size_t(orden[i])]->db, kDetalles[i]);
                    leerConClave(d.st, FlotaGrande::matricula(0).toStdString(), celdas);
                }
                Consulta k(c[5]->db, "SELECT rowid,* FROM KmCambios WHERE MARCA = 1 ORDER BY MARCA, rowid");
                leerTodo(k.st, celdas);
            }
        });
        linea("Abrir las ocho tablas", abrirNuestro, abrirBase, "meta ≤ 3x");
    }

    // 2. Moving the vehicles object through 1,000 vehicles, four details following.
    double moverNuestro, moverBase;
    {
        Tablas t(carpeta);
        t.abrir();
        int filas = 0;
        std::vector<std::unique_ptr<Conexion>> c;
        std::vector<std::unique_ptr<Consulta>> q;
        for (int i = 0; i < 4; ++i) {
            c.push_back(std::make_unique<Conexion>(dir.filePath(QString::fromLatin1(kFicherosDetalle[i]))));
            q.push_back(std::make_unique<Consulta>(c.back()->db, kDetalles[i]));
        }
        std::vector<std::string> celdas;
        int filasBase = 0;
        std::tie(moverNuestro, moverBase) = medirPar(1000, [&](int) {
            t.matriculas.next();
            if (t.matriculas.eof())
                t.matriculas.first();
            filas += t.mantto.recordCount() + t.averias.recordCount() + t.ruedas.recordCount() + t.ficha.recordCount();
        }, [&](int i) {
            celdas.clear();
            const std::string clave = FlotaGrande::matricula((i + 1) % tam.vehiculos).toStdString();
            for (auto &consulta : q)
                filasBase += int(leerConClave(consulta->st, clave, celdas));
        });
        t.cerrar();
        linea("Mover por 1.000 vehículos, cuatro detalles siguiendo", moverNuestro, moverBase,
              moverNuestro < 2.0 ? "meta ≤ 3x y < 2 ms: < 2 ms" : "meta ≤ 3x y < 2 ms: NO < 2 ms");
        if (filas != filasBase)
            std::printf("  (aviso: %d filas en el almacén, %d en SQLite)\n", filas, filasBase);
    }

    // 3. Filtering a report object to one vehicle and walking its records.
    double filtrarNuestro, filtrarBase;
    {
        Tablas t(carpeta);
        t.abrir(); // the program keeps its tables open while reports run
        TTable informe;
        informe.setDatabase(&t.db);
        informe.setTableName(QStringLiteral("Mantenimiento.DAT"));
        const QStringList campos{"FECHA", "KILOMETROS", "BUJIAS", "C_ACEITE", "F_ACEITE", "F_AIRE", "F_COMBUSTIBLE",
                                 "L_REFRIGERANTE", "L_FRENOS", "P_DELANTERAS", "P_TRASERAS", "ATF_CAJA", "ATF_CONVERTIDOR",
                                 "ATF_DIFERENCIAL", "ENGRASE", "MATRICULA"};
        for (const QString &c : campos)
            informe.addField(c);
        const QList<TField *> fs = informe.fields();
        size_t total = 0;
        Conexion c(dir.filePath(QStringLiteral("Mantenimiento.DAT")));
        std::vector<std::string> celdas;
        size_t totalBase = 0;
        std::tie(filtrarNuestro, filtrarBase) = medirPar(300, [&](int i) {
            informe.setFilter(QStringLiteral("Matricula = '%1'").arg(FlotaGrande::matricula((i * 17) % tam.vehiculos)));
            informe.setFiltered(true);
            informe.open();
            for (informe.first(); !informe.eof(); informe.next())
                for (TField *f : fs)
                    total += size_t(f->asString().size());
            informe.close();
        }, [&](int i) {
            celdas.clear();
            Consulta q(c.db, "SELECT FECHA,KILOMETROS,BUJIAS,C_ACEITE,F_ACEITE,F_AIRE,F_COMBUSTIBLE,L_REFRIGERANTE,L_FRENOS,"
                             "P_DELANTERAS,P_TRASERAS,ATF_CAJA,ATF_CONVERTIDOR,ATF_DIFERENCIAL,ENGRASE,MATRICULA "
                             "FROM Mantenimiento WHERE MATRICULA = ? ORDER BY rowid");
            leerConClave(q.st, FlotaGrande::matricula((i * 17) % tam.vehiculos).toStdString(), celdas);
            for (const auto &s : celdas)
                totalBase += s.size();
        });
        linea("Filtrar un informe a un vehículo y recorrerlo", filtrarNuestro, filtrarBase, "meta ≤ 3x");
        t.cerrar();
    }

    // 4. A grid over the whole maintenance table: read every record, then paint
    //    one column of every row with valueAt.
    {
        TDatabase db;
        db.setDirectory(carpeta);
        TTable todo;
        todo.setDatabase(&db);
        todo.setTableName(QStringLiteral("Mantenimiento.DAT"));
        qint64 suma = 0;
        std::vector<std::string> celdas;
        const auto [nuestro, base] = medirPar(5, [&](int) {
            todo.open();
            const TField *km = todo.fieldByName(QStringLiteral("KILOMETROS"));
            for (int r = 0; r < todo.recordCount(); ++r)
                suma += todo.valueAt(r, km).toInt();
            todo.close();
        }, [&](int) {
            celdas.clear();
            Conexion c(dir.filePath(QStringLiteral("Mantenimiento.DAT")));
            Consulta q(c.db, "SELECT rowid,* FROM Mantenimiento ORDER BY rowid");
            leerTodo(q.st, celdas);
        });
        linea("Abrir Mantenimiento entero y pintar una columna", nuestro, base, "(sin meta)");
    }
    return 0;
}
