// Crash trials: a writer process appending and editing records (small rows and
// memos of several kilobytes) is killed with SIGKILL at a random moment, again
// and again on the same folder. After each kill every table passes SQLite's
// integrity check, every acknowledged record is there with its acknowledged
// content, and at most the one record in flight is extra (or newer).
//
// The seed is printed at the start and with every failure; QUELVARO_SEMILLA=N
// repeats a run. "--largo" runs QUELVARO_ENSAYOS_LARGOS trials (1000 when it is
// just set) and is skipped without it.
#include "DatosPrueba.h"
#include "Ensayo.h"
#include "Table.h"

#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <sqlite3.h>

#include <memory>

namespace {

int g_ensayos = 30;
quint32 g_semilla = 0;

QString integridad(const QString &ruta)
{
    sqlite3 *db = nullptr;
    QString r = QStringLiteral("no se abre");
    // Read-write: SQLite rolls back a hot journal the kill left, as the next program to open it does.
    if (sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK) {
            r.clear();
            while (sqlite3_step(st) == SQLITE_ROW)
                r += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return r;
}

struct tPendiente
{
    qint64 n = -1;
    QString tabla, clave;
};

// The state the checker knows: per table, key -> number of the operation that
// wrote the record last.
using tModelo = QHash<QString, QHash<QString, qint64>>;

} // namespace

class TstCaidas : public QObject
{
    Q_OBJECT

    // Runs the writer on `carpeta` from operation `primera` and kills it
    // `espera_ms` after it started (`al_arrancar`) or after its first post began;
    // fills the acknowledged operations into `modelo` and returns the one in
    // flight. `salida` gets what it printed.
    static tPendiente Escribir_Y_Matar(const QString &carpeta, qint64 primera, quint32 semilla, bool al_arrancar,
                                       int espera_ms, tModelo &modelo, QByteArray &salida, QString &error)
    {
        QProcess escritor;
        escritor.start(QStringLiteral(ESCRITOR_CAIDAS),
                       {carpeta, QString::number(primera), QString::number(semilla)});
        if (!escritor.waitForStarted()) {
            error = QStringLiteral("el escritor no arrancó");
            return {};
        }
        // Counted from its first post, the moment does not depend on how long
        // the machine takes to start a process.
        QElapsedTimer reloj;
        reloj.start();
        while (!al_arrancar && escritor.state() == QProcess::Running && !salida.contains("P ")
               && reloj.elapsed() < 60000) {
            escritor.waitForReadyRead(100);
            salida += escritor.readAllStandardOutput();
        }
        reloj.restart();
        while (escritor.state() == QProcess::Running && reloj.elapsed() < espera_ms)
            escritor.waitForReadyRead(int(qMax<qint64>(1, espera_ms - reloj.elapsed())));
        const bool vivo = escritor.state() == QProcess::Running;
        escritor.kill(); // SIGKILL
        escritor.waitForFinished();
        salida += escritor.readAllStandardOutput();
        if (!vivo)
            error = QStringLiteral("el escritor terminó solo: ") + QString::fromLocal8Bit(escritor.readAllStandardError());

        tPendiente pendiente;
        // Only whole lines count: the kill may cut the last one.
        const QList<QByteArray> lineas = salida.left(salida.lastIndexOf('\n') + 1).split('\n');
        for (const QByteArray &l : lineas) {
            const QList<QByteArray> p = l.split(' ');
            if (p.size() == 4 && p[0] == "P") {
                pendiente = {p[1].toLongLong(), QString::fromUtf8(p[2]), QString::fromUtf8(p[3])};
            } else if (p.size() == 2 && p[0] == "A" && p[1].toLongLong() == pendiente.n) {
                modelo[pendiente.tabla][pendiente.clave] = pendiente.n;
                pendiente = {};
            }
        }
        return pendiente;
    }

    // Compares the folder with what was acknowledged; empty when all holds. The
    // model then takes the records as they are (the one in flight included).
    static QString Comprobar(const DatosPrueba &datos, tModelo &modelo, const tPendiente &pendiente)
    {
        for (const QString &f : QDir(datos.carpeta()).entryList({QStringLiteral("*.DAT")}, QDir::Files)) {
            const QString r = integridad(datos.ruta(f));
            if (r != QLatin1String("ok"))
                return QStringLiteral("%1 no pasa integrity_check: %2").arg(f, r);
        }
        TDatabase db;
        db.setDirectory(datos.carpeta());
        for (const QString &nombre : {Ensayo::Tabla_Filas, Ensayo::Tabla_Memos}) {
            const bool memo = nombre == Ensayo::Tabla_Memos;
            QHash<QString, qint64> &conocidos = modelo[nombre];
            TTable t;
            t.setDatabase(&db);
            t.setTableName(nombre);
            QHash<QString, qint64> hay;
            try {
                t.open();
                for (t.first(); !t.eof(); t.next()) {
                    const QString clave = t.fieldByName(QStringLiteral("MATRICULA"))->asString();
                    const qint64 n = t.fieldByName(QStringLiteral("KILOMETROS"))->asInteger();
                    if (hay.contains(clave))
                        return QStringLiteral("%1: %2 está dos veces").arg(nombre, clave);
                    hay.insert(clave, n);
                    if (memo && t.fieldByName(QStringLiteral("AVERIA"))->asString() != Ensayo::Memo(n))
                        return QStringLiteral("%1: la memoria de %2 no es la de la operación %3").arg(nombre, clave).arg(n);
                }
            } catch (const std::exception &e) {
                return QStringLiteral("%1 no se lee: %2").arg(nombre, QString::fromUtf8(e.what()));
            }
            const bool enVuelo = pendiente.n >= 0 && pendiente.tabla == nombre;
            for (auto i = conocidos.cbegin(); i != conocidos.cend(); ++i) {
                if (!hay.contains(i.key()))
                    return QStringLiteral("%1: falta %2, confirmado por la operación %3").arg(nombre, i.key()).arg(i.value());
                const qint64 n = hay.value(i.key());
                if (n != i.value() && !(enVuelo && pendiente.clave == i.key() && n == pendiente.n))
                    return QStringLiteral("%1: %2 tiene la operación %3, confirmada la %4")
                        .arg(nombre, i.key()).arg(n).arg(i.value());
            }
            for (auto i = hay.cbegin(); i != hay.cend(); ++i)
                if (!conocidos.contains(i.key()) && !(enVuelo && pendiente.clave == i.key() && i.value() == pendiente.n))
                    return QStringLiteral("%1: %2 (operación %3) sobra").arg(nombre, i.key()).arg(i.value());
            conocidos = hay;
        }
        return QString();
    }

private slots:
    void initTestCase()
    {
        qInfo("Semilla %u, %d ensayos (QUELVARO_SEMILLA=%u repite esta serie)", g_semilla, g_ensayos, g_semilla);
    }

    void ensayos()
    {
        std::unique_ptr<DatosPrueba> datos;
        tModelo modelo;
        QRandomGenerator azar(g_semilla);
        qint64 primera = 1;
        int confirmadas = 0, enVuelo = 0;
        for (int e = 0; e < g_ensayos; ++e) {
            // A new folder now and then keeps each writer's start short in long runs.
            if (e % 25 == 0) {
                datos = std::make_unique<DatosPrueba>();
                QVERIFY(datos->isValid());
                modelo.clear();
                primera = 1;
            }
            const quint32 semilla = azar.generate();
            // One kill in five falls while the writer starts or recovers the tables,
            // the rest while it posts.
            const bool alArrancar = azar.bounded(5) == 0;
            const int espera = int(alArrancar ? azar.bounded(120) : azar.bounded(400));
            QByteArray salida;
            QString error;
            const tPendiente pendiente =
                Escribir_Y_Matar(datos->carpeta(), primera, semilla, alArrancar, espera, modelo, salida, error);
            if (error.isEmpty())
                error = Comprobar(*datos, modelo, pendiente);
            QVERIFY2(error.isEmpty(),
                     qPrintable(QStringLiteral("semilla %1, ensayo %2 (muerto a los %3 ms %4): %5\nÚltimas líneas del escritor:\n%6")
                                    .arg(g_semilla)
                                    .arg(e)
                                    .arg(espera)
                                    .arg(alArrancar ? QStringLiteral("de arrancar") : QStringLiteral("de su primer post"),
                                         error, QString::fromUtf8(salida.right(300)))));
            confirmadas += int(salida.count("\nA ") + (salida.startsWith("A ") ? 1 : 0));
            enVuelo += pendiente.n >= 0;
            // The next writer goes on after the last number this one printed.
            const int p = int(salida.lastIndexOf("P "));
            if (p >= 0)
                primera = salida.mid(p + 2, salida.indexOf(' ', p + 2) - p - 2).toLongLong() + 1;
        }
        // The trials did write.
        QVERIFY(confirmadas > 0);
        qInfo("%d operaciones confirmadas, %d muertes con una en vuelo", confirmadas, enVuelo);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.removeAll(QStringLiteral("--largo"))) {
        const QByteArray largos = qgetenv("QUELVARO_ENSAYOS_LARGOS");
        if (largos.isEmpty()) {
            std::printf("Omitido: QUELVARO_ENSAYOS_LARGOS=N pide N ensayos (1 pide 1000).\n");
            return 77;
        }
        g_ensayos = largos.toInt() > 1 ? largos.toInt() : 1000;
    }
    bool fijada = false;
    g_semilla = qEnvironmentVariable("QUELVARO_SEMILLA").toUInt(&fijada);
    if (!fijada)
        g_semilla = QRandomGenerator::system()->generate();
    TstCaidas t;
    return QTest::qExec(&t, args);
}

#include "tst_caidas.moc"
