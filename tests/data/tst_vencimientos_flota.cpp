// The fleet's due readings in one pass: equal, vehicle by vehicle and task by
// task, to the maintenance window's own computation on the benchmark fleet
// made small and given every awkward case; the three states at their edges;
// the rows; the margin kept between runs.
#include "DataModulo.h"
#include "FlotaGrande.h"
#include "StoreErrors.h"
#include "Table.h"
#include "VencimientosFlota.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

#include <limits>

namespace {

// Runs SQL on one table file as another program would.
void Sql(const QString &carpeta, const QString &tabla, const QString &sql)
{
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(QDir(carpeta).filePath(tabla)).constData(), &db), SQLITE_OK);
    char *err = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    const QString texto = QString::fromUtf8(err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
    QVERIFY2(rc == SQLITE_OK, qPrintable(sql + ": " + texto));
}

constexpr qint32 kMax = std::numeric_limits<qint32>::max();
constexpr qint32 kMin = std::numeric_limits<qint32>::min();

} // namespace

class TstVencimientosFlota : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void igualAlCalculoPorVehiculo();
    void estados_data();
    void estados();
    void filas();
    void margen_data();
    void margen();

private:
    QStringList m_errores;
};

void TstVencimientosFlota::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    TModuloDatos::Establecer_Manejador_Error([this](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const ECodedError &err) {
            m_errores << err.message();
        } catch (...) {
            m_errores << QStringLiteral("?");
        }
    });
}

void TstVencimientosFlota::init()
{
    m_errores.clear();
    QFile::remove(Fichero_Ajustes());
}

// A few hundred vehicles from the benchmark generator (operations stored out of
// reading order), then: brands without intervals, an empty interval, a second
// interval record that must not count, intervals and readings that overflow 32
// bits both ways, flags in lower case, empty and odd, a vehicle without brand
// (brand 0 has intervals), without reading, without operations, with a quote in
// its plate and with a model that no longer exists, and operations of a plate
// that has no vehicle.
void TstVencimientosFlota::igualAlCalculoPorVehiculo()
{
    QTemporaryDir dir;
    const QString c = dir.path();
    FlotaGrande::Tamano tam;
    tam.marcas = 6;
    tam.modelosPorMarca = 3;
    tam.vehiculos = 300;
    tam.mantenimientos = 12000;
    tam.averias = tam.ruedas = tam.fichas = 0;
    FlotaGrande::generar(c, tam);

    const QString km = QStringLiteral("KmCambios.DAT"), mant = QStringLiteral("Mantenimiento.DAT"),
                  mat = QStringLiteral("Matriculas.DAT");
    Sql(c, km, "DELETE FROM KmCambios WHERE MARCA IN (5, 6)");
    Sql(c, km, "UPDATE KmCambios SET F_AIRE = NULL WHERE MARCA = 1");
    Sql(c, km, "INSERT INTO KmCambios (MARCA, C_ACEITE, F_ACEITE, BUJIAS) VALUES (2, 1, 1, 1)");
    Sql(c, km, "UPDATE KmCambios SET ENGRASE = 2147483000, BUJIAS = -2147483000 WHERE MARCA = 3");
    Sql(c, km, "INSERT INTO KmCambios (MARCA, C_ACEITE, L_FRENOS) VALUES (0, 777, 2000)");
    Sql(c, km, "INSERT INTO KmCambios (MARCA, C_ACEITE) VALUES (NULL, 555)");
    Sql(c, mant, "UPDATE Mantenimiento SET C_ACEITE = 'x' WHERE rowid % 7 = 0");
    Sql(c, mant, "UPDATE Mantenimiento SET BUJIAS = '' WHERE rowid % 11 = 0");
    Sql(c, mant, "UPDATE Mantenimiento SET ENGRASE = '*', F_AIRE = 'X ' WHERE rowid % 13 = 0");
    Sql(c, mant, "UPDATE Mantenimiento SET KILOMETROS = -400000000, BUJIAS = 'X' WHERE rowid % 17 = 0");
    Sql(c, mant, "UPDATE Mantenimiento SET KILOMETROS = NULL WHERE rowid % 19 = 0");
    Sql(c, mant, "UPDATE Mantenimiento SET MATRICULA = 'FANTASMA' WHERE rowid % 50 = 0");
    const QString quinto = FlotaGrande::matricula(4), septimo = FlotaGrande::matricula(6);
    Sql(c, mat, QStringLiteral("UPDATE Matriculas SET MARCA = NULL WHERE MATRICULA = '%1'").arg(quinto));
    Sql(c, mat, QStringLiteral("UPDATE Matriculas SET MATRICULA = 'O''NEIL' WHERE MATRICULA = '%1'").arg(septimo));
    Sql(c, mant, QStringLiteral("UPDATE Mantenimiento SET MATRICULA = 'O''NEIL' WHERE MATRICULA = '%1'").arg(septimo));
    Sql(c, mat, QStringLiteral("UPDATE Matriculas SET KILOMETROS = NULL WHERE MATRICULA = '%1'")
                    .arg(FlotaGrande::matricula(8)));
    Sql(c, mat, QStringLiteral("UPDATE Matriculas SET MODELO = 9999 WHERE MATRICULA = '%1'")
                    .arg(FlotaGrande::matricula(10)));
    Sql(c, mat, "INSERT INTO Matriculas (MATRICULA, MARCA, KILOMETROS) VALUES ('SIN TRABAJOS', 1, 1000)");

    TModuloDatos modulo(c);
    QCOMPARE(m_errores, QStringList());
    const std::vector<tVehiculoVencimientos> flota = Calcular_Vencimientos_Flota(*modulo.DbMaestro);
    QCOMPARE(m_errores, QStringList());

    TTable *v = modulo.TableMatriculas;
    QCOMPARE(int(flota.size()), v->recordCount());
    int fila = 0, saturados = 0, sinIntervalos = 0, conocidos = 0;
    for (v->first(); !v->eof(); v->next(), ++fila) {
        modulo.Calcular_Proximo_Mantenimiento();
        const tVehiculoVencimientos &b = flota[std::size_t(fila)];
        const QString m = v->fieldByName("MATRICULA")->asString();
        QCOMPARE(b.Matricula, m);
        QCOMPARE(b.Marca, v->fieldByName("sMarca")->asString());
        QCOMPARE(b.Modelo, v->fieldByName("sModelo")->asString());
        QCOMPARE(b.Km_Actuales, modulo.Km_Actuales);
        for (int t = 0; t < Num_Tareas; ++t) {
            const qint32 esperado = modulo.Km_Proximo[std::size_t(t)];
            if (b.Km_Proximo[std::size_t(t)] != esperado)
                QFAIL(qPrintable(QStringLiteral("%1, %2: %3 en vez de %4")
                                     .arg(m, Tareas()[std::size_t(t)].Campo)
                                     .arg(b.Km_Proximo[std::size_t(t)])
                                     .arg(esperado)));
            saturados += esperado == kMax || esperado == kMin;
            conocidos += esperado > 0;
            sinIntervalos += esperado > 0 && v->fieldByName("MARCA")->asInteger() >= 5;
        }
    }
    QCOMPARE(m_errores, QStringList());
    // The awkward cases did arise.
    QVERIFY(saturados > 0);
    QVERIFY(sinIntervalos > 0);
    QVERIFY(conocidos > 2000);
    QVERIFY(v->locate("MATRICULA", "O'NEIL"));
    QVERIFY(v->locate("MATRICULA", "SIN TRABAJOS"));
    QCOMPARE(flota.back().Km_Proximo, (std::array<qint32, Num_Tareas>{}));
    QCOMPARE(flota[10].Modelo, QString());
    QVERIFY(!flota[10].Marca.isEmpty());

    // The computation leaves no table of its own open, and the module's as they were.
    QCOMPARE(TDatabase::openFilesIn(c).size(), 8);
    QCOMPARE(Calcular_Vencimientos_Flota(*modulo.DbMaestro).size(), flota.size());
}

void TstVencimientosFlota::estados_data()
{
    QTest::addColumn<qint32>("proximo");
    QTest::addColumn<qint32>("actuales");
    QTest::addColumn<qint32>("margen");
    QTest::addColumn<int>("estado");
    const int vencida = int(tEstadoVencimiento::Vencida), proxima = int(tEstadoVencimiento::Proxima),
              aldia = int(tEstadoVencimiento::AlDia);
    QTest::newRow("vencida por un km") << 29999 << 30000 << 1000 << vencida;
    QTest::newRow("en la lectura: no vencida") << 30000 << 30000 << 1000 << proxima;
    QTest::newRow("en la lectura, margen 0") << 30000 << 30000 << 0 << aldia;
    QTest::newRow("justo en el margen") << 31000 << 30000 << 1000 << proxima;
    QTest::newRow("un km tras el margen") << 31001 << 30000 << 1000 << aldia;
    QTest::newRow("margen 0: ninguna próxima") << 30001 << 30000 << 0 << aldia;
    QTest::newRow("margen 0: vencida igual") << 29999 << 30000 << 0 << vencida;
    QTest::newRow("sin lectura del vehículo") << 500 << 0 << 1000 << proxima;
    QTest::newRow("extremos sin desbordar") << kMax << kMin << Margen_Proximo_Maximo << aldia;
    QTest::newRow("extremos vencida") << 1 << kMax << Margen_Proximo_Maximo << vencida;
}

void TstVencimientosFlota::estados()
{
    QFETCH(qint32, proximo);
    QFETCH(qint32, actuales);
    QFETCH(qint32, margen);
    QFETCH(int, estado);
    QCOMPARE(int(Estado_Vencimiento(proximo, actuales, margen)), estado);
}

// Only known due readings make rows; the kilometres left are worked out wide.
void TstVencimientosFlota::filas()
{
    std::vector<tVehiculoVencimientos> flota(2);
    flota[0].Km_Actuales = 30000;
    flota[0].Km_Proximo[0] = 29000;
    flota[0].Km_Proximo[3] = -5; // a saturated or negative reading shows nothing
    flota[0].Km_Proximo[12] = 30500;
    flota[1].Km_Actuales = kMin;
    flota[1].Km_Proximo[2] = kMax;
    const std::vector<tFilaVencimiento> f = Filas_Vencimientos(flota, 1000);
    QCOMPARE(int(f.size()), 3);
    QCOMPARE(f[0].Vehiculo, 0);
    QCOMPARE(f[0].Tarea, 0);
    QCOMPARE(f[0].Km_Restantes, qint64(-1000));
    QCOMPARE(int(f[0].Estado), int(tEstadoVencimiento::Vencida));
    QCOMPARE(f[1].Tarea, 12);
    QCOMPARE(int(f[1].Estado), int(tEstadoVencimiento::Proxima));
    QCOMPARE(f[2].Vehiculo, 1);
    QCOMPARE(f[2].Km_Restantes, qint64(kMax) - kMin);
    QCOMPARE(Nombre_Tarea_Vencimiento(0), QStringLiteral("Cambio de Aceite"));
    QCOMPARE(Nombre_Tarea_Vencimiento(2), QStringLiteral("Filtro de Aire"));
}

void TstVencimientosFlota::margen_data()
{
    QTest::addColumn<QVariant>("guardado"); // invalid: nothing saved
    QTest::addColumn<qint32>("leido");
    QTest::newRow("nada guardado") << QVariant() << 1000;
    QTest::newRow("cero") << QVariant(0) << 0;
    QTest::newRow("guardado") << QVariant(2500) << 2500;
    QTest::newRow("el máximo") << QVariant(Margen_Proximo_Maximo) << Margen_Proximo_Maximo;
    QTest::newRow("texto") << QVariant("mucho") << 1000;
    QTest::newRow("decimales") << QVariant("12.5") << 1000;
    QTest::newRow("negativo") << QVariant(-1) << 1000;
    QTest::newRow("demasiado") << QVariant(Margen_Proximo_Maximo + 1) << 1000;
}

// A value written by hand into the file is read only when it makes sense; the
// program's own saving holds the margin within its range.
void TstVencimientosFlota::margen()
{
    QFETCH(QVariant, guardado);
    QFETCH(qint32, leido);
    if (guardado.isValid()) {
        QSettings s(Fichero_Ajustes(), QSettings::IniFormat);
        s.setValue("Vencimientos/Margen_Proximo", guardado);
    }
    QCOMPARE(Leer_Margen_Proximo(), leido);

    QVERIFY(Guardar_Margen_Proximo(4000));
    QCOMPARE(Leer_Margen_Proximo(), 4000);
    QVERIFY(Guardar_Margen_Proximo(-7));
    QCOMPARE(Leer_Margen_Proximo(), 0);
    QVERIFY(QFile::exists(Fichero_Ajustes()));
    QVERIFY(Fichero_Ajustes().endsWith("/Quelvaro.ini"));
}

QTEST_GUILESS_MAIN(TstVencimientosFlota)
#include "tst_vencimientos_flota.moc"
