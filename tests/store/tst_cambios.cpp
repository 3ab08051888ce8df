// Change detection: which commits a table object notices before it reads, and
// two objects on one file, or a table and another program, seeing each other.
#include "AyudaTablas.h"
#include "Capturar.h"
#include "DatosPrueba.h"
#include "DeteccionCambios.h"
#include "Sqlite.h"

#include <QSignalSpy>
#include <QtTest>

using namespace store;

class TstCambios : public QObject
{
    Q_OBJECT

private slots:
    void cambiado_data();
    void cambiado();
    void dosObjetosEnUnFichero();
    void cambiosDeOtroPrograma_data();
    void cambiosDeOtroPrograma();
};

void TstCambios::cambiado_data()
{
    QTest::addColumn<QString>("quien");  // who commits: "nadie", "proceso" (another object here), "programa"
    QTest::addColumn<bool>("estricta");  // the store-wide switch
    QTest::addColumn<bool>("fichero");   // the start of a read rather than a step of a walk
    QTest::addColumn<bool>("cambiado");

    QTest::newRow("nadie") << "nadie" << true << true << false;
    QTest::newRow("este proceso, al dar un paso") << "proceso" << false << false << true;
    QTest::newRow("este proceso, estricta") << "proceso" << true << true << true;
    QTest::newRow("otro programa, sin estricta") << "programa" << false << true << false;
    QTest::newRow("otro programa, al dar un paso") << "programa" << true << false << false;
    QTest::newRow("otro programa, al empezar a leer") << "programa" << true << true << true;
}

// Commits through this process are always seen; other programs' only at the
// start of a read with strict detection on. Noting the rows read clears it.
void TstCambios::cambiado()
{
    QFETCH(QString, quien);
    QFETCH(bool, estricta);
    QFETCH(bool, fichero);
    QFETCH(bool, cambiado);

    DatosPrueba datos;
    QVERIFY(datos.isValid());
    const QString ruta = datos.ruta(QStringLiteral("Matriculas.DAT"));
    Conexion *con = abrirConexion(ruta, QStringLiteral("Matriculas.DAT"));
    DeteccionCambios cambios;
    cambios.vigilar(con, QStringLiteral("Matriculas.DAT"));
    cambios.anotar(con->cambios, cambios.version());

    if (quien == QLatin1String("proceso")) {
        TDatabase db;
        db.setDirectory(datos.carpeta());
        auto t = tabla(db, QStringLiteral("Matriculas.DAT"));
        t->open();
        t->append();
        t->fieldByName(QStringLiteral("MATRICULA"))->setAsString(QStringLiteral("A"));
        t->post();
    } else if (quien == QLatin1String("programa")) {
        otroPrograma(ruta, QStringLiteral("INSERT INTO Matriculas (MATRICULA) VALUES ('A')"));
    }
    TableStore::setStrictChangeDetection(estricta);
    QCOMPARE(cambios.cambiado(fichero), cambiado);
    cambios.anotar(con->cambios, cambios.version());
    QVERIFY(!cambios.cambiado(true));
    TableStore::setStrictChangeDetection(false);
    cambios.soltar();
    soltarConexion(con);
}

// Two objects on one file: each keeps its position, sees what the other posted on
// its next read, and neither blocks the other while it browses.
void TstCambios::dosObjetosEnUnFichero()
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
    const auto e = Capturar<EDBEngineError>([&] {
        dos->edit();
    });
    QVERIFY2(e, "edición de un registro borrado");
    QCOMPARE(e->errorCode(), EngineCode::RecordDeleted);
    QCOMPARE(dos->state(), TDataSetState::Browse);
    QCOMPARE(columna(*dos, QStringLiteral("MATRICULA")), (QStringList{"A", "B", "E"}));
}

void TstCambios::cambiosDeOtroPrograma_data()
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
void TstCambios::cambiosDeOtroPrograma()
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

QTEST_GUILESS_MAIN(TstCambios)
#include "tst_cambios.moc"
