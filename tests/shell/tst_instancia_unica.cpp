// Single instance as real processes: this program started with "--instancia NAME" plays
// one start of the application under the block NAME.
#include "SharedMem.h"

#include <QApplication>
#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUuid>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace {

void Decir(const char *Linea)
{
    std::printf("%s\n", Linea);
    std::fflush(stdout);
}

// One start: the guard, then either the activation of the first or a window that lives until
// "fin" arrives on standard input.
int Modo_Instancia(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString Nombre = QString::fromLocal8Bit(argv[2]);
    int Resultado = 0;
    {
        tSharedMem Guardia(Nombre, quint32(QCoreApplication::applicationPid()));
        if (Guardia.Ya_Ejecutandose()) {
            Decir(Guardia.Activar_Primera_Instancia() ? "SEGUNDA ACTIVO" : "SEGUNDA");
            return 0;
        }
        QWidget Ventana;
        Ventana.show();
        QObject::connect(&Guardia, &tSharedMem::Activacion_Solicitada, [] { Decir("ACTIVADA"); });
        QSocketNotifier Entrada(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(&Entrada, &QSocketNotifier::activated, [&] {
            char Buffer[64];
            if (::read(STDIN_FILENO, Buffer, sizeof Buffer) <= 0 || qstrncmp(Buffer, "fin", 3) == 0)
                app.quit();
        });
        QTimer::singleShot(0, [] { Decir("LISTA"); });
        Resultado = app.exec();
    }
    return Resultado;
}

} // namespace

class tst_instancia_unica : public QObject
{
    Q_OBJECT

    QString fNombre;
    QList<QProcess *> fProcesos;

    QProcess *Arrancar()
    {
        auto *p = new QProcess(this);
        p->setProgram(QCoreApplication::applicationFilePath());
        p->setArguments({QStringLiteral("--instancia"), fNombre});
        p->start();
        fProcesos << p;
        return p;
    }

    static bool Esperar_Linea(QProcess *p, const QByteArray &Linea)
    {
        QByteArray Leido;
        QDeadlineTimer Limite(30000);
        while (!Limite.hasExpired()) {
            Leido += p->readAllStandardOutput();
            if (Leido.split('\n').contains(Linea))
                return true;
            if (p->state() == QProcess::NotRunning)
                return false;
            p->waitForReadyRead(200);
        }
        return false;
    }

private slots:
    void init()
    {
        fNombre = QStringLiteral("QuelvaroPrueba-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    }

    void cleanup()
    {
        for (QProcess *p : std::as_const(fProcesos)) {
            // Ending normally leaves no segment behind; killing is the last resort.
            if (p->state() != QProcess::NotRunning) {
                p->write("fin\n");
                p->closeWriteChannel();
                if (!p->waitForFinished(10000)) {
                    p->kill();
                    p->waitForFinished(10000);
                }
            }
        }
        qDeleteAll(fProcesos);
        fProcesos.clear();
    }

    // In one process: the first guard stores the handle, a second one reads it back.
    void bloqueGuardaElHandleDelPrimero()
    {
        tSharedMem Primero(fNombre, 4711);
        QVERIFY(!Primero.Ya_Ejecutandose());
        QVERIFY(Primero.Vista_Mapeada());
        QCOMPARE(Primero.Handle_Guardado(), 4711u);
        {
            tSharedMem Segundo(fNombre, 815);
            QVERIFY(Segundo.Ya_Ejecutandose());
            QCOMPARE(Segundo.Handle_Guardado(), 4711u);
        }
        QVERIFY(!Primero.Ya_Ejecutandose());
    }

    void segundaArrancadaActivaLaPrimera()
    {
        QProcess *Primera = Arrancar();
        QVERIFY(Esperar_Linea(Primera, "LISTA"));

        QProcess *Segunda = Arrancar();
        QVERIFY(Segunda->waitForFinished(30000));
        QCOMPARE(Segunda->exitStatus(), QProcess::NormalExit);
        QCOMPARE(Segunda->exitCode(), 0);
        QCOMPARE(Segunda->readAllStandardOutput().trimmed(), QByteArray("SEGUNDA ACTIVO"));
        QVERIFY(Esperar_Linea(Primera, "ACTIVADA"));
        QCOMPARE(Primera->state(), QProcess::Running);
    }

    // However the first run ends, the next start is a first one again.
    void siguienteArranqueTrasElFin_data()
    {
        QTest::addColumn<bool>("Matar");
        QTest::newRow("fin normal") << false;
        QTest::newRow("SIGKILL") << true;
    }
    void siguienteArranqueTrasElFin()
    {
        QFETCH(bool, Matar);
        QProcess *Primera = Arrancar();
        QVERIFY(Esperar_Linea(Primera, "LISTA"));
        if (Matar) {
            Primera->kill();
        } else {
            Primera->write("fin\n");
            Primera->closeWriteChannel();
        }
        QVERIFY(Primera->waitForFinished(30000));
        QCOMPARE(Primera->exitStatus(), Matar ? QProcess::CrashExit : QProcess::NormalExit);

        QProcess *Siguiente = Arrancar();
        QVERIFY(Esperar_Linea(Siguiente, "LISTA"));

        // And it is a first instance in its own right: a later start activates it.
        QProcess *Otra = Arrancar();
        QVERIFY(Otra->waitForFinished(30000));
        QCOMPARE(Otra->readAllStandardOutput().trimmed(), QByteArray("SEGUNDA ACTIVO"));
        QVERIFY(Esperar_Linea(Siguiente, "ACTIVADA"));
    }
};

int main(int argc, char **argv)
{
    if (argc >= 3 && qstrcmp(argv[1], "--instancia") == 0)
        return Modo_Instancia(argc, argv);
    QApplication app(argc, argv);
    tst_instancia_unica Prueba;
    return QTest::qExec(&Prueba, argc, argv);
}

#include "tst_instancia_unica.moc"
