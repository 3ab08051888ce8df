// Format version of table files and their upgrade in place.
#include "AyudaTablas.h"
#include "DatosPrueba.h"
#include "Table.h"

#include <QtTest>

#include <sqlite3.h>

class TstFormatoTabla : public QObject
{
    Q_OBJECT

private slots:
    void versionYActualizacion_data();
    void versionYActualizacion();
    void actualizacionConTablaAbierta();
};

void TstFormatoTabla::versionYActualizacion_data()
{
    QTest::addColumn<QString>("dano"); // SQL that takes the file back to an older format
    QTest::addColumn<bool>("antigua");

    QTest::newRow("actual") << "" << false;
    QTest::newRow("sin marca de formato") << "PRAGMA user_version = 0" << true;
    QTest::newRow("sin su índice") << "DROP INDEX Orden_Matri" << true;
    QTest::newRow("sin marca ni lista de índices") << "PRAGMA user_version = 0; DROP TABLE _Indices" << true;
}

// An older file reports a version below "3.00" (the start-up check compares the
// texts) and is brought to the current format in place, records kept.
void TstFormatoTabla::versionYActualizacion()
{
    QFETCH(QString, dano);
    QFETCH(bool, antigua);

    DatosPrueba datos;
    QVERIFY(datos.isValid());
    datos.addMaintenance(QStringLiteral("B"), QDate(2024, 2, 1), 200);
    datos.addMaintenance(QStringLiteral("A"), QDate(2024, 1, 1), 100);
    const QString ruta = datos.ruta(QStringLiteral("Mantenimiento.DAT"));
    if (!dano.isEmpty())
        QVERIFY(sql(ruta, dano));

    TTable t; // addressed by full path, as the start-up check does
    t.setTableName(ruta);
    const QString version = t.formatVersion();
    QCOMPARE(version < QStringLiteral("3.00"), antigua);
    QCOMPARE(TableStore::currentFormatVersion() >= QStringLiteral("3.00"), true);
    t.upgrade();
    QCOMPARE(t.formatVersion(), TableStore::currentFormatVersion());

    TDatabase db;
    db.setDirectory(datos.carpeta());
    TTable mantto;
    mantto.setDatabase(&db);
    mantto.setTableName(QStringLiteral("Mantenimiento.DAT"));
    if (!dano.contains(QLatin1String("DROP TABLE")))
        mantto.setIndexName(QStringLiteral("Orden_Matri"));
    mantto.open();
    QCOMPARE(mantto.recordCount(), 2);
    if (!mantto.indexName().isEmpty())
        QCOMPARE(mantto.fieldByName(QStringLiteral("MATRICULA"))->asString(), QStringLiteral("A"));
}

void TstFormatoTabla::actualizacionConTablaAbierta()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    TDatabase db;
    db.setDirectory(datos.carpeta());
    TTable t;
    t.setDatabase(&db);
    t.setTableName(QStringLiteral("Ruedas.DAT"));
    t.open();
    QVERIFY_THROWS_EXCEPTION(EDBEngineError, t.upgrade());
    QVERIFY_THROWS_EXCEPTION(EDBEngineError, db.setDirectory(QDir::tempPath()));
    t.close();
    TTable falta;
    falta.setTableName(datos.ruta(QStringLiteral("NoEsta.DAT")));
    QVERIFY_THROWS_EXCEPTION(EDBEngineError, falta.formatVersion());
}

QTEST_GUILESS_MAIN(TstFormatoTabla)
#include "tst_formato_tabla.moc"
