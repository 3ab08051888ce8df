// The filter parser, and filters applied to a table object: quotes in plates,
// exact texts, numbers, and refusals that leave the table as it was.
#include "AyudaTablas.h"
#include "Capturar.h"
#include "DatosPrueba.h"
#include "Filtro.h"

#include <QtTest>

using namespace store;

class TstFiltro : public QObject
{
    Q_OBJECT

private slots:
    void leerFiltro_data();
    void leerFiltro();
    void valorComparado_data();
    void valorComparado();
    void filtro_data();
    void filtro();
    void filtroRechazado_data();
    void filtroRechazado();
};

void TstFiltro::leerFiltro_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("campo"); // empty: no filter
    QTest::addColumn<QVariant>("valor");

    QTest::newRow("texto") << "Matricula = '1234ABC'" << "Matricula" << QVariant(QStringLiteral("1234ABC"));
    QTest::newRow("comilla doblada") << "MATRICULA='O''NEIL'" << "MATRICULA" << QVariant(QStringLiteral("O'NEIL"));
    QTest::newRow("texto vacío") << "Estado = ''" << "Estado" << QVariant(QString());
    QTest::newRow("blancos dentro del texto") << "Estado = ' P '" << "Estado" << QVariant(QStringLiteral(" P "));
    QTest::newRow("entero") << "  Marca = 7  " << "Marca" << QVariant(qint64(7));
    QTest::newRow("entero negativo") << "Marca = -7" << "Marca" << QVariant(qint64(-7));
    QTest::newRow("número con punto") << "Kilometros = 2.5" << "Kilometros" << QVariant(2.5);
    QTest::newRow("entero enorme") << "Kilometros = 99999999999999999999" << "Kilometros" << QVariant(1e20);
    QTest::newRow("en blanco") << "   " << "" << QVariant();
}

void TstFiltro::leerFiltro()
{
    QFETCH(QString, texto);
    QFETCH(QString, campo);
    QFETCH(QVariant, valor);

    const Filtro f = store::leerFiltro(texto, QStringLiteral("Matriculas.DAT"));
    QCOMPARE(f.campo, campo);
    QCOMPARE(f.vacio(), campo.isEmpty());
    QCOMPARE(f.valor.typeId(), valor.typeId());
    QCOMPARE(f.valor, valor);
}

void TstFiltro::valorComparado_data()
{
    QTest::addColumn<QVariant>("valor"); // as the parser gives it
    QTest::addColumn<int>("tipo");       // of the column compared
    QTest::addColumn<QVariant>("comparado");

    const int texto = int(TFieldType::Text), entero = int(TFieldType::Integer), real = int(TFieldType::Float),
              fecha = int(TFieldType::Date);
    QTest::newRow("texto en texto") << QVariant(QStringLiteral("P")) << texto << QVariant(QStringLiteral("P"));
    QTest::newRow("número en texto") << QVariant(qint64(7)) << texto << QVariant(QStringLiteral("7"));
    QTest::newRow("entero en entero") << QVariant(qint64(7)) << entero << QVariant(qint64(7));
    QTest::newRow("texto numérico en entero") << QVariant(QStringLiteral("1.500")) << entero << QVariant(qint64(1500));
    QTest::newRow("real entero en entero") << QVariant(2.0) << entero << QVariant(qint64(2));
    QTest::newRow("real en entero") << QVariant(2.5) << entero << QVariant(2.5);
    QTest::newRow("real entero en real") << QVariant(2.0) << real << QVariant(2.0);
    QTest::newRow("real enorme en entero") << QVariant(1e20) << entero << QVariant(1e20);
    QTest::newRow("texto no numérico en entero") << QVariant(QStringLiteral("siete")) << entero << QVariant(QStringLiteral("siete"));
    QTest::newRow("fecha tecleada") << QVariant(QStringLiteral("7/3/2024")) << fecha << QVariant(QStringLiteral("2024-03-07"));
    QTest::newRow("fecha guardada") << QVariant(QStringLiteral("2024-03-07")) << fecha << QVariant(QStringLiteral("2024-03-07"));
    QTest::newRow("no es fecha") << QVariant(QStringLiteral("ayer")) << fecha << QVariant(QStringLiteral("ayer"));
}

// The value bound against the column: typed as the column compares it.
void TstFiltro::valorComparado()
{
    QFETCH(QVariant, valor);
    QFETCH(int, tipo);
    QFETCH(QVariant, comparado);

    const QVariant v = store::valorComparado(valor, TFieldType(tipo));
    QCOMPARE(v.typeId(), comparado.typeId());
    QCOMPARE(v, comparado);
}

void TstFiltro::filtro_data()
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
void TstFiltro::filtro()
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

void TstFiltro::filtroRechazado_data()
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
void TstFiltro::filtroRechazado()
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
    const auto e = Capturar<EDBEngineError>([&] {
        t->setFilter(texto);
    });
    QVERIFY2(e, "filtro aceptado");
    QVERIFY2(e->message().contains(QLatin1String("Matriculas.DAT")), qPrintable(e->message()));
    QCOMPARE(t->filter(), QStringLiteral("Matricula = 'B'"));
    QCOMPARE(columna(*t, QStringLiteral("MATRICULA")), QStringList{QStringLiteral("B")});
    t->setFiltered(false);
    QCOMPARE(t->recordCount(), 2);
}

QTEST_GUILESS_MAIN(TstFiltro)
#include "tst_filtro.moc"
