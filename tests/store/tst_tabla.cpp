// Table objects: moving, deleting, filters, master-detail, lookups, calculated
// fields, editing and two objects on one file.
#include "DatosPrueba.h"
#include "Table.h"

#include <QSignalSpy>
#include <QtTest>

#include <sqlite3.h>

#include <memory>

namespace {

std::unique_ptr<TTable> tabla(TDatabase &db, const QString &nombre, const QStringList &campos = {})
{
    auto t = std::make_unique<TTable>();
    t->setDatabase(&db);
    t->setTableName(nombre);
    for (const QString &c : campos)
        t->addField(c);
    return t;
}

QStringList columna(TTable &t, const QString &campo)
{
    QStringList r;
    const TField *f = t.fieldByName(campo);
    for (int i = 0; i < t.recordCount(); ++i)
        r << t.valueAt(i, f).toString();
    return r;
}

QStringList matriculas(const QString &lista)
{
    return lista.isEmpty() ? QStringList() : lista.split(QLatin1Char('|'));
}

// Runs SQL on the file through a connection of its own, as another program would.
void otroPrograma(const QString &ruta, const QString &sql)
{
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(ruta).constData(), &db), SQLITE_OK);
    char *err = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    const QString texto = QString::fromUtf8(err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
    QVERIFY2(rc == SQLITE_OK, qPrintable(texto));
}

} // namespace

class TestTabla : public QObject
{
    Q_OBJECT

private slots:
    void moverYBorrar_data();
    void moverYBorrar();
    void filtro_data();
    void filtro();
    void filtroRechazado_data();
    void filtroRechazado();
    void detalleSigueAlMaestro();
    void detalleLeidoDespues_data();
    void detalleLeidoDespues();
    void detalleConClaveNumerica();
    void detalleFiltrado();
    void maestroDestruidoAntes();
    void busquedaSinCoincidencia();
    void camposCalculados();
    void localizar();
    void conversiones_data();
    void conversiones();
    void edicionFallidaYCancelar();
    void dosObjetosEnUnFichero();
    void cambiosDeOtroPrograma_data();
    void cambiosDeOtroPrograma();
};

// Deleting makes the following record current, the previous one after the last,
// and leaves an empty object at its end when the only record goes.
void TestTabla::moverYBorrar_data()
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

void TestTabla::moverYBorrar()
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
        try {
            t->deleteRecord();
            QFAIL("borrado en una tabla vacía");
        } catch (const EDBEngineError &e) {
            QCOMPARE(e.errorCode(), EngineCode::RecordNotFound);
        }
    }
}

void TestTabla::filtro_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("visibles");

    QTest::newRow("comilla doblada") << "Matricula = 'O''NEIL 1'" << "O'NEIL 1";
    QTest::newRow("texto completo, no prefijo") << "MATRICULA = 'O'" << "";
    QTest::newRow("mayúsculas exactas") << "matricula = 'b 2'" << "";
    QTest::newRow("número") << "Kilometros = 2000" << "B 2|C 3";
    QTest::newRow("número con espacios") << "  KILOMETROS=1000  " << "O'NEIL 1";
    QTest::newRow("entero contra texto") << "Marca = '7'" << "C 3";
    QTest::newRow("sin coincidencia") << "Kilometros = 5" << "";
}

// The filter is parsed and its value bound: quotes in plates, exact texts, numbers.
void TestTabla::filtro()
{
    QFETCH(QString, texto);
    QFETCH(QString, visibles);

    DatosPrueba datos;
    QVERIFY(datos.isValid());
    datos.addVehicle(QStringLiteral("O'NEIL 1"), 1, 1, 1000);
    datos.addVehicle(QStringLiteral("B 2"), 1, 1, 2000);
    datos.addVehicle(QStringLiteral("C 3"), 7, 1, 2000);
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto t = tabla(db, QStringLiteral("Matriculas.DAT"));
    t->open();
    t->last();
    t->setFilter(texto);
    QCOMPARE(t->recordCount(), 3); // not applied until switched on
    t->setFiltered(true);
    QCOMPARE(columna(*t, QStringLiteral("MATRICULA")), matriculas(visibles));
    QCOMPARE(t->recNo(), visibles.isEmpty() ? -1 : 0);
    QCOMPARE(t->eof(), visibles.isEmpty());
    t->setFiltered(false);
    QCOMPARE(t->recordCount(), 3);
}

void TestTabla::filtroRechazado_data()
{
    QTest::addColumn<QString>("texto");

    QTest::newRow("sql añadido") << "Matricula = 'A' OR 1 = 1";
    QTest::newRow("sentencia añadida") << "Matricula = 'A'; DELETE FROM Matriculas";
    QTest::newRow("comilla sin cerrar") << "Matricula = 'A";
    QTest::newRow("comilla suelta dentro") << "Matricula = 'O'NEIL'";
    QTest::newRow("otro operador") << "Matricula LIKE 'A%'";
    QTest::newRow("sin valor") << "Matricula =";
    QTest::newRow("campo desconocido") << "Bastidor = 'A'";
    QTest::newRow("campo entre comillas") << "\"Matricula\" = 'A'";
}

// Anything outside "Campo = 'texto'" or "Campo = número" is refused, and the
// table keeps its filter and its records.
void TestTabla::filtroRechazado()
{
    QFETCH(QString, texto);

    DatosPrueba datos;
    QVERIFY(datos.isValid());
    datos.addVehicle(QStringLiteral("A"), 1, 1, 1000);
    datos.addVehicle(QStringLiteral("B"), 1, 1, 1000);
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto t = tabla(db, QStringLiteral("Matriculas.DAT"));
    t->setFilter(QStringLiteral("Matricula = 'B'"));
    t->setFiltered(true);
    t->open();
    try {
        t->setFilter(texto);
        QFAIL("filtro aceptado");
    } catch (const EDBEngineError &e) {
        QVERIFY2(e.message().contains(QLatin1String("Matriculas.DAT")), qPrintable(e.message()));
    }
    QCOMPARE(t->filter(), QStringLiteral("Matricula = 'B'"));
    QCOMPARE(columna(*t, QStringLiteral("MATRICULA")), QStringList{QStringLiteral("B")});
    t->setFiltered(false);
    QCOMPARE(t->recordCount(), 2);
}

// Opened before its master (as at start-up), a detail shows the current vehicle's
// records in date order, follows every move, and a new record carries the plate.
void TestTabla::detalleSigueAlMaestro()
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

void TestTabla::detalleLeidoDespues_data()
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
void TestTabla::detalleLeidoDespues()
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

void TestTabla::detalleConClaveNumerica()
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

// Owners may destroy a master before a detail that was never opened (or was
// closed): the detail must forget it instead of keeping a dangling link.
void TestTabla::maestroDestruidoAntes()
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

// A filter applies inside the master's range, and both follow their changes.
void TestTabla::detalleFiltrado()
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

// A lookup without a match shows nothing, while the name stored with the vehicle stays.
void TestTabla::busquedaSinCoincidencia()
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
void TestTabla::camposCalculados()
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

void TestTabla::localizar()
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

void TestTabla::conversiones_data()
{
    QTest::addColumn<QString>("tabla");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("escrito");
    QTest::addColumn<QString>("leido");
    QTest::addColumn<bool>("aceptado");

    QTest::newRow("fecha") << "Averias.DAT" << "FECHAINICIO" << "7/3/2024" << "07/03/2024" << true;
    QTest::newRow("fecha imposible") << "Averias.DAT" << "FECHAINICIO" << "31/02/2024" << "" << false;
    QTest::newRow("fecha vacía") << "Averias.DAT" << "FECHAFIN" << "" << "" << true;
    QTest::newRow("real con miles y decimales") << "Averias.DAT" << "IMPORTE" << "1.234,5" << "1234,5" << true;
    QTest::newRow("real sin decimales") << "Averias.DAT" << "IMPORTE" << "80" << "80" << true;
    QTest::newRow("real no numérico") << "Averias.DAT" << "IMPORTE" << "mucho" << "" << false;
    QTest::newRow("entero con miles") << "Averias.DAT" << "KILOMETROS" << "123.456" << "123456" << true;
    QTest::newRow("entero con millones") << "Averias.DAT" << "KILOMETROS" << "1.234.567" << "1234567" << true;
    // "." only ever groups thousands: a broken group is refused, never read as decimals.
    QTest::newRow("grupo roto") << "Averias.DAT" << "KILOMETROS" << "15.0000" << "" << false;
    QTest::newRow("grupo corto") << "Averias.DAT" << "IMPORTE" << "1.5" << "" << false;
    QTest::newRow("texto no ASCII") << "Averias.DAT" << "AVERIA" << "Pérdida de aceite en el cárter" << "Pérdida de aceite en el cárter" << true;
    QTest::newRow("texto al límite") << "Averias.DAT" << "MATRICULA" << "123456789012" << "123456789012" << true;
    QTest::newRow("texto demasiado largo") << "Averias.DAT" << "MATRICULA" << "1234567890123" << "" << false;
    QTest::newRow("un carácter") << "Averias.DAT" << "ESTADO" << "PC" << "" << false;
}

// What is written is what is read back from the file; a refused value leaves
// the pending record and the file as they were.
void TestTabla::conversiones()
{
    QFETCH(QString, tabla);
    QFETCH(QString, campo);
    QFETCH(QString, escrito);
    QFETCH(QString, leido);
    QFETCH(bool, aceptado);

    DatosPrueba datos;
    QVERIFY(datos.isValid());
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto t = ::tabla(db, tabla);
    t->open();
    t->append();
    TField *f = t->fieldByName(campo);
    try {
        f->setAsString(escrito);
        QVERIFY2(aceptado, "valor aceptado");
    } catch (const EDBEngineError &e) {
        QVERIFY2(!aceptado, qPrintable(e.message()));
        QVERIFY(e.message().contains(campo));
        QVERIFY(f->isNull());
    }
    t->post();
    auto otra = ::tabla(db, tabla);
    otra->open();
    QCOMPARE(otra->recordCount(), 1);
    QCOMPARE(otra->fieldByName(campo)->asString(), leido);
}

// A failed post keeps the pending record; cancel with nothing pending does nothing.
void TestTabla::edicionFallidaYCancelar()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    datos.addVehicle(QStringLiteral("A"), 1, 1, 1000);
    datos.addVehicle(QStringLiteral("B"), 1, 1, 2000);
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto t = tabla(db, QStringLiteral("Matriculas.DAT"));
    t->open();
    t->next();

    QSignalSpy estado(t.get(), &TTable::stateChanged);
    QSignalSpy scroll(t.get(), &TTable::afterScroll);
    t->cancel();
    QCOMPARE(estado.count(), 0);
    QCOMPARE(scroll.count(), 0);
    QCOMPARE(t->recNo(), 1);

    t->append();
    t->fieldByName(QStringLiteral("MATRICULA"))->setAsString(QStringLiteral("A"));
    try {
        t->post();
        QFAIL("matrícula repetida aceptada");
    } catch (const EDBEngineError &e) {
        QCOMPARE(e.errorCode(), EngineCode::DuplicateKey);
    }
    QCOMPARE(t->state(), TDataSetState::Insert);
    t->fieldByName(QStringLiteral("MATRICULA"))->setAsString(QStringLiteral("C"));
    t->post();
    QCOMPARE(t->state(), TDataSetState::Browse);
    QCOMPARE(t->recordCount(), 3);
    QCOMPARE(t->fieldByName(QStringLiteral("MATRICULA"))->asString(), QStringLiteral("C"));

    t->first();
    t->edit();
    t->fieldByName(QStringLiteral("MATRICULA"))->setAsString(QStringLiteral("B"));
    QVERIFY_THROWS_EXCEPTION(EDBEngineError, t->post());
    QCOMPARE(t->state(), TDataSetState::Edit);
    QCOMPARE(t->fieldByName(QStringLiteral("MATRICULA"))->asString(), QStringLiteral("B"));
    t->cancel();
    QCOMPARE(t->state(), TDataSetState::Browse);
    QCOMPARE(t->fieldByName(QStringLiteral("MATRICULA"))->asString(), QStringLiteral("A"));
    QVERIFY_THROWS_EXCEPTION(EDBEngineError, t->fieldByName(QStringLiteral("KILOMETROS"))->setAsInteger(5));
}

// Two objects on one file: each keeps its position, sees what the other posted on
// its next read, and neither blocks the other while it browses.
void TestTabla::dosObjetosEnUnFichero()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    for (const char *m : {"A", "B", "C", "D"})
        datos.addVehicle(QString::fromLatin1(m), 1, 1, 1000);
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto uno = tabla(db, QStringLiteral("Matriculas.DAT"));
    auto dos = tabla(db, QStringLiteral("Matriculas.DAT"));
    uno->open();
    dos->open();
    uno->moveTo(2);
    dos->next();

    dos->edit();
    dos->fieldByName(QStringLiteral("KILOMETROS"))->setAsInteger(5000);
    dos->post();
    dos->append();
    dos->fieldByName(QStringLiteral("MATRICULA"))->setAsString(QStringLiteral("E"));
    dos->post();
    QCOMPARE(uno->fieldByName(QStringLiteral("MATRICULA"))->asString(), QStringLiteral("C"));

    uno->prior();
    QCOMPARE(uno->fieldByName(QStringLiteral("MATRICULA"))->asString(), QStringLiteral("B"));
    QCOMPARE(uno->fieldByName(QStringLiteral("KILOMETROS"))->asInteger(), 5000);
    QCOMPARE(uno->recordCount(), 5);

    // The other deletes the record this one stands on: it moves to the next.
    uno->next();
    dos->first();
    QVERIFY(dos->locate(QStringLiteral("MATRICULA"), QStringLiteral("C")));
    dos->deleteRecord();
    uno->refresh();
    QCOMPARE(uno->fieldByName(QStringLiteral("MATRICULA"))->asString(), QStringLiteral("D"));

    // Editing a record someone else deleted is refused with its own code.
    QVERIFY(dos->locate(QStringLiteral("MATRICULA"), QStringLiteral("D")));
    uno->deleteRecord();
    try {
        dos->edit();
        QFAIL("edición de un registro borrado");
    } catch (const EDBEngineError &e) {
        QCOMPARE(e.errorCode(), EngineCode::RecordDeleted);
    }
    QCOMPARE(dos->state(), TDataSetState::Browse);
    QCOMPARE(columna(*dos, QStringLiteral("MATRICULA")), (QStringList{"A", "B", "E"}));
}

void TestTabla::cambiosDeOtroPrograma_data()
{
    QTest::addColumn<QString>("lectura"); // what starts reading again
    QTest::addColumn<QString>("actual");  // the current record afterwards
    QTest::newRow("primero") << "first" << "B";
    QTest::newRow("comprobación pedida") << "checkForChanges" << "A";
}

// With strict change detection a commit by another program is seen when a read
// starts again (first, last, locate, a jump to a row, or when asked for), never
// behind a grid's back; asked for, the current record stays. Record identities
// follow storing order.
void TestTabla::cambiosDeOtroPrograma()
{
    QFETCH(QString, lectura);
    QFETCH(QString, actual);
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    datos.addVehicle(QStringLiteral("B"), 1, 1, 1000);
    datos.addVehicle(QStringLiteral("A"), 1, 1, 1000);
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto t = tabla(db, QStringLiteral("Matriculas.DAT"));
    TableStore::setStrictChangeDetection(true);
    t->open();
    t->next();
    QSignalSpy reset(t.get(), &TTable::rowsReset);
    otroPrograma(datos.ruta(QStringLiteral("Matriculas.DAT")),
                 QStringLiteral("INSERT INTO Matriculas (MATRICULA) VALUES ('C');"
                                "UPDATE Matriculas SET KILOMETROS = 7 WHERE MATRICULA = 'A'"));
    QCOMPARE(t->recordCount(), 2);
    t->next();
    QCOMPARE(t->recordCount(), 2); // stepping on does not look at the file
    QCOMPARE(t->fieldByName(QStringLiteral("MATRICULA"))->asString(), QStringLiteral("A"));

    if (lectura == QLatin1String("first"))
        t->first();
    else
        t->checkForChanges();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(columna(*t, QStringLiteral("MATRICULA")), (QStringList{"B", "A", "C"}));
    QCOMPARE(t->fieldByName(QStringLiteral("MATRICULA"))->asString(), actual);
    QCOMPARE(t->valueAt(1, t->fieldByName(QStringLiteral("KILOMETROS"))).toInt(), 7);
    QVERIFY(t->recordId(0) < t->recordId(1) && t->recordId(1) < t->recordId(2));
    QCOMPARE(t->recordId(3), qint64(-1));
    t->checkForChanges(); // nothing new: nothing read
    QCOMPARE(reset.count(), 1);
    TableStore::setStrictChangeDetection(false);
}

QTEST_GUILESS_MAIN(TestTabla)
#include "tst_tabla.moc"
