// Store failures from real causes in a temporary folder: duplicate keys, damaged
// files, read-only files and folders, a lock held by another process, missing
// tables, fields and indexes, and a process killed while it posts.
//
// The program doubles as the other process: "--bloquear FICHERO" holds a write
// lock until its input closes, "--bloquear-todo FICHERO" a lock that stops
// readers as well, "--escribir CARPETA" posts vehicles until killed.
#include "AyudaTablas.h"
#include "Capturar.h"
#include "DatosPrueba.h"
#include "Table.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

#include <sqlite3.h>

#include <cstdio>
#include <memory>

namespace {

QString integridad(const QString &ruta)
{
    sqlite3 *db = nullptr;
    QString r;
    if (sqlite3_open(QFile::encodeName(ruta).constData(), &db) == SQLITE_OK) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            r = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return r;
}

// Makes a file or folder immutable (chattr), which stops root as well; undone on destruction.
class Inmutable
{
public:
    explicit Inmutable(const QString &ruta) : m_ruta(ruta)
    {
        m_activo = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), ruta}) == 0;
    }
    ~Inmutable() { quitar(); }
    bool activo() const { return m_activo; }
    void quitar()
    {
        if (m_activo)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_ruta});
        m_activo = false;
    }

private:
    QString m_ruta;
    bool m_activo = false;
};

// A small file system of its own (tmpfs), to fill the disk for real; unmounted on destruction.
class DiscoPequeno
{
public:
    explicit DiscoPequeno(const QString &carpeta) : m_carpeta(carpeta)
    {
        m_montado = QDir().mkpath(carpeta)
                    && QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                                   QStringLiteral("size=192k"), QStringLiteral("tmpfs"), carpeta})
                           == 0;
    }
    ~DiscoPequeno()
    {
        if (m_montado)
            QProcess::execute(QStringLiteral("umount"), {m_carpeta});
    }
    bool montado() const { return m_montado; }

private:
    QString m_carpeta;
    bool m_montado = false;
};

int bloquear(const char *ruta, const char *sentencia)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(ruta, &db) != SQLITE_OK)
        return 1;
    if (sqlite3_exec(db, sentencia, nullptr, nullptr, nullptr) != SQLITE_OK)
        return 2;
    std::printf("bloqueado\n");
    std::fflush(stdout);
    char linea[64];
    while (std::fgets(linea, sizeof linea, stdin)) {
    }
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return 0;
}

int escribir(const char *carpeta)
{
    TDatabase db;
    db.setDirectory(QString::fromLocal8Bit(carpeta));
    TTable t;
    t.setDatabase(&db);
    t.setTableName(QStringLiteral("Matriculas.DAT"));
    t.open();
    for (int i = 0;; ++i) {
        t.append();
        t.fieldByName(QStringLiteral("MATRICULA"))->setAsString(QStringLiteral("V%1").arg(i, 6, 10, QLatin1Char('0')));
        t.fieldByName(QStringLiteral("KILOMETROS"))->setAsInteger(i);
        t.post();
        std::printf("%d\n", i); // acknowledged: the post has returned
        std::fflush(stdout);
    }
}

// Starts this program as the other process holding a lock on `ruta` (`modo`:
// "--bloquear" or "--bloquear-todo") and waits until it holds it.
bool otroBloquea(QProcess &otro, const char *modo, const QString &ruta)
{
    otro.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(modo), ruta});
    if (!otro.waitForStarted())
        return false;
    while (!otro.canReadLine() && otro.state() == QProcess::Running)
        otro.waitForReadyRead(10000);
    return otro.readLine().trimmed() == "bloqueado";
}

} // namespace

class TstFallosTabla : public QObject
{
    Q_OBJECT

private slots:
    void claveDuplicada_data();
    void claveDuplicada();
    void ficheroIlegible_data();
    void ficheroIlegible();
    void soloLectura_data();
    void soloLectura();
    void discoLleno();
    void bloqueoDeOtroProceso();
    void detalleBloqueadoSinLeer();
    void faltantes_data();
    void faltantes();
    void procesoMuertoAlGuardar();
};

void TstFallosTabla::claveDuplicada_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("campo");

    QTest::newRow("matrícula") << "Matriculas.DAT" << "MATRICULA";
    QTest::newRow("nombre de marca") << "Marcas.DAT" << "MARCA";
}

void TstFallosTabla::claveDuplicada()
{
    QFETCH(QString, nombre);
    QFETCH(QString, campo);

    DatosPrueba datos;
    QVERIFY(datos.isValid());
    datos.addRecord(nombre, {{campo, QStringLiteral("O'NEIL")}});
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto t = tabla(db, nombre);
    t->open();
    t->append();
    t->fieldByName(campo)->setAsString(QStringLiteral("O'NEIL"));
    const auto e = Capturar<EDBEngineError>([&] {
        t->post();
    });
    QVERIFY2(e, "clave duplicada aceptada");
    QCOMPARE(e->errorCode(), EngineCode::DuplicateKey);
    QVERIFY(e->message().contains(nombre));
    QCOMPARE(t->state(), TDataSetState::Insert);
    t->cancel();
    QCOMPARE(t->recordCount(), 1);
}

void TstFallosTabla::ficheroIlegible_data()
{
    QTest::addColumn<QString>("dano");

    QTest::newRow("no es una tabla") << "texto";
    QTest::newRow("vacío") << "vacio";
    QTest::newRow("truncado") << "truncado";
    QTest::newRow("cabecera rota") << "cabecera";
}

// A damaged file is a read error, never a crash, and the object stays closed.
void TstFallosTabla::ficheroIlegible()
{
    QFETCH(QString, dano);

    DatosPrueba datos;
    QVERIFY(datos.isValid());
    const QString ruta = datos.ruta(QStringLiteral("Averias.DAT"));
    // Enough records to fill many pages.
    QVERIFY(sql(ruta, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
                                     "INSERT INTO Averias (MATRICULA, AVERIA) SELECT 'M' || i, hex(randomblob(400)) FROM n")));
    QFile f(ruta);
    const qint64 tamano = f.size();
    if (dano == QLatin1String("texto")) {
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("MATRICULA;FECHA\n1234ABC;01/01/2024\n");
    } else if (dano == QLatin1String("vacio")) {
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    } else if (dano == QLatin1String("truncado")) {
        QVERIFY(f.resize(tamano / 3));
    } else {
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.seek(0);
        f.write(QByteArray(100, '\x7f'));
    }
    f.close();

    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto t = tabla(db, QStringLiteral("Averias.DAT"));
    const auto e = Capturar<EDBEngineError>([&] {
        t->open();
        t->last();
    });
    QVERIFY2(e, "tabla dañada abierta");
    QCOMPARE(e->errorCode(), EngineCode::ReadError);
    QVERIFY2(e->message().contains(QLatin1String("Averias.DAT")), qPrintable(e->message()));
    QVERIFY(!t->active());
    QVERIFY_THROWS_EXCEPTION(EDBEngineError, TableStore::tableVersion(ruta));
}

void TstFallosTabla::soloLectura_data()
{
    QTest::addColumn<bool>("carpeta");
    QTest::addColumn<QString>("operacion");
    QTest::addColumn<int>("codigo");

    QTest::newRow("fichero, alta") << false << "alta" << int(EngineCode::WriteError);
    QTest::newRow("fichero, cambio") << false << "cambio" << int(EngineCode::WriteError);
    QTest::newRow("fichero, borrado") << false << "borrado" << int(EngineCode::CannotDelete);
    QTest::newRow("carpeta, alta") << true << "alta" << int(EngineCode::WriteError);
    QTest::newRow("carpeta, borrado") << true << "borrado" << int(EngineCode::CannotDelete);
}

// Writing into a file or folder that cannot be written is refused with its code;
// the record stays pending and nothing reaches the file.
void TstFallosTabla::soloLectura()
{
    QFETCH(bool, carpeta);
    QFETCH(QString, operacion);
    QFETCH(int, codigo);

    DatosPrueba datos;
    QVERIFY(datos.isValid());
    datos.addVehicle(QStringLiteral("A"), 1, 1, 1000);
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto t = tabla(db, QStringLiteral("Matriculas.DAT"));
    Inmutable proteccion(carpeta ? datos.carpeta() : datos.ruta(QStringLiteral("Matriculas.DAT")));
    if (!proteccion.activo())
        QSKIP("chattr +i no está disponible en este sistema de ficheros");
    t->open();
    const auto e = Capturar<EDBEngineError>([&] {
        if (operacion == QLatin1String("alta")) {
            t->append();
            t->fieldByName(QStringLiteral("MATRICULA"))->setAsString(QStringLiteral("B"));
            t->post();
        } else if (operacion == QLatin1String("cambio")) {
            t->edit();
            t->fieldByName(QStringLiteral("KILOMETROS"))->setAsInteger(2000);
            t->post();
        } else {
            t->deleteRecord();
        }
    });
    QVERIFY2(e, "escritura aceptada");
    QCOMPARE(int(e->errorCode()), codigo);
    QVERIFY2(e->message().contains(QLatin1String("Matriculas.DAT")), qPrintable(e->message()));
    QCOMPARE(t->state(), operacion == QLatin1String("alta")     ? TDataSetState::Insert
                         : operacion == QLatin1String("cambio") ? TDataSetState::Edit
                                                                : TDataSetState::Browse);
    t->cancel();
    t->close();
    proteccion.quitar();
    t->open();
    QCOMPARE(t->recordCount(), 1);
    QCOMPARE(t->fieldByName(QStringLiteral("KILOMETROS"))->asInteger(), 1000);
    QCOMPARE(integridad(datos.ruta(QStringLiteral("Matriculas.DAT"))), QStringLiteral("ok"));
}

// A full disk refuses the post with the write error; every record stored before
// stays, and the file stays sound.
void TstFallosTabla::discoLleno()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    const QString carpeta = datos.carpeta() + QStringLiteral("/pequeno");
    DiscoPequeno disco(carpeta);
    if (!disco.montado())
        QSKIP("no se puede montar un tmpfs aquí");
    QVERIFY(QFile::copy(datos.ruta(QStringLiteral("Averias.DAT")), carpeta + QStringLiteral("/Averias.DAT")));
    int guardadas = 0;
    {
        TDatabase db;
        db.setDirectory(carpeta);
        auto t = tabla(db, QStringLiteral("Averias.DAT"));
        t->open();
        const auto e = Capturar<EDBEngineError>([&] {
            for (; guardadas < 100; ++guardadas) {
                t->append();
                t->fieldByName(QStringLiteral("MATRICULA"))->setAsString(QString::number(guardadas));
                t->fieldByName(QStringLiteral("AVERIA"))->setAsString(QString(8000, QLatin1Char('a' + guardadas % 26)));
                t->post();
            }
        });
        QVERIFY2(e, "el disco no se ha llenado");
        QCOMPARE(e->errorCode(), EngineCode::WriteError);
        QVERIFY2(e->message().contains(QLatin1String("Averias.DAT")), qPrintable(e->message()));
        QCOMPARE(t->state(), TDataSetState::Insert);
        t->cancel();
    }
    QVERIFY(guardadas > 0);
    QCOMPARE(integridad(carpeta + QStringLiteral("/Averias.DAT")), QStringLiteral("ok"));
    TDatabase db;
    db.setDirectory(carpeta);
    auto t = tabla(db, QStringLiteral("Averias.DAT"));
    t->open();
    QCOMPARE(t->recordCount(), guardadas);
    t->last();
    QCOMPARE(t->fieldByName(QStringLiteral("AVERIA"))->asString().size(), 8000);
}

// Another process holding the write lock: browsing goes on, a post is refused with
// 10241 after a short wait, and works once the other process is gone.
void TstFallosTabla::bloqueoDeOtroProceso()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    datos.addVehicle(QStringLiteral("A"), 1, 1, 1000);
    const QString ruta = datos.ruta(QStringLiteral("Matriculas.DAT"));
    QProcess otro;
    QVERIFY(otroBloquea(otro, "--bloquear", ruta));

    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto t = tabla(db, QStringLiteral("Matriculas.DAT"));
    t->open();
    QCOMPARE(t->recordCount(), 1);
    t->append();
    t->fieldByName(QStringLiteral("MATRICULA"))->setAsString(QStringLiteral("B"));
    const auto e = Capturar<EDBEngineError>([&] {
        t->post();
    });
    QVERIFY2(e, "escritura con la tabla bloqueada");
    QCOMPARE(e->errorCode(), EngineCode::RecordLocked);
    QVERIFY(e->message().contains(QLatin1String("Matriculas.DAT")));
    QCOMPARE(t->state(), TDataSetState::Insert);

    // Killed in the middle of its transaction: its journal is rolled back on our next write.
    otro.kill();
    otro.waitForFinished();
    t->post();
    t->refresh();
    QCOMPARE(t->recordCount(), 2);
    QVERIFY(t->locate(QStringLiteral("MATRICULA"), QStringLiteral("A")));
    QCOMPARE(t->fieldByName(QStringLiteral("KILOMETROS"))->asInteger(), 1000);
    QCOMPARE(integridad(ruta), QStringLiteral("ok"));
}

// Another program keeps the breakdown table from being read: the vehicles still
// move, since no one reads their breakdowns; reading them reports the lock, and
// they read again once it is gone.
void TstFallosTabla::detalleBloqueadoSinLeer()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    for (const QString &m : {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")})
        datos.addVehicle(m, 1, 1, 1000);
    datos.addBreakdown(QStringLiteral("B"), QDate(2024, 1, 1), 1000, QStringLiteral("Luces"));
    datos.addBreakdown(QStringLiteral("C"), QDate(2024, 2, 1), 2000, QStringLiteral("Frenos"));
    datos.addBreakdown(QStringLiteral("C"), QDate(2024, 3, 1), 3000, QStringLiteral("Embrague"));
    VehiculosYDetalle t(datos.carpeta(), QStringLiteral("Averias.DAT"));
    TTable *vehiculos = &t.vehiculos, *averias = &t.detalle;

    QProcess otro;
    QVERIFY(otroBloquea(otro, "--bloquear-todo", datos.ruta(QStringLiteral("Averias.DAT"))));
    vehiculos->next();
    vehiculos->last();
    QCOMPARE(vehiculos->fieldByName(QStringLiteral("MATRICULA"))->asString(), QStringLiteral("C"));
    const auto e = Capturar<EDBEngineError>([&] {
        averias->recordCount();
    });
    QVERIFY2(e, "averías leídas con el fichero bloqueado");
    QCOMPARE(e->errorCode(), EngineCode::RecordLocked);
    QVERIFY(e->message().contains(QLatin1String("Averias.DAT")));

    otro.closeWriteChannel();
    QVERIFY(otro.waitForFinished());
    averias->refresh();
    QCOMPARE(averias->recordCount(), 2);
    vehiculos->prior();
    QCOMPARE(averias->recordCount(), 1);
    QCOMPARE(averias->fieldByName(QStringLiteral("AVERIA"))->asString(), QStringLiteral("Luces"));
}

void TstFallosTabla::faltantes_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("indice");
    QTest::addColumn<QString>("nombrado"); // what the message must name

    QTest::newRow("tabla") << "Vehiculos.DAT" << "" << "" << "Vehiculos.DAT";
    QTest::newRow("campo") << "Matriculas.DAT" << "BASTIDOR" << "" << "BASTIDOR";
    QTest::newRow("índice") << "Ruedas.DAT" << "" << "Orden_Fecha" << "Orden_Fecha";
    QTest::newRow("índice de otra tabla") << "Matriculas.DAT" << "" << "Orden_Matri" << "Orden_Matri";
}

void TstFallosTabla::faltantes()
{
    QFETCH(QString, nombre);
    QFETCH(QString, campo);
    QFETCH(QString, indice);
    QFETCH(QString, nombrado);

    DatosPrueba datos;
    QVERIFY(datos.isValid());
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto t = tabla(db, nombre);
    if (!campo.isEmpty()) {
        t->addField(QStringLiteral("MATRICULA"));
        t->addField(campo);
    }
    t->setIndexName(indice);
    QSignalSpy abierta(t.get(), &TTable::afterOpen);
    const auto e = Capturar<EDBEngineError>([&] {
        t->open();
    });
    QVERIFY2(e, "tabla abierta");
    QVERIFY2(e->message().contains(nombrado) && e->message().contains(nombre), qPrintable(e->message()));
    QVERIFY(!t->active());
    QCOMPARE(t->state(), TDataSetState::Inactive);
    QCOMPARE(abierta.count(), 0);
    QVERIFY(!QFileInfo::exists(datos.ruta(QStringLiteral("Vehiculos.DAT"))));
}

// A process killed while it posts in a loop leaves a sound file holding every
// record whose post had returned, as it was posted.
void TstFallosTabla::procesoMuertoAlGuardar()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    QProcess otro;
    otro.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--escribir"), datos.carpeta()});
    QVERIFY(otro.waitForStarted());
    QByteArray recibido;
    while (recibido.count('\n') < 40 && otro.state() == QProcess::Running) {
        otro.waitForReadyRead(10000);
        recibido += otro.readAllStandardOutput();
    }
    otro.kill();
    otro.waitForFinished();
    recibido += otro.readAllStandardOutput();
    QVERIFY2(recibido.count('\n') >= 40, otro.readAllStandardError().constData());

    const QString ruta = datos.ruta(QStringLiteral("Matriculas.DAT"));
    QCOMPARE(integridad(ruta), QStringLiteral("ok"));
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto t = tabla(db, QStringLiteral("Matriculas.DAT"));
    t->open();
    const QList<QByteArray> lineas = recibido.left(recibido.lastIndexOf('\n')).split('\n');
    for (const QByteArray &l : lineas) {
        const QString m = QStringLiteral("V%1").arg(l.toInt(), 6, 10, QLatin1Char('0'));
        QVERIFY2(t->locate(QStringLiteral("MATRICULA"), m), qPrintable(m));
        QCOMPARE(t->fieldByName(QStringLiteral("KILOMETROS"))->asInteger(), l.toInt());
    }
    // At most the post in flight when it was killed is there besides.
    QVERIFY(t->recordCount() >= lineas.size() && t->recordCount() <= lineas.size() + 1);
}

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--bloquear") == 0)
        return bloquear(argv[2], "BEGIN IMMEDIATE; UPDATE Matriculas SET KILOMETROS = KILOMETROS + 1");
    if (argc == 3 && qstrcmp(argv[1], "--bloquear-todo") == 0)
        return bloquear(argv[2], "BEGIN EXCLUSIVE");
    if (argc == 3 && qstrcmp(argv[1], "--escribir") == 0) {
        QCoreApplication app(argc, argv);
        try {
            return escribir(argv[2]);
        } catch (const EDBEngineError &e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 3;
        }
    }
    QCoreApplication app(argc, argv);
    TstFallosTabla t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_fallos_tabla.moc"
