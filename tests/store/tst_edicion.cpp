// The edit buffer: what a post sends to the file for an edit and an append, what
// it leaves alone, and how it fails; and a table object's pending record through
// failed posts and cancels.
#include "AyudaTablas.h"
#include "BufferEdicion.h"
#include "Capturar.h"
#include "DatosPrueba.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace store;

namespace {

// A file with one table T: an auto-increment key, a text with a unique index, an
// integer with a default and a date, and one record (1, 'uno', 10, 2024-01-01).
class Fichero
{
public:
    Fichero()
    {
        m_ruta = m_dir.filePath(QStringLiteral("T.DAT"));
        sqlite3_open(QFile::encodeName(m_ruta).constData(), &m_db);
        sqlite3_exec(m_db,
                     "CREATE TABLE T (ID INTEGER PRIMARY KEY AUTOINCREMENT, A VARCHAR(10), N INTEGER DEFAULT 7, F DATE);"
                     "CREATE UNIQUE INDEX Clave_A ON T (A);"
                     "INSERT INTO T (A, N, F) VALUES ('uno', 10, '2024-01-01')",
                     nullptr, nullptr, nullptr);
    }
    ~Fichero() { sqlite3_close(m_db); }
    sqlite3 *db() const { return m_db; }
    QString ruta() const { return m_ruta; }
    // Every record as "ID|A|N|F", empty values as "-".
    QStringList registros() const
    {
        QStringList r;
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(m_db, "SELECT ID, A, N, F FROM T ORDER BY ID", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList campos;
            for (int i = 0; i < 4; ++i)
                campos << (sqlite3_column_type(st, i) == SQLITE_NULL
                               ? QStringLiteral("-")
                               : QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i))));
            r << campos.join(QLatin1Char('|'));
        }
        sqlite3_finalize(st);
        return r;
    }

private:
    QTemporaryDir m_dir;
    QString m_ruta;
    sqlite3 *m_db = nullptr;
};

// "A=dos;N=" into the buffer's columns A (0), N (1) and F (2); "N=" writes an empty value.
void escribir(BufferEdicion &b, const QString &escritos)
{
    const QStringList columnas{QStringLiteral("A"), QStringLiteral("N"), QStringLiteral("F")};
    for (const QString &par : escritos.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString nombre = par.section(QLatin1Char('='), 0, 0), valor = par.section(QLatin1Char('='), 1);
        const int col = columnas.indexOf(nombre);
        QVariant v;
        if (!valor.isEmpty())
            v = col == 1 ? QVariant(valor.toInt()) : col == 2 ? QVariant(QDate::fromString(valor, Qt::ISODate)) : QVariant(valor);
        b.escribir(col, v);
    }
}

} // namespace

class TstEdicion : public QObject
{
    Q_OBJECT

private slots:
    void guardar_data();
    void guardar();
    void edicionFallidaYCancelar();
};

void TstEdicion::guardar_data()
{
    QTest::addColumn<QString>("operacion"); // "editar" record 1, or "anadir"
    QTest::addColumn<QString>("escritos");
    QTest::addColumn<QString>("antes");     // SQL another program runs before the post
    QTest::addColumn<QString>("registros"); // the file afterwards
    QTest::addColumn<bool>("escrito");      // something reached the file
    QTest::addColumn<int>("codigo");        // engine error, 0 when none

    const int borrado = EngineCode::RecordDeleted, duplicada = EngineCode::DuplicateKey;
    QTest::newRow("edición de un valor") << "editar" << "N=11" << "" << "1|uno|11|2024-01-01" << true << 0;
    QTest::newRow("lo no escrito queda como está") << "editar" << "A=otro" << "UPDATE T SET N = 12"
                                                   << "1|otro|12|2024-01-01" << true << 0;
    QTest::newRow("vaciar un valor") << "editar" << "F=" << "" << "1|uno|10|-" << true << 0;
    QTest::newRow("edición sin nada escrito") << "editar" << "" << "DELETE FROM T" << "" << false << 0;
    QTest::newRow("registro borrado") << "editar" << "N=11" << "DELETE FROM T" << "" << false << borrado;
    QTest::newRow("alta") << "anadir" << "A=dos;N=20;F=2024-03-07" << "" << "1|uno|10|2024-01-01;2|dos|20|2024-03-07"
                          << true << 0;
    QTest::newRow("alta con vacíos") << "anadir" << "A=dos;N=" << "" << "1|uno|10|2024-01-01;2|dos|7|-" << true << 0;
    QTest::newRow("alta sin nada escrito") << "anadir" << "" << "" << "1|uno|10|2024-01-01;2|-|7|-" << true << 0;
    QTest::newRow("alta duplicada") << "anadir" << "A=uno" << "" << "1|uno|10|2024-01-01" << false << duplicada;
}

// One statement per post: an edit sends only the written values, an append only
// the non-empty ones; a failure keeps the record pending.
void TstEdicion::guardar()
{
    QFETCH(QString, operacion);
    QFETCH(QString, escritos);
    QFETCH(QString, antes);
    QFETCH(QString, registros);
    QFETCH(bool, escrito);
    QFETCH(int, codigo);

    Fichero f;
    BufferEdicion b;
    if (operacion == QLatin1String("editar"))
        b.editar({QStringLiteral("uno"), 10, QDate(2024, 1, 1)}, 1);
    else
        b.anadir(3, 0);
    const TDataSetState estado = b.estado();
    escribir(b, escritos);
    if (!antes.isEmpty())
        otroPrograma(f.ruta(), antes);
    const DestinoEdicion destino{QStringLiteral("T"),
                                 {QStringLiteral("A"), QStringLiteral("N"), QStringLiteral("F")},
                                 {TFieldType::Text, TFieldType::Integer, TFieldType::Date}};
    bool hecho = !escrito;
    try {
        const qint64 id = b.guardar(f.db(), destino, QStringLiteral("T.DAT"), &hecho);
        QCOMPARE(codigo, 0);
        QCOMPARE(id, qint64(operacion == QLatin1String("editar") ? 1 : 2));
    } catch (const EDBEngineError &e) {
        QCOMPARE(int(e.errorCode()), codigo);
        QVERIFY2(e.message().contains(QLatin1String("T.DAT")), qPrintable(e.message()));
    }
    QCOMPARE(hecho, escrito);
    QCOMPARE(b.estado(), estado); // saving is the table's to end
    QCOMPARE(f.registros(), registros.split(QLatin1Char(';'), Qt::SkipEmptyParts));
}

// A failed post keeps the pending record; cancel with nothing pending does nothing.
void TstEdicion::edicionFallidaYCancelar()
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
    const auto e = Capturar<EDBEngineError>([&] {
        t->post();
    });
    QVERIFY2(e, "matrícula repetida aceptada");
    QCOMPARE(e->errorCode(), EngineCode::DuplicateKey);
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

QTEST_GUILESS_MAIN(TstEdicion)
#include "tst_edicion.moc"
