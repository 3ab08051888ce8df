// The database object: its folder, and which table files of a folder this
// process holds open, however the folder is written.
#include "AyudaTablas.h"
#include "DatosPrueba.h"
#include "Sqlite.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <map>
#include <memory>
#include <vector>

class TstBaseDatos : public QObject
{
    Q_OBJECT

private slots:
    void ficherosAbiertos_data();
    void ficherosAbiertos();
    void ficherosAdjuntos();
};

void TstBaseDatos::ficherosAbiertos_data()
{
    // Folders: "uno" and "dos" hold the eight tables; "enlace" is a symbolic link
    // to "uno". "uno*" opens by full path, without a database.
    QTest::addColumn<QStringList>("abiertas"); // "folder:table", opened in this order
    QTest::addColumn<int>("cerradas");         // how many of them are closed again, from the first
    QTest::addColumn<QString>("consulta");     // the folder asked about, as written
    QTest::addColumn<QStringList>("esperado");

    const QString mat = QStringLiteral("Matriculas.DAT"), mar = QStringLiteral("Marcas.DAT");
    QTest::newRow("nada abierto") << QStringList() << 0 << "uno" << QStringList();
    QTest::newRow("una tabla") << QStringList{"uno:Matriculas.DAT"} << 0 << "uno" << QStringList{mat};
    QTest::newRow("cerrada") << QStringList{"uno:Matriculas.DAT"} << 1 << "uno" << QStringList();
    QTest::newRow("dos objetos, uno cerrado") << QStringList{"uno:Matriculas.DAT", "uno:Matriculas.DAT"} << 1 << "uno"
                                              << QStringList{mat};
    QTest::newRow("dos bases de datos") << QStringList{"uno:Matriculas.DAT", "dos:Marcas.DAT", "dos:Averias.DAT"} << 0
                                        << "dos" << QStringList{"Averias.DAT", mar};
    QTest::newRow("la otra carpeta") << QStringList{"dos:Marcas.DAT"} << 0 << "uno" << QStringList();
    QTest::newRow("separador final") << QStringList{"uno:Marcas.DAT"} << 0 << "uno/" << QStringList{mar};
    QTest::newRow("ruta relativa") << QStringList{"uno:Marcas.DAT"} << 0 << "uno relativa" << QStringList{mar};
    QTest::newRow("abierta por el enlace") << QStringList{"enlace:Marcas.DAT"} << 0 << "uno" << QStringList{mar};
    QTest::newRow("consultada por el enlace") << QStringList{"uno:Marcas.DAT"} << 0 << "enlace" << QStringList{mar};
    QTest::newRow("sin base de datos") << QStringList{"uno*:Modelos.DAT"} << 0 << "uno" << QStringList{"Modelos.DAT"};
    QTest::newRow("carpeta que no existe") << QStringList{"uno:Marcas.DAT"} << 0 << "falta" << QStringList();
    QTest::newRow("carpeta vacía") << QStringList{"uno:Marcas.DAT"} << 0 << "" << QStringList();
}

void TstBaseDatos::ficherosAbiertos()
{
    QFETCH(QStringList, abiertas);
    QFETCH(int, cerradas);
    QFETCH(QString, consulta);
    QFETCH(QStringList, esperado);

    DatosPrueba uno, dos;
    QVERIFY(uno.isValid() && dos.isValid());
    QTemporaryDir otra;
    const QString enlace = otra.filePath(QStringLiteral("enlace"));
    QVERIFY(QFile::link(uno.carpeta(), enlace));
    const std::map<QString, QString> carpetas{{QStringLiteral("uno"), uno.carpeta()},
                                              {QStringLiteral("dos"), dos.carpeta()},
                                              {QStringLiteral("enlace"), enlace},
                                              {QStringLiteral("uno/"), uno.carpeta() + QLatin1Char('/')},
                                              {QStringLiteral("uno relativa"), QDir::current().relativeFilePath(uno.carpeta())},
                                              {QStringLiteral("falta"), otra.filePath(QStringLiteral("falta"))},
                                              {QString(), QString()}};

    std::map<QString, std::unique_ptr<TDatabase>> bases;
    std::vector<std::unique_ptr<TTable>> tablas;
    for (const QString &a : abiertas) {
        const QString carpeta = a.section(QLatin1Char(':'), 0, 0), nombre = a.section(QLatin1Char(':'), 1);
        auto t = std::make_unique<TTable>();
        if (carpeta.endsWith(QLatin1Char('*'))) {
            t->setTableName(QDir(carpetas.at(carpeta.chopped(1))).filePath(nombre));
        } else {
            auto &db = bases[carpeta];
            if (!db) {
                db = std::make_unique<TDatabase>();
                db->setDirectory(carpetas.at(carpeta));
            }
            t->setDatabase(db.get());
            t->setTableName(nombre);
        }
        t->open();
        tablas.push_back(std::move(t));
    }
    for (int i = 0; i < cerradas; ++i)
        tablas[size_t(i)]->close();
    QCOMPARE(TDatabase::openFilesIn(carpetas.at(consulta)), esperado);
    tablas.clear();
    QCOMPARE(TDatabase::openFilesIn(uno.carpeta()), QStringList());
}

// A file attached to a connection of the process is open too.
void TstBaseDatos::ficherosAdjuntos()
{
    DatosPrueba uno, dos;
    QVERIFY(uno.isValid() && dos.isValid());
    store::Conexion *con = store::abrirConexion(uno.ruta(QStringLiteral("Matriculas.DAT")), QStringLiteral("Matriculas.DAT"));
    store::ejecutar(con->db, QStringLiteral("ATTACH DATABASE '%1' AS otra").arg(dos.ruta(QStringLiteral("Ruedas.DAT"))),
                    store::Operacion::Lectura, QStringLiteral("Ruedas.DAT"));
    QCOMPARE(TDatabase::openFilesIn(dos.carpeta()), QStringList{QStringLiteral("Ruedas.DAT")});
    QCOMPARE(TDatabase::openFilesIn(uno.carpeta()), QStringList{QStringLiteral("Matriculas.DAT")});
    store::ejecutar(con->db, QStringLiteral("DETACH DATABASE otra"), store::Operacion::Lectura, QStringLiteral("Ruedas.DAT"));
    store::soltarConexion(con);
    QCOMPARE(TDatabase::openFilesIn(dos.carpeta()), QStringList());
    QCOMPARE(TDatabase::openFilesIn(uno.carpeta()), QStringList());
}

QTEST_GUILESS_MAIN(TstBaseDatos)
#include "tst_base_datos.moc"
