// Bulk generator of a large fleet for the benchmarks.
#include "FlotaGrande.h"

#include "Esquema.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace FlotaGrande {

namespace {

class Fichero
{
public:
    explicit Fichero(const QString &ruta)
    {
        if (sqlite3_open_v2(QFile::encodeName(ruta).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("no se puede abrir " + ruta.toStdString());
        exec("PRAGMA synchronous=OFF; BEGIN");
    }
    ~Fichero()
    {
        sqlite3_finalize(m_st);
        exec("COMMIT");
        sqlite3_close(m_db);
    }
    void exec(const char *sql)
    {
        char *err = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
            const std::string e = err ? err : "?";
            sqlite3_free(err);
            throw std::runtime_error(e);
        }
    }
    void preparar(const QString &sql)
    {
        sqlite3_finalize(m_st);
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &m_st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(m_db));
    }
    Fichero &texto(int i, const QString &v)
    {
        const QByteArray u = v.toUtf8();
        sqlite3_bind_text(m_st, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Fichero &entero(int i, qint64 v)
    {
        sqlite3_bind_int64(m_st, i, v);
        return *this;
    }
    Fichero &real(int i, double v)
    {
        sqlite3_bind_double(m_st, i, v);
        return *this;
    }
    Fichero &fecha(int i, const QDate &d) { return texto(i, d.toString(QStringLiteral("yyyy-MM-dd"))); }
    void insertar()
    {
        if (sqlite3_step(m_st) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        sqlite3_reset(m_st);
        sqlite3_clear_bindings(m_st);
    }

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_st = nullptr;
};

const char *const kTareas[] = {"BUJIAS", "C_ACEITE", "F_ACEITE", "F_AIRE", "F_COMBUSTIBLE", "L_REFRIGERANTE", "L_FRENOS",
                               "P_DELANTERAS", "P_TRASERAS", "ATF_CAJA", "ATF_CONVERTIDOR", "ATF_DIFERENCIAL", "ENGRASE"};

} // namespace

QString matricula(int i)
{
    static const char letras[] = "BCDFGHJKLMNPRSTVWXYZ";
    return QStringLiteral("%1 %2%3%4")
        .arg(i % 10000, 4, 10, QLatin1Char('0'))
        .arg(QLatin1Char(letras[(i / 10000) % 20]))
        .arg(QLatin1Char(letras[(i / 7) % 20]))
        .arg(QLatin1Char(letras[i % 20]));
}

void generar(const QString &carpeta, const Tamano &t)
{
    Crear_Tablas(carpeta);
    QRandomGenerator azar(20240501);
    const QDir dir(carpeta);
    const QDate origen(2015, 1, 1);
    const int modelos = t.marcas * t.modelosPorMarca;
    {
        Fichero f(dir.filePath(QStringLiteral("Marcas.DAT")));
        f.preparar(QStringLiteral("INSERT INTO Marcas (MARCA) VALUES (?)"));
        for (int m = 0; m < t.marcas; ++m)
            f.texto(1, QStringLiteral("MARCA %1").arg(m + 1, 2, 10, QLatin1Char('0'))).insertar();
    }
    {
        Fichero f(dir.filePath(QStringLiteral("Modelos.DAT")));
        f.preparar(QStringLiteral("INSERT INTO Modelos (MODELO, ORDENMARCA) VALUES (?, ?)"));
        for (int m = 0; m < modelos; ++m)
            f.texto(1, QStringLiteral("MODELO %1").arg(m + 1, 3, 10, QLatin1Char('0'))).entero(2, m / t.modelosPorMarca + 1).insertar();
    }
    {
        Fichero f(dir.filePath(QStringLiteral("KmCambios.DAT")));
        QStringList cols, marcas;
        for (const char *c : kTareas) {
            cols << QString::fromLatin1(c);
            marcas << QStringLiteral("?");
        }
        f.preparar(QStringLiteral("INSERT INTO KmCambios (MARCA, %1) VALUES (?, %2)").arg(cols.join(','), marcas.join(',')));
        for (int m = 0; m < t.marcas; ++m) {
            f.entero(1, m + 1);
            for (int i = 0; i < 13; ++i)
                f.entero(i + 2, 5000 * (1 + (i + m) % 12));
            f.insertar();
        }
    }
    {
        Fichero f(dir.filePath(QStringLiteral("Matriculas.DAT")));
        f.preparar(QStringLiteral("INSERT INTO Matriculas (MATRICULA, MARCA, MODELO, MARCA_S, MODELO_S, KILOMETROS) "
                                  "VALUES (?, ?, ?, ?, ?, ?)"));
        for (int v = 0; v < t.vehiculos; ++v) {
            const int modelo = int(azar.bounded(modelos));
            const int marca = modelo / t.modelosPorMarca;
            f.texto(1, matricula(v))
                .entero(2, marca + 1)
                .entero(3, modelo + 1)
                .texto(4, QStringLiteral("MARCA %1").arg(marca + 1, 2, 10, QLatin1Char('0')))
                .texto(5, QStringLiteral("MODELO %1").arg(modelo + 1, 3, 10, QLatin1Char('0')))
                .entero(6, 10000 + azar.bounded(400000))
                .insertar();
        }
    }
    {
        Fichero f(dir.filePath(QStringLiteral("Mantenimiento.DAT")));
        QStringList cols, marcas;
        for (const char *c : kTareas) {
            cols << QString::fromLatin1(c);
            marcas << QStringLiteral("?");
        }
        f.preparar(QStringLiteral("INSERT INTO Mantenimiento (FECHA, MATRICULA, KILOMETROS, %1) VALUES (?, ?, ?, %2)")
                       .arg(cols.join(','), marcas.join(',')));
        for (int n = 0; n < t.mantenimientos; ++n) {
            f.fecha(1, origen.addDays(azar.bounded(3650)))
                .texto(2, matricula(int(azar.bounded(t.vehiculos))))
                .entero(3, azar.bounded(400000));
            for (int i = 0; i < 13; ++i)
                if (azar.bounded(3) == 0)
                    f.texto(i + 4, QStringLiteral("X"));
            f.insertar();
        }
    }
    // Breakdown texts as users write them: a few hundred characters, over several lines.
    auto textoLargo = [](const QString &primera, int n, int lineas) {
        static const char *const frases[] = {
            "El conductor avisa de un ruido metálico al frenar por debajo de 30 km/h",
            "vibración en el volante a más de 90 km/h, sobre todo en bajada",
            "se revisan discos, pastillas, rótulas y silentblocks del eje delantero",
            "el testigo de avería del motor se enciende en frío y se apaga al rato",
            "pérdida de líquido refrigerante por la parte baja del radiador",
            "comprobado el par de apriete de las ruedas y la presión de los neumáticos",
        };
        QString t = primera;
        for (int i = 0; i < lineas; ++i)
            t += QStringLiteral("\n") + QString::fromUtf8(frases[(n + i) % 6]) + QStringLiteral(" (parte %1).").arg(n + i);
        return t;
    };
    {
        Fichero f(dir.filePath(QStringLiteral("Averias.DAT")));
        f.preparar(QStringLiteral("INSERT INTO Averias (FECHAINICIO, MATRICULA, ESTADO, AVERIA, FECHAFIN, REPARACION, "
                                  "KILOMETROS, MATERIALES, IMPORTE) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int n = 0; n < t.averias; ++n) {
            const QDate inicio = origen.addDays(azar.bounded(3650));
            const bool reparada = azar.bounded(5) != 0;
            f.fecha(1, inicio)
                .texto(2, matricula(int(azar.bounded(t.vehiculos))))
                .texto(3, reparada ? QStringLiteral("C") : QStringLiteral("P"))
                .texto(4, textoLargo(QStringLiteral("Avería número %1:").arg(n), n, 4))
                .entero(7, azar.bounded(400000));
            if (reparada)
                f.fecha(5, inicio.addDays(azar.bounded(20)))
                    .texto(6, textoLargo(QStringLiteral("Reparación:"), n + 2, 3))
                    .texto(8, QStringLiteral("2 discos de freno\n1 juego de pastillas\n1 l de líquido de frenos\n"
                                             "Mano de obra: %1 h").arg(1 + n % 5))
                    .real(9, azar.bounded(100000) / 100.0);
            f.insertar();
        }
    }
    {
        Fichero f(dir.filePath(QStringLiteral("Ruedas.DAT")));
        f.preparar(QStringLiteral("INSERT INTO Ruedas (MATRICULA, FECHA, KILOMETROS, MARCA, OBSERVACIONES) VALUES (?, ?, ?, ?, ?)"));
        for (int n = 0; n < t.ruedas; ++n)
            f.texto(1, matricula(int(azar.bounded(t.vehiculos))))
                .fecha(2, origen.addDays(azar.bounded(3650)))
                .entero(3, azar.bounded(400000))
                .texto(4, QStringLiteral("RODAMAX"))
                .texto(5, QStringLiteral("Juego completo"))
                .insertar();
    }
    {
        Fichero f(dir.filePath(QStringLiteral("FichaTecnica.DAT")));
        f.preparar(QStringLiteral("INSERT INTO FichaTecnica (MATRICULA, MARCAMODELO, TIPO, TARA, MTMA_MMA, NEUMATICOS, "
                                  "NUMASIENTOS, LONGITUD, MARCAMOTOR, CILINDRADA, CARTER, COMBUSTIBLE) "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int v = 0; v < t.fichas && v < t.vehiculos; ++v)
            f.texto(1, matricula(v))
                .texto(2, QStringLiteral("MARCA MODELO"))
                .texto(3, QStringLiteral("T1"))
                .real(4, 1200 + v % 500)
                .real(5, 1900)
                .texto(6, QStringLiteral("195/65 R15"))
                .real(7, 5)
                .real(8, 4300)
                .texto(9, QStringLiteral("MOTOR"))
                .texto(10, QStringLiteral("4/1598"))
                .real(11, 4.5)
                .real(12, 55)
                .insertar();
    }
}

void generarConAviso(const QString &carpeta, const Tamano &tamano)
{
    QElapsedTimer reloj;
    reloj.start();
    generar(carpeta, tamano);
    std::printf("Flota grande: %d vehículos, %d operaciones de mantenimiento (%lld ms)\n", tamano.vehiculos,
                tamano.mantenimientos, reloj.elapsed());
}

double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void salirConError(std::exception_ptr e)
{
    try {
        std::rethrow_exception(e);
    } catch (const std::exception &err) {
        std::fprintf(stderr, "error: %s\n", err.what());
    } catch (...) {
        std::fprintf(stderr, "error desconocido\n");
    }
    std::exit(1);
}

} // namespace FlotaGrande
