// Table objects: moving and deleting, lookups, calculated fields, locate, and
// the signals that tell others the file changed.
// The units behind them have their own programs: tst_valores, tst_filtro,
// tst_filas, tst_edicion, tst_enlace, tst_cambios, tst_base_datos.
#include "AyudaTablas.h"
#include "Capturar.h"
#include "DatosPrueba.h"
#include "Table.h"

#include <QSignalSpy>
#include <QtTest>

class TstTabla : public QObject
{
    Q_OBJECT

private slots:
    void moverYBorrar_data();
    void moverYBorrar();
    void busquedaSinCoincidencia();
    void camposCalculados();
    void localizar();
    void avisosDeEscritura_data();
    void avisosDeEscritura();
};

// Deleting makes the following record current, the previous one after the last,
// and leaves an empty object at its end when the only record goes.
void TstTabla::moverYBorrar_data()
{
    QTest::addColumn<QString>("antes");
    QTest::addColumn<int>("borrar");
    QTest::addColumn<QString>("despues");
    QTest::addColumn<QString>("actual");

    QTest::newRow("primero") << "A|B|C" << 0 << "B|C" << "B";
    QTest::newRow("en medio") << "A|B|C" << 1 << "A|C" << "C";
    QTest::newRow("último") << "A|B|C" << 2 << "A|B" << "B";
    QTest::newRow("único") << "A" << 0 << "" << "";
}

void TstTabla::moverYBorrar()
{
    QFETCH(QString, antes);
    QFETCH(int, borrar);
    QFETCH(QString, despues);
    QFETCH(QString, actual);

    DatosPrueba datos;
    QVERIFY(datos.isValid());
    for (const QString &m : matriculas(antes))
        datos.addVehicle(m, 1, 1, 1000);
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto t = tabla(db, QStringLiteral("Matriculas.DAT"));
    QSignalSpy scroll(t.get(), &TTable::afterScroll);
    t->open();
    QCOMPARE(scroll.count(), 1);

    // Walk forward past the end and back, as reports and grids do.
    QStringList vistos;
    for (t->first(); !t->eof(); t->next())
        vistos << t->fieldByName(QStringLiteral("matricula"))->asString();
    QCOMPARE(vistos, matriculas(antes));
    QVERIFY(t->eof());
    t->last();
    t->prior();
    QCOMPARE(t->bof(), matriculas(antes).size() == 1);

    t->moveTo(borrar);
    scroll.clear();
    t->deleteRecord();
    QCOMPARE(columna(*t, QStringLiteral("MATRICULA")), matriculas(despues));
    QCOMPARE(t->fieldByName(QStringLiteral("MATRICULA"))->asString(), actual);
    QCOMPARE(scroll.count(), 1);
    if (despues.isEmpty()) {
        QVERIFY(t->isEmpty());
        QVERIFY(t->eof());
        QCOMPARE(t->recNo(), -1);
        const auto e = Capturar<EDBEngineError>([&] {
            t->deleteRecord();
        });
        QVERIFY2(e, "borrado en una tabla vacía");
        QCOMPARE(e->errorCode(), EngineCode::RecordNotFound);
    }
}

// A lookup without a match shows nothing, while the name stored with the vehicle stays.
void TstTabla::busquedaSinCoincidencia()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    const int marca = datos.addBrand(QStringLiteral("SERENA"));
    datos.addVehicle(QStringLiteral("CON"), marca, 0, 1000);
    datos.addVehicle(QStringLiteral("SIN"), marca, 0, 1000);
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto marcas = tabla(db, QStringLiteral("Marcas.DAT"));
    marcas->open();
    QVERIFY(marcas->locate(QStringLiteral("MARCA"), QStringLiteral("SERENA")));
    marcas->deleteRecord();
    const int otra = datos.addBrand(QStringLiteral("TAURUS"));
    marcas->refresh();

    auto vehiculos = tabla(db, QStringLiteral("Matriculas.DAT"), {"MATRICULA", "MARCA", "MARCA_S"});
    TField *sMarca = vehiculos->addLookupField(QStringLiteral("sMarca"), 20, QStringLiteral("MARCA"), marcas.get(),
                                               QStringLiteral("ORDENMARCA"), QStringLiteral("MARCA"));
    vehiculos->open();
    vehiculos->edit();
    vehiculos->fieldByName(QStringLiteral("MARCA"))->setAsInteger(otra);
    QCOMPARE(sMarca->asString(), QStringLiteral("TAURUS"));
    vehiculos->post();

    QCOMPARE(vehiculos->valueAt(0, sMarca).toString(), QStringLiteral("TAURUS"));
    vehiculos->next();
    QCOMPARE(sMarca->asString(), QString());
    QVERIFY(sMarca->isNull());
    QCOMPARE(vehiculos->valueAt(1, sMarca), QVariant());
    QCOMPARE(vehiculos->fieldByName(QStringLiteral("MARCA_S"))->asString(), QStringLiteral("SERENA"));
}

// The handler sees the record being calculated, for the current record and for
// any row a grid paints; each row is worked out once until the rows are read again.
void TstTabla::camposCalculados()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    datos.addTyres(QStringLiteral("A"), QDate(2024, 1, 1), 42500);
    datos.addTyres(QStringLiteral("A"), QDate(2024, 2, 1), 60000);
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto ruedas = tabla(db, QStringLiteral("Ruedas.DAT"));
    TField *km = ruedas->addCalculatedField(QStringLiteral("KmRueda"), TFieldType::Integer);
    int llamadas = 0;
    ruedas->setOnCalcFields([&](TTable &t) {
        ++llamadas;
        t.fieldByName(QStringLiteral("KmRueda"))->setAsInteger(50000 - t.fieldByName(QStringLiteral("KILOMETROS"))->asInteger());
    });
    ruedas->open();
    QCOMPARE(km->asInteger(), 7500);
    QCOMPARE(ruedas->valueAt(1, km).toInt(), -10000);
    QCOMPARE(ruedas->valueAt(0, km).toInt(), 7500);
    QCOMPARE(llamadas, 2);
    ruedas->next();
    QCOMPARE(km->asString(), QStringLiteral("-10000"));
    QCOMPARE(llamadas, 2);
    QVERIFY_THROWS_EXCEPTION(EDBEngineError, km->setAsInteger(1)); // written only by the handler

    ruedas->edit();
    ruedas->fieldByName(QStringLiteral("KILOMETROS"))->setAsInteger(49000);
    QCOMPARE(km->asInteger(), 1000);
    ruedas->cancel();
    QCOMPARE(km->asInteger(), -10000);
}

void TstTabla::localizar()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    datos.addVehicle(QStringLiteral("AB 1"), 1, 1, 1000);
    datos.addVehicle(QStringLiteral("AB 12"), 1, 1, 2000);
    datos.addVehicle(QStringLiteral("ab 1"), 1, 1, 3000);
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto t = tabla(db, QStringLiteral("Matriculas.DAT"));
    t->open();
    QSignalSpy scroll(t.get(), &TTable::afterScroll);
    QVERIFY(t->locate(QStringLiteral("Matricula"), QStringLiteral("ab 1")));
    QCOMPARE(t->recNo(), 2);
    QCOMPARE(scroll.count(), 1);
    QVERIFY(!t->locate(QStringLiteral("MATRICULA"), QStringLiteral("AB")));
    QVERIFY(!t->locate(QStringLiteral("KILOMETROS"), QStringLiteral("no es número")));
    QCOMPARE(t->recNo(), 2);
    QCOMPARE(scroll.count(), 1);
    QVERIFY(t->locate(QStringLiteral("kilometros"), 2000));
    QCOMPARE(t->fieldByName(QStringLiteral("MATRICULA"))->asString(), QStringLiteral("AB 12"));
    QVERIFY_THROWS_EXCEPTION(EDBEngineError, t->locate(QStringLiteral("BASTIDOR"), 1));
}

QTEST_GUILESS_MAIN(TstTabla)
#include "tst_tabla.moc"

void TstTabla::avisosDeEscritura_data()
{
    QTest::addColumn<QString>("operacion");
    QTest::addColumn<int>("guardados");
    QTest::addColumn<int>("borrados");
    QTest::addColumn<QString>("quedan");

    QTest::newRow("añadir") << "añadir" << 1 << 0 << "A|B|C";
    QTest::newRow("editar") << "editar" << 1 << 0 << "A|B";
    QTest::newRow("editar sin cambios") << "editar sin cambios" << 0 << 0 << "A|B";
    QTest::newRow("cancelar") << "cancelar" << 0 << 0 << "A|B";
    QTest::newRow("clave repetida") << "clave repetida" << 0 << 0 << "A|B";
    QTest::newRow("borrar") << "borrar" << 0 << 1 << "B";
    QTest::newRow("borrar el que se añade") << "borrar el que se añade" << 0 << 0 << "A|B";
}

// afterPost and afterDelete come once for each change that reached the file,
// and never for one that did not.
void TstTabla::avisosDeEscritura()
{
    QFETCH(QString, operacion);
    QFETCH(int, guardados);
    QFETCH(int, borrados);
    QFETCH(QString, quedan);

    DatosPrueba datos;
    QVERIFY(datos.isValid());
    datos.addVehicle(QStringLiteral("A"), 1, 1, 1000);
    datos.addVehicle(QStringLiteral("B"), 1, 1, 2000);
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto t = tabla(db, QStringLiteral("Matriculas.DAT"));
    t->open();
    QSignalSpy post(t.get(), &TTable::afterPost);
    QSignalSpy borrado(t.get(), &TTable::afterDelete);
    TField *matricula = t->fieldByName(QStringLiteral("MATRICULA"));
    TField *km = t->fieldByName(QStringLiteral("KILOMETROS"));

    if (operacion == QStringLiteral("añadir") || operacion == QLatin1String("clave repetida")) {
        t->append();
        matricula->setAsString(operacion == QStringLiteral("añadir") ? QStringLiteral("C") : QStringLiteral("B"));
        try {
            t->post();
        } catch (const EDBEngineError &e) {
            QCOMPARE(e.errorCode(), EngineCode::DuplicateKey);
            t->cancel();
        }
    } else if (operacion == QLatin1String("editar") || operacion == QLatin1String("cancelar")) {
        t->edit();
        km->setAsInteger(5000);
        operacion == QLatin1String("editar") ? t->post() : t->cancel();
    } else if (operacion == QLatin1String("editar sin cambios")) {
        t->edit();
        t->post();
    } else if (operacion == QLatin1String("borrar")) {
        t->deleteRecord();
    } else {
        t->append();
        t->deleteRecord();
    }
    QCOMPARE(post.count(), guardados);
    QCOMPARE(borrado.count(), borrados);
    QCOMPARE(columna(*t, QStringLiteral("MATRICULA")), matriculas(quedan));
}
