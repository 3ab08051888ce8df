// The data tool: creates the eight tables, refuses a folder that holds any of
// them, and fills a sample fleet on request.
#include "Esquema.h"
#include "Table.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TstQuelvaroDatos : public QObject
{
    Q_OBJECT

private slots:
    void crear_data();
    void crear();
    void rehusarCarpetaConTablas();
};

namespace {
int ejecutar(const QStringList &args, QByteArray *errores = nullptr)
{
    QProcess p;
    p.start(QStringLiteral(QUELVARO_DATOS), args);
    if (!p.waitForFinished(120000))
        return -1;
    if (errores)
        *errores = p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
}

void TstQuelvaroDatos::crear_data()
{
    QTest::addColumn<bool>("ejemplo");
    QTest::newRow("vacías") << false;
    QTest::newRow("con ejemplo") << true;
}

void TstQuelvaroDatos::crear()
{
    QFETCH(bool, ejemplo);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString carpeta = dir.filePath(QStringLiteral("Datos"));
    QStringList args;
    if (ejemplo)
        args << QStringLiteral("--ejemplo");
    QCOMPARE(ejecutar(args << carpeta), 0);

    TDatabase db;
    db.setDirectory(carpeta);
    for (const TTableDef &def : Definicion_Tablas()) {
        TTable t;
        t.setDatabase(&db);
        t.setTableName(def.name);
        for (const TIndexDef &i : def.indexes)
            if (!i.name.isEmpty())
                t.setIndexName(i.name);
        t.open();
        QCOMPARE(t.formatVersion(), TableStore::currentFormatVersion());
        QCOMPARE(t.fields().size(), def.fields.size());
        QVERIFY2(ejemplo ? !t.isEmpty() : t.isEmpty(), qPrintable(def.name));
    }
}

// A folder holding even one of the tables is left exactly as it was.
void TstQuelvaroDatos::rehusarCarpetaConTablas()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(ejecutar({dir.path()}), 0);
    const QStringList antes = QDir(dir.path()).entryList(QDir::Files);
    QCOMPARE(antes.size(), 8);
    QByteArray errores;
    QVERIFY(ejecutar({QStringLiteral("--ejemplo"), dir.path()}, &errores) > 0);
    QVERIFY2(QString::fromUtf8(errores).contains(QLatin1String("ya existe")), errores.constData());

    QTemporaryDir otra;
    QVERIFY(QFile::copy(dir.filePath(QStringLiteral("Ruedas.DAT")), otra.filePath(QStringLiteral("Ruedas.DAT"))));
    QVERIFY(ejecutar({otra.path()}) > 0);
    QCOMPARE(QDir(otra.path()).entryList(QDir::Files), QStringList{QStringLiteral("Ruedas.DAT")});

    QVERIFY(ejecutar({}) > 0);
}

QTEST_GUILESS_MAIN(TstQuelvaroDatos)
#include "tst_quelvaro_datos.moc"
