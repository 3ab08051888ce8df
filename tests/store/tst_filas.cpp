// The row cache: stored values read into columns, the identity of each row's
// record, lookups over a column, and what repeated texts cost.
#include "Filas.h"

#include <QtTest>

#include <sqlite3.h>

using namespace store;

namespace {

// An in-memory file with one table T (columns V, declared with `tipoSql`, and W
// text) and the statement that reads it as a table object does.
class Memoria
{
public:
    explicit Memoria(const QString &tipoSql)
    {
        sqlite3_open(":memory:", &m_db);
        ejecutar(QStringLiteral("CREATE TABLE T (V %1, W TEXT)").arg(tipoSql));
    }
    ~Memoria()
    {
        sqlite3_finalize(m_st);
        sqlite3_close(m_db);
    }
    bool ejecutar(const QString &sql)
    {
        return sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    sqlite3_stmt *lectura(const char *sql = "SELECT rowid, V, W FROM T ORDER BY rowid")
    {
        sqlite3_finalize(m_st);
        m_st = nullptr;
        sqlite3_prepare_v2(m_db, sql, -1, &m_st, nullptr);
        return m_st;
    }

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_st = nullptr;
};

} // namespace

class TstFilas : public QObject
{
    Q_OBJECT

private slots:
    void leer_data();
    void leer();
    void identidad();
    void buscarClave_data();
    void buscarClave();
    void textosRepetidos();
};

void TstFilas::leer_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("tipoSql");
    QTest::addColumn<QString>("guardado"); // SQL literal
    QTest::addColumn<QVariant>("leido");   // invalid QVariant: empty

    const int texto = int(TFieldType::Text), entero = int(TFieldType::Integer), real = int(TFieldType::Float),
              fecha = int(TFieldType::Date), memo = int(TFieldType::Memo);
    QTest::newRow("texto") << texto << "VARCHAR(20)" << "'PÉREZ'" << QVariant(QStringLiteral("PÉREZ"));
    QTest::newRow("marca corta") << texto << "VARCHAR(1)" << "'X'" << QVariant(QStringLiteral("X"));
    QTest::newRow("texto vacío") << texto << "VARCHAR(20)" << "''" << QVariant(QString());
    QTest::newRow("texto nulo") << texto << "VARCHAR(20)" << "NULL" << QVariant();
    QTest::newRow("memo") << memo << "TEXT" << "'línea 1\nlínea 2'" << QVariant(QStringLiteral("línea 1\nlínea 2"));
    QTest::newRow("entero") << entero << "INTEGER" << "-42" << QVariant(-42);
    QTest::newRow("entero nulo") << entero << "INTEGER" << "NULL" << QVariant();
    QTest::newRow("real") << real << "DOUBLE" << "1234.5" << QVariant(1234.5);
    QTest::newRow("fecha") << fecha << "DATE" << "'2024-03-07'" << QVariant(QDate(2024, 3, 7));
    QTest::newRow("fecha inexistente") << fecha << "DATE" << "'2024-02-30'" << QVariant();
    QTest::newRow("fecha con signos") << fecha << "DATE" << "'2024-01-0:'" << QVariant();
    QTest::newRow("fecha en otra forma") << fecha << "DATE" << "'07/03/2024'" << QVariant();
    QTest::newRow("fecha nula") << fecha << "DATE" << "NULL" << QVariant();
}

// Each value is read as its type holds it, also where a row repeats the
// previous one's text or another row's, and where other values come between.
void TstFilas::leer()
{
    QFETCH(int, tipo);
    QFETCH(QString, tipoSql);
    QFETCH(QString, guardado);
    QFETCH(QVariant, leido);

    Memoria m(tipoSql);
    QVERIFY(m.ejecutar(QStringLiteral("INSERT INTO T VALUES (%1, 'a'), (%1, 'a'), (NULL, 'b'), (%1, 'X')").arg(guardado)));
    Filas f;
    f.anadirColumna(TFieldType(tipo), 0);
    f.anadirColumna(TFieldType::Text, 1);
    QCOMPARE(f.leer(m.lectura()), SQLITE_DONE);
    QCOMPARE(f.cuenta(), 4);
    for (int fila : {0, 1, 3}) {
        const QVariant v = f.celda(fila, 0);
        QCOMPARE(v.isValid(), leido.isValid());
        QCOMPARE(v, leido);
    }
    QVERIFY(!f.celda(2, 0).isValid());
    QCOMPARE(f.celda(3, 1).toString(), QStringLiteral("X"));
    QVERIFY(!f.celda(4, 0).isValid());
    QVERIFY(!f.celda(-1, 0).isValid());
}

// Rows carry their record's identity; a row read again takes the stored values
// and the lookups see them.
void TstFilas::identidad()
{
    Memoria m(QStringLiteral("INTEGER"));
    QVERIFY(m.ejecutar(QStringLiteral("INSERT INTO T (rowid, V, W) VALUES (9, 90, 'nueve'), (2, 20, 'dos'), (5, 50, 'cinco')")));
    Filas f;
    f.anadirColumna(TFieldType::Integer, 0);
    f.anadirColumna(TFieldType::Text, 1);
    QCOMPARE(f.leer(m.lectura()), SQLITE_DONE);
    QCOMPARE(f.id(0), qint64(2));
    QCOMPARE(f.id(2), qint64(9));
    QCOMPARE(f.id(3), kSinRegistro);
    QCOMPARE(f.id(-1), kSinRegistro);
    QCOMPARE(f.buscar(9), 2);
    QCOMPARE(f.buscar(7), -1);
    QCOMPARE(f.buscarClave(1, QStringLiteral("cinco")), 1);

    QVERIFY(m.ejecutar(QStringLiteral("UPDATE T SET V = 55, W = 'cincuenta' WHERE rowid = 5")));
    sqlite3_stmt *una = m.lectura("SELECT V, W FROM T WHERE rowid = 5");
    QCOMPARE(sqlite3_step(una), SQLITE_ROW);
    f.releer(1, una);
    QCOMPARE(f.celda(1, 0), QVariant(55));
    QCOMPARE(f.celda(1, 1), QVariant(QStringLiteral("cincuenta")));
    QCOMPARE(f.celda(0, 1), QVariant(QStringLiteral("dos")));
    QCOMPARE(f.buscarClave(1, QStringLiteral("cinco")), -1);
    QCOMPARE(f.buscarClave(1, QStringLiteral("cincuenta")), 1);

    QVERIFY(m.ejecutar(QStringLiteral("DELETE FROM T WHERE rowid = 2")));
    QCOMPARE(f.leer(m.lectura()), SQLITE_DONE);
    QCOMPARE(f.buscar(9), 1);
    QCOMPARE(f.buscar(2), -1);
}

void TstFilas::buscarClave_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("tipoSql");
    QTest::addColumn<QVariant>("clave");
    QTest::addColumn<int>("fila");

    const int entero = int(TFieldType::Integer), texto = int(TFieldType::Text), fecha = int(TFieldType::Date);
    QTest::newRow("entero") << entero << "INTEGER" << QVariant(2) << 1;
    QTest::newRow("entero largo") << entero << "INTEGER" << QVariant(qint64(2)) << 1;
    QTest::newRow("real entero") << entero << "INTEGER" << QVariant(2.0) << 1;
    QTest::newRow("real con decimales") << entero << "INTEGER" << QVariant(2.5) << -1;
    QTest::newRow("texto contra número") << entero << "INTEGER" << QVariant(QStringLiteral("2")) << -1;
    QTest::newRow("el primero gana") << entero << "INTEGER" << QVariant(3) << 2;
    QTest::newRow("ninguno") << entero << "INTEGER" << QVariant(8) << -1;
    QTest::newRow("texto") << texto << "VARCHAR(5)" << QVariant(QStringLiteral("2")) << 1;
    QTest::newRow("fecha") << fecha << "DATE" << QVariant(QDate(2024, 1, 2)) << 1;
}

// The first row holding a key, numbers equal whatever their type.
void TstFilas::buscarClave()
{
    QFETCH(int, tipo);
    QFETCH(QString, tipoSql);
    QFETCH(QVariant, clave);
    QFETCH(int, fila);

    Memoria m(tipoSql);
    const bool fechas = TFieldType(tipo) == TFieldType::Date;
    QVERIFY(m.ejecutar(fechas ? QStringLiteral("INSERT INTO T (V) VALUES ('2024-01-01'), ('2024-01-02'), ('2024-01-03')")
                              : QStringLiteral("INSERT INTO T (V) VALUES (1), (2), (3), (3)")));
    Filas f;
    f.anadirColumna(TFieldType(tipo), 0);
    QCOMPARE(f.leer(m.lectura()), SQLITE_DONE);
    QCOMPARE(f.buscarClave(0, clave), fila);
}

// A table read again and again (a detail following its master, a refresh after
// every post) keeps a bounded number of texts, and flags stay shared.
void TstFilas::textosRepetidos()
{
    Memoria m(QStringLiteral("VARCHAR(12)"));
    for (int i = 0; i < 100; ++i)
        QVERIFY(m.ejecutar(QStringLiteral("INSERT INTO T VALUES ('%1ABC', '%2')").arg(i, 4, 10, QLatin1Char('0')).arg(i % 3 ? "X" : "")));
    Filas f;
    f.anadirColumna(TFieldType::Text, 0);
    f.anadirColumna(TFieldType::Text, 1);
    for (int vez = 0; vez < 50; ++vez) {
        QCOMPARE(f.leer(m.lectura()), SQLITE_DONE);
        QCOMPARE(f.celda(99, 0).toString(), QStringLiteral("0099ABC"));
        QCOMPARE(f.celda(1, 1).toString(), QStringLiteral("X"));
    }
    QVERIFY2(f.textosGuardados(0) <= 3 * 100 + 64, qPrintable(QString::number(f.textosGuardados(0))));
    QCOMPARE(f.textosGuardados(1), size_t(2)); // the empty text and "X"
}

QTEST_GUILESS_MAIN(TstFilas)
#include "tst_filas.moc"
