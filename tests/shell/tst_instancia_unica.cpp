// Single instance as real processes: this program started with "--instancia NAME FOLDER
// [minimizada]" is one start of the whole program under the block NAME, on the data folder FOLDER.
#include "Arranque.h"
#include "Avisos.h"
#include "DatosPrueba.h"
#include "Principal.h"
#include "SharedMem.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>
#include <QUuid>

#include <cstdio>
#include <unistd.h>

namespace {

void Decir(const char *Linea)
{
    std::printf("%s\n", Linea);
    std::fflush(stdout);
}

// One start. A first one reports "LISTA" once its main window is up, "ACTIVADA ..." with the
// window's state whenever a later start asks for it, and closes (answering " &Sí") on "fin".
int Modo_Instancia(int argc, char **argv)
{
    tOpcionesArranque Opciones;
    Opciones.Nombre_Bloque = QString::fromLocal8Bit(argv[2]);
    Opciones.Carpeta_Datos = QString::fromLocal8Bit(argv[3]);
    const bool Minimizada = argc > 4 && qstrcmp(argv[4], "minimizada") == 0;
    QSocketNotifier *Entrada = nullptr;
    Opciones.Al_Empezar = [&](TFormPrincipal &Principal, tSharedMem &Guardia) {
        Avisos_Prueba::Sin_Ventanas(true);
        if (Minimizada)
            Principal.showMinimized();
        QObject::connect(&Guardia, &tSharedMem::Activacion_Solicitada, &Principal, [&Principal] {
            Decir(Principal.isMinimized() ? "ACTIVADA minimizada" : "ACTIVADA normal");
        });
        Entrada = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &Principal);
        QObject::connect(Entrada, &QSocketNotifier::activated, &Principal, [&Principal, Entrada] {
            char Buffer[64];
            if (::read(STDIN_FILENO, Buffer, sizeof Buffer) <= 0 || qstrncmp(Buffer, "fin", 3) == 0) {
                Entrada->setEnabled(false);
                Avisos_Prueba::Programar_Respuesta(true);
                Principal.close();
            }
        });
        QTimer::singleShot(0, [] { Decir("LISTA"); });
    };
    return Ejecutar_Quelvaro(argc, argv, Opciones);
}

} // namespace

class tst_instancia_unica : public QObject
{
    Q_OBJECT

    QString fNombre;
    std::unique_ptr<DatosPrueba> fDatos;
    QList<QProcess *> fProcesos;

    QProcess *Arrancar(const QString &Estado = QString())
    {
        auto *p = new QProcess(this);
        p->setProgram(QCoreApplication::applicationFilePath());
        QStringList Argumentos{QStringLiteral("--instancia"), fNombre, fDatos->carpeta()};
        if (!Estado.isEmpty())
            Argumentos << Estado;
        p->setArguments(Argumentos);
        // The starts run on the same platform as this test, however it was chosen.
        QProcessEnvironment Entorno = QProcessEnvironment::systemEnvironment();
        Entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QGuiApplication::platformName());
        p->setProcessEnvironment(Entorno);
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
                break;
            p->waitForReadyRead(200);
        }
        qWarning("sin \"%s\"; salida: %s; errores: %s", Linea.constData(), Leido.constData(),
                 p->readAllStandardError().constData());
        return false;
    }

private slots:
    void init()
    {
        fNombre = QStringLiteral("QuelvaroPrueba-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        fDatos = std::make_unique<DatosPrueba>();
        QVERIFY(fDatos->isValid());
    }

    bool Crear_Fichero(const QString &Nombre)
    {
        QFile f(QDir(fDatos->carpeta()).filePath(Nombre));
        return f.open(QIODevice::WriteOnly);
    }
    bool Existe(const QString &Nombre) const { return QFile::exists(QDir(fDatos->carpeta()).filePath(Nombre)); }

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
        fDatos.reset();
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

    // A second start brings the first to the front (restoring it when minimised) and ends at
    // once with status 0, without a window and without touching the data folder.
    void segundaArrancadaActivaLaPrimera_data()
    {
        QTest::addColumn<QString>("Estado");
        QTest::newRow("normal") << QString();
        QTest::newRow("minimizada") << QStringLiteral("minimizada");
    }
    void segundaArrancadaActivaLaPrimera()
    {
        QFETCH(QString, Estado);
        QVERIFY(Crear_Fichero(QStringLiteral("X.DUP")));
        QProcess *Primera = Arrancar(Estado);
        QVERIFY(Esperar_Linea(Primera, "LISTA"));
        QVERIFY(!Existe(QStringLiteral("X.DUP"))); // the first start did check the folder

        QVERIFY(Crear_Fichero(QStringLiteral("Y.DUP")));
        QProcess *Segunda = Arrancar();
        QVERIFY(Segunda->waitForFinished(30000));
        QCOMPARE(Segunda->exitStatus(), QProcess::NormalExit);
        QCOMPARE(Segunda->exitCode(), 0);
        QVERIFY(!Segunda->readAllStandardOutput().contains("LISTA"));
        QVERIFY(Existe(QStringLiteral("Y.DUP")));
        QVERIFY(Esperar_Linea(Primera, "ACTIVADA normal"));
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
        QCOMPARE(Otra->exitCode(), 0);
        QVERIFY(Esperar_Linea(Siguiente, "ACTIVADA normal"));
    }
};

int main(int argc, char **argv)
{
    if (argc >= 4 && qstrcmp(argv[1], "--instancia") == 0)
        return Modo_Instancia(argc, argv);
    QApplication app(argc, argv);
    tst_instancia_unica Prueba;
    return QTest::qExec(&Prueba, argc, argv);
}

#include "tst_instancia_unica.moc"
