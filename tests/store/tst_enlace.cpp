// The master-detail link: when a detail's rows must be read again, and details
// following their master through moves, reads, edits, filters and destruction.
#include "AyudaTablas.h"
#include "DatosPrueba.h"
#include "EnlaceMaestro.h"

#include <QSignalSpy>
#include <QtTest>

using namespace store;

class TstEnlace : public QObject
{
    Q_OBJECT

private slots:
    void vigente_data();
    void vigente();
    void detalleSigueAlMaestro();
    void detalleLeidoDespues_data();
    void detalleLeidoDespues();
    void detalleConClaveNumerica();
    void detalleFiltrado();
    void maestroDestruidoAntes();
};

void TstEnlace::vigente_data()
{
    QTest::addColumn<QVariant>("antes");    // the master's value the rows were read for
    QTest::addColumn<qint64>("idAntes");    // and its record
    QTest::addColumn<QVariant>("ahora");
    QTest::addColumn<qint64>("idAhora");
    QTest::addColumn<bool>("porRegistro");  // a move of the master
    QTest::addColumn<bool>("vigente");

    const QVariant a(QStringLiteral("1234ABC")), b(QStringLiteral("5678XYZ"));
    QTest::newRow("mismo registro") << a << qint64(1) << a << qint64(1) << true << true;
    QTest::newRow("otro valor") << a << qint64(1) << b << qint64(2) << false << false;
    QTest::newRow("otro registro, mismo valor, al moverse") << a << qint64(1) << a << qint64(2) << true << false;
    QTest::newRow("otro registro, mismo valor, al escribir") << a << qint64(1) << a << qint64(2) << false << true;
    QTest::newRow("de ninguno a uno") << QVariant() << qint64(0) << a << qint64(1) << false << false;
    QTest::newRow("de uno a ninguno") << a << qint64(1) << QVariant() << qint64(0) << false << false;
    QTest::newRow("ninguno") << QVariant() << qint64(0) << QVariant() << qint64(0) << true << true;
    QTest::newRow("texto vacío no es ninguno") << QVariant() << qint64(0) << QVariant(QString()) << qint64(0) << false << false;
    QTest::newRow("número de otro tipo") << QVariant(7) << qint64(1) << QVariant(qint64(7)) << qint64(1) << true << true;
}

void TstEnlace::vigente()
{
    QFETCH(QVariant, antes);
    QFETCH(qint64, idAntes);
    QFETCH(QVariant, ahora);
    QFETCH(qint64, idAhora);
    QFETCH(bool, porRegistro);
    QFETCH(bool, vigente);

    EnlaceMaestro e;
    e.columna = 0;
    e.fijar(antes, idAntes);
    QCOMPARE(e.vacio(), antes.isNull());
    QCOMPARE(e.vigente(ahora, idAhora, porRegistro), vigente);
    e.fijar(ahora, idAhora);
    QVERIFY(e.vigente(ahora, idAhora, true));
}

// Opened before its master (as at start-up), a detail shows the current vehicle's
// records in date order, follows every move, and a new record carries the plate.
void TstEnlace::detalleSigueAlMaestro()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    datos.addVehicle(QStringLiteral("AAA"), 1, 1, 1000);
    datos.addVehicle(QStringLiteral("BBB"), 1, 1, 1000);
    datos.addVehicle(QStringLiteral("CCC"), 1, 1, 1000);
    datos.addMaintenance(QStringLiteral("AAA"), QDate(2024, 3, 1), 300);
    datos.addMaintenance(QStringLiteral("BBB"), QDate(2024, 1, 1), 100);
    datos.addMaintenance(QStringLiteral("AAA"), QDate(2023, 5, 1), 200);
    datos.addMaintenance(QStringLiteral("AAA"), QDate(2024, 1, 1), 250);

    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto vehiculos = tabla(db, QStringLiteral("Matriculas.DAT"));
    auto mantto = tabla(db, QStringLiteral("Mantenimiento.DAT"));
    mantto->setIndexName(QStringLiteral("Orden_Matri"));
    mantto->setMasterSource(vehiculos.get(), QStringLiteral("MATRICULA"));
    mantto->open();
    QVERIFY(mantto->isEmpty());
    QSignalSpy reset(mantto.get(), &TTable::rowsReset);
    // Whoever listens to the master's moves finds the detail already in step.
    QList<int> vistos;
    QObject::connect(vehiculos.get(), &TTable::afterScroll, mantto.get(), [&]() { vistos << mantto->recordCount(); });
    vehiculos->open();
    QCOMPARE(columna(*mantto, QStringLiteral("KILOMETROS")), (QStringList{"200", "250", "300"}));
    QCOMPARE(mantto->recNo(), 0);

    vehiculos->next();
    QCOMPARE(columna(*mantto, QStringLiteral("KILOMETROS")), QStringList{"100"});
    QCOMPARE(vistos, (QList<int>{3, 1}));
    vehiculos->next();
    QVERIFY(mantto->isEmpty());
    QVERIFY(mantto->eof());
    QVERIFY(reset.count() >= 3);

    mantto->append();
    QCOMPARE(mantto->fieldByName(QStringLiteral("MATRICULA"))->asString(), QStringLiteral("CCC"));
    mantto->fieldByName(QStringLiteral("FECHA"))->setAsDate(QDate(2024, 6, 1));
    mantto->post();
    QCOMPARE(mantto->recordCount(), 1);
    QCOMPARE(mantto->fieldByName(QStringLiteral("MATRICULA"))->asString(), QStringLiteral("CCC"));

    vehiculos->first();
    QCOMPARE(mantto->recordCount(), 3);
    vehiculos->close();
    QVERIFY(mantto->isEmpty());
}

void TstEnlace::detalleLeidoDespues_data()
{
    QTest::addColumn<QString>("vehiculo"); // where the master ends, unread moves on the way
    QTest::addColumn<QString>("acceso");   // the detail's first use after them
    QTest::addColumn<QString>("visto");    // what that use shows
    QTest::addColumn<QString>("fichero");  // the vehicle's readings in the file afterwards
    QTest::newRow("cuenta") << "AAA" << "recordCount" << "3" << "200|250|300";
    QTest::newRow("principio y fin") << "AAA" << "eof/bof" << "no/sí" << "200|250|300";
    QTest::newRow("campo") << "AAA" << "campo" << "200" << "200|250|300";
    QTest::newRow("fila") << "AAA" << "valueAt" << "300" << "200|250|300";
    QTest::newRow("siguiente") << "AAA" << "next" << "250" << "200|250|300";
    QTest::newRow("localizar") << "AAA" << "locate" << "2" << "200|250|300";
    QTest::newRow("editar") << "AAA" << "edit" << "201" << "201|250|300";
    QTest::newRow("borrar") << "AAA" << "delete" << "250" << "250|300";
    QTest::newRow("añadir") << "CCC" << "append" << "CCC" << "700";
    QTest::newRow("sin registros") << "CCC" << "eof/bof" << "sí/sí" << "";
}

// The detail's rows are read when first used after its master moved: whatever
// the first use, it sees and changes the current master's records.
void TstEnlace::detalleLeidoDespues()
{
    QFETCH(QString, vehiculo);
    QFETCH(QString, acceso);
    QFETCH(QString, visto);
    QFETCH(QString, fichero);
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    for (const QString &m : {QStringLiteral("AAA"), QStringLiteral("BBB"), QStringLiteral("CCC")})
        datos.addVehicle(m, 1, 1, 1000);
    datos.addMaintenance(QStringLiteral("AAA"), QDate(2024, 3, 1), 300);
    datos.addMaintenance(QStringLiteral("BBB"), QDate(2024, 1, 1), 100);
    datos.addMaintenance(QStringLiteral("AAA"), QDate(2023, 5, 1), 200);
    datos.addMaintenance(QStringLiteral("AAA"), QDate(2024, 1, 1), 250);

    VehiculosYDetalle t(datos.carpeta(), QStringLiteral("Mantenimiento.DAT"));
    TTable *vehiculos = &t.vehiculos, *mantto = &t.detalle;
    QSignalSpy anuncios(mantto, &TTable::afterScroll);
    vehiculos->next();
    vehiculos->last();
    if (vehiculo == QLatin1String("AAA"))
        vehiculos->first();
    QCOMPARE(vehiculos->fieldByName(QStringLiteral("MATRICULA"))->asString(), vehiculo);
    QVERIFY(anuncios.count() >= 2); // every move is announced, read or not

    TField *km = mantto->fieldByName(QStringLiteral("KILOMETROS"));
    QString r;
    if (acceso == QLatin1String("recordCount")) {
        r = QString::number(mantto->recordCount());
    } else if (acceso == QLatin1String("eof/bof")) {
        const bool fin = mantto->eof(), principio = mantto->bof();
        r = QString::fromUtf8(fin ? "sí" : "no") + QLatin1Char('/') + QString::fromUtf8(principio ? "sí" : "no");
    } else if (acceso == QLatin1String("campo")) {
        r = km->asString();
    } else if (acceso == QLatin1String("valueAt")) {
        r = mantto->valueAt(2, km).toString();
    } else if (acceso == QLatin1String("next")) {
        mantto->next();
        r = km->asString();
    } else if (acceso == QLatin1String("locate")) {
        QVERIFY(mantto->locate(QStringLiteral("KILOMETROS"), 300));
        r = QString::number(mantto->recNo());
    } else if (acceso == QLatin1String("edit")) {
        mantto->edit();
        km->setAsInteger(201);
        mantto->post();
        r = km->asString();
    } else if (acceso == QLatin1String("delete")) {
        mantto->deleteRecord();
        r = km->asString();
    } else if (acceso == QLatin1String("append")) {
        mantto->append();
        km->setAsInteger(700);
        mantto->post();
        r = mantto->fieldByName(QStringLiteral("MATRICULA"))->asString();
    }
    QCOMPARE(r, visto);

    // The file, read afresh, holds the change on the right vehicle and no other.
    TDatabase otra;
    otra.setDirectory(datos.carpeta());
    auto comprobar = tabla(otra, QStringLiteral("Mantenimiento.DAT"));
    comprobar->setIndexName(QStringLiteral("Orden_Matri"));
    comprobar->setFilter(QStringLiteral("MATRICULA = '") + vehiculo + QLatin1Char('\''));
    comprobar->setFiltered(true);
    comprobar->open();
    QCOMPARE(columna(*comprobar, QStringLiteral("KILOMETROS")), matriculas(fichero));
    comprobar->setFilter(QStringLiteral("MATRICULA = 'BBB'"));
    QCOMPARE(columna(*comprobar, QStringLiteral("KILOMETROS")), QStringList{"100"});
}

void TstEnlace::detalleConClaveNumerica()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    const int uno = datos.addBrand(QStringLiteral("UNO"));
    const int dos = datos.addBrand(QStringLiteral("DOS"));
    datos.addInterval(dos, {{QStringLiteral("C_ACEITE"), 15000}});

    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto marcas = tabla(db, QStringLiteral("Marcas.DAT"));
    auto km = tabla(db, QStringLiteral("KmCambios.DAT"));
    km->setIndexName(QStringLiteral("Orden_Marca"));
    km->setMasterSource(marcas.get(), QStringLiteral("ORDENMARCA"));
    marcas->open();
    km->open();
    QVERIFY(km->isEmpty());
    QVERIFY(marcas->locate(QStringLiteral("ordenmarca"), dos));
    QCOMPARE(km->fieldByName(QStringLiteral("C_ACEITE"))->asInteger(), 15000);
    QVERIFY(marcas->locate(QStringLiteral("MARCA"), QStringLiteral("UNO")));
    km->append();
    QCOMPARE(km->fieldByName(QStringLiteral("MARCA"))->asInteger(), uno);
    km->cancel();
}

// A filter applies inside the master's range, and both follow their changes.
void TstEnlace::detalleFiltrado()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    datos.addVehicle(QStringLiteral("A"), 1, 1, 1000);
    datos.addVehicle(QStringLiteral("B"), 1, 1, 1000);
    datos.addBreakdown(QStringLiteral("A"), QDate(2024, 1, 1), 100, QStringLiteral("a1"));
    datos.addBreakdown(QStringLiteral("B"), QDate(2024, 1, 2), 200, QStringLiteral("b1"));
    datos.addBreakdown(QStringLiteral("A"), QDate(2024, 1, 3), 300, QStringLiteral("a2"), QDate(2024, 1, 9));
    datos.addBreakdown(QStringLiteral("A"), QDate(2023, 1, 3), 400, QStringLiteral("a3"));

    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto vehiculos = tabla(db, QStringLiteral("Matriculas.DAT"));
    auto averias = tabla(db, QStringLiteral("Averias.DAT"));
    averias->setIndexName(QStringLiteral("Orden_Matri"));
    averias->setMasterSource(vehiculos.get(), QStringLiteral("MATRICULA"));
    averias->setFilter(QStringLiteral("Estado = 'P'"));
    averias->setFiltered(true);
    vehiculos->open();
    averias->open();
    QCOMPARE(columna(*averias, QStringLiteral("AVERIA")), (QStringList{"a3", "a1"}));
    averias->next();
    averias->setFilter(QStringLiteral("ESTADO = 'C'"));
    QCOMPARE(columna(*averias, QStringLiteral("AVERIA")), QStringList{"a2"});
    QCOMPARE(averias->recNo(), 0);
    vehiculos->next();
    QVERIFY(averias->isEmpty());
    averias->setFiltered(false);
    QCOMPARE(columna(*averias, QStringLiteral("AVERIA")), QStringList{"b1"});
}

// Owners may destroy a master before a detail that was never opened (or was
// closed): the detail must forget it instead of keeping a dangling link.
void TstEnlace::maestroDestruidoAntes()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto marcas = tabla(db, QStringLiteral("Marcas.DAT"));
    auto km = tabla(db, QStringLiteral("KmCambios.DAT"));
    km->setIndexName(QStringLiteral("Orden_Marca"));
    km->setMasterSource(marcas.get(), QStringLiteral("ORDENMARCA"));
    marcas->open();
    km->open();
    km->close();
    marcas.reset();
    QVERIFY(km->masterSource() == nullptr);
    km->open(); // a detail without master shows its whole table
    km->close();
    km.reset();
}

QTEST_GUILESS_MAIN(TstEnlace)
#include "tst_enlace.moc"
