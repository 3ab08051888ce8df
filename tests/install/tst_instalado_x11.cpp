// The installed program itself, on a real X display with real key presses: installed
// (read-only or not, its folder gets no data) or copied into a folder it cannot write, it
// keeps its tables in $XDG_DATA_HOME/Quelvaro/Datos, made on the first start with one
// notice, and its error log beside them; copied into a writable folder with Datos, it
// works there and touches nothing else. Every start ends the way a user ends it.
#include "Instalar.h"
#include "VentanasX.h"
#include "Volumenes.h"
#include "X11Prueba.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include <functional>
#include <memory>

namespace {

const QString Titulo_Principal = QStringLiteral("Quelvaro");
const QString Titulo_Nota = QStringLiteral("Carpeta de datos");
const QString Titulo_Error = QStringLiteral("Error");
const QString Titulo_Salir = QStringLiteral("Finalizar");
const QString Titulo_Ayuda = QStringLiteral("Ayuda de Quelvaro");

constexpr quint32 Tecla_Intro = 0xff0d, Tecla_F1 = 0xffbe, Tecla_S = 's';

} // namespace

class tst_instalado_x11 : public QObject
{
    Q_OBJECT

    QTemporaryDir fDir;
    QString fPrefijo;
    QString fClaseMenu; // StartupWMClass of the installed menu entry
    std::unique_ptr<QProcess> fPrograma;

    // Gives a folder made read-only back its write permission, however the test ends.
    struct tDevolverPermiso
    {
        QString Carpeta;
        ~tDevolverPermiso()
        {
            if (!Carpeta.isEmpty())
                QFile::setPermissions(Carpeta, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
    };

    QString Ruta(const QString &Relativa) const { return fDir.filePath(Relativa); }

    static QStringList Contenido(const QString &Carpeta)
    {
        return QDir(Carpeta).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }

    // Starts `Programa` with its own XDG_DATA_HOME, home and temporary folder (the single
    // instance guard lives there, so no other start on this machine is in the way).
    void Arrancar(const QString &Programa, const QString &Xdg)
    {
        const QString Tmp = Ruta(QStringLiteral("tmp"));
        QDir().mkpath(Tmp);
        QDir().mkpath(Ruta(QStringLiteral("casa")));
        QProcessEnvironment Entorno = QProcessEnvironment::systemEnvironment();
        Entorno.insert(QStringLiteral("XDG_DATA_HOME"), Xdg);
        Entorno.insert(QStringLiteral("HOME"), Ruta(QStringLiteral("casa")));
        Entorno.insert(QStringLiteral("TMPDIR"), Tmp);
        Entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        fPrograma = std::make_unique<QProcess>();
        fPrograma->setProcessChannelMode(QProcess::MergedChannels);
        fPrograma->setProcessEnvironment(Entorno);
        fPrograma->start(Programa, QStringList());
    }

    // The first window on screen whose title is one of `Titulos` (the splash window, for
    // one, is not); an empty one when none comes up in time or the program ended.
    VentanasX::tVentana Esperar(const QStringList &Titulos, int Espera_ms = 20000)
    {
        QDeadlineTimer Limite(Espera_ms);
        while (!Limite.hasExpired()) {
            for (const VentanasX::tVentana &v : VentanasX::Visibles())
                if (Titulos.contains(v.Titulo))
                    return v;
            if (fPrograma->state() == QProcess::NotRunning)
                break;
            QTest::qWait(50);
        }
        return {};
    }

    // Gives `v` the keyboard and presses the key until `Hecho` holds: a window that has just
    // come up may not take keys yet.
    static bool Pulsar(const VentanasX::tVentana &v, quint32 Tecla, Qt::KeyboardModifiers Mods,
                       const std::function<bool()> &Hecho)
    {
        for (int Intento = 0; Intento < 5; ++Intento) {
            VentanasX::Enfocar(v.Id);
            QTest::qWait(100);
            X11Prueba::Pulsar(Tecla, Mods);
            if (QTest::qWaitFor(Hecho, 2000))
                return true;
        }
        return false;
    }

    // Closes the main window as a user does: Alt+S ("\r&Salir"), then Alt+S (" &Sí") in the
    // question. True when the program then ended by itself, with code 0.
    bool Salir(const VentanasX::tVentana &Principal)
    {
        VentanasX::tVentana Pregunta;
        if (!Pulsar(Principal, Tecla_S, Qt::AltModifier, [&] { return (Pregunta = Esperar({Titulo_Salir}, 50)).Id != 0; }))
            return false;
        if (!Pulsar(Pregunta, Tecla_S, Qt::AltModifier,
                    [&] { return fPrograma->state() == QProcess::NotRunning || fPrograma->waitForFinished(50); }))
            return false;
        return fPrograma->exitStatus() == QProcess::NormalExit && fPrograma->exitCode() == 0;
    }

    // One start from the first window that matters to the end: answers the notice or the
    // error when it comes first (`Primera` says which must), checks the window class of the
    // main window against the menu entry's, opens the help when asked, and ends the program.
    void Sesion(const QString &Programa, const QString &Xdg, const QString &Primera, bool Con_Ayuda = false)
    {
        Arrancar(Programa, Xdg);
        VentanasX::tVentana v = Esperar({Titulo_Nota, Titulo_Error, Titulo_Principal});
        QVERIFY2(v.Id, qPrintable(QStringLiteral("ninguna ventana; salida: ") + fPrograma->readAll()));
        QCOMPARE(v.Titulo, Primera);
        if (v.Titulo != Titulo_Principal) {
            QVERIFY(Pulsar(v, Tecla_Intro, Qt::NoModifier, [&] { return !VentanasX::Visible(v.Id); }));
            v = Esperar({Titulo_Principal});
            QVERIFY(v.Id);
        }
        // The desktop groups the window under its menu entry by this class.
        QCOMPARE(QString::fromUtf8(v.Clase), fClaseMenu);
        if (Con_Ayuda) {
            // F1 finds the help file where the install put it (a missing one shows "Ayuda").
            VentanasX::tVentana Ayuda;
            QVERIFY(Pulsar(v, Tecla_F1, Qt::NoModifier,
                           [&] { return (Ayuda = Esperar({Titulo_Ayuda, QStringLiteral("Ayuda")}, 50)).Id != 0; }));
            QCOMPARE(Ayuda.Titulo, Titulo_Ayuda);
        }
        QVERIFY2(Salir(v), qPrintable(fPrograma->readAll()));
    }

private slots:
    void initTestCase()
    {
        if (!X11Prueba::Motivo_Sin_X().isEmpty())
            QSKIP(qPrintable(QStringLiteral("sin pantalla X: ") + X11Prueba::Motivo_Sin_X()));
        QVERIFY(fDir.isValid());
        fPrefijo = Ruta(QStringLiteral("prefijo"));
        const tOrden r = Instalar(fPrefijo);
        QVERIFY2(r.Codigo == 0, qPrintable(r.Salida));
        QFile Menu(fPrefijo + QStringLiteral("/share/applications/es.quelvaro.Quelvaro.desktop"));
        QVERIFY(Menu.open(QIODevice::ReadOnly | QIODevice::Text));
        for (const QByteArray &Linea : Menu.readAll().split('\n'))
            if (Linea.startsWith("StartupWMClass="))
                fClaseMenu = QString::fromUtf8(Linea.mid(15));
        QVERIFY(!fClaseMenu.isEmpty());
    }

    void cleanup()
    {
        if (fPrograma && fPrograma->state() != QProcess::NotRunning) {
            fPrograma->kill();
            fPrograma->waitForFinished();
        }
        fPrograma.reset();
    }

    void carpetaDelUsuario_data()
    {
        QTest::addColumn<QString>("Caso");
        QTest::newRow("instalado") << "instalado";
        QTest::newRow("copia en una carpeta sin permiso de escritura") << "sin permiso";
        QTest::newRow("copia en una carpeta montada de solo lectura") << "montada";
    }
    void carpetaDelUsuario()
    {
        QFETCH(QString, Caso);
        QTemporaryDir Xdg;
        QVERIFY(Xdg.isValid());
        QString Programa = fPrefijo + QStringLiteral("/bin/quelvaro");
        std::unique_ptr<tSoloLectura> Montaje;
        tDevolverPermiso Devolver;
        const QString Copia = Ruta(QStringLiteral("copia-") + Caso);
        if (Caso != "instalado") {
            if (Caso == "montada" && ::geteuid() != 0)
                QSKIP("montar una carpeta de solo lectura exige ser root");
            QVERIFY(QDir().mkpath(Copia));
            QVERIFY(QFile::copy(Programa, Copia + QStringLiteral("/quelvaro")));
            Programa = Copia + QStringLiteral("/quelvaro");
            if (Caso == "sin permiso") {
                // Root could still write there: the permission bits are what tells.
                Devolver.Carpeta = Copia;
                QVERIFY(QFile::setPermissions(Copia, QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                         | QFileDevice::ReadGroup | QFileDevice::ExeGroup
                                                         | QFileDevice::ReadOther | QFileDevice::ExeOther));
            } else {
                Montaje = std::make_unique<tSoloLectura>(Copia);
                EXIGIR_LUGAR(*Montaje);
            }
        }
        const QString Carpeta_Programa = QFileInfo(Programa).absolutePath();
        const QStringList Antes = Contenido(Carpeta_Programa);

        Sesion(Programa, Xdg.path(), Titulo_Nota, Caso == "instalado");
        if (QTest::currentTestFailed())
            return;
        const QString Datos = Xdg.filePath(QStringLiteral("Quelvaro/Datos"));
        QCOMPARE(Contenido(Datos).size(), 8);
        QVERIFY(QFileInfo::exists(Datos + QStringLiteral("/Matriculas.DAT")));
        QCOMPARE(Contenido(Carpeta_Programa), Antes);

        // The notice comes once: the next start goes straight to the main window.
        Sesion(Programa, Xdg.path(), Titulo_Principal);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(Contenido(Datos).size(), 8);
    }

    // A writable copy keeps its data beside itself, as the build folder does.
    void copiaEscribible()
    {
        QTemporaryDir Xdg;
        QVERIFY(Xdg.isValid());
        const QString Copia = Ruta(QStringLiteral("escribible"));
        QVERIFY(QDir().mkpath(Copia));
        QVERIFY(QFile::copy(fPrefijo + QStringLiteral("/bin/quelvaro"), Copia + QStringLiteral("/quelvaro")));
        const tOrden r = Ejecutar(fPrefijo + QStringLiteral("/bin/quelvaro-datos"), {Copia + QStringLiteral("/Datos")});
        QVERIFY2(r.Codigo == 0, qPrintable(r.Salida));

        Sesion(Copia + QStringLiteral("/quelvaro"), Xdg.path(), Titulo_Principal);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(Contenido(Xdg.path()), QStringList());
        QCOMPARE(Contenido(Copia), (QStringList{QStringLiteral("Datos"), QStringLiteral("quelvaro")}));
    }

    // An error of the installed program is logged beside the user's data, never in the
    // program's folder; a data folder that holds something is not filled with tables.
    void registroDeErrores()
    {
        QTemporaryDir Xdg;
        QVERIFY(Xdg.isValid());
        const QString Datos = Xdg.filePath(QStringLiteral("Quelvaro/Datos"));
        QVERIFY(QDir().mkpath(Datos));
        QFile Nota(Datos + QStringLiteral("/notas.txt"));
        QVERIFY(Nota.open(QIODevice::WriteOnly));
        Nota.close();

        Sesion(fPrefijo + QStringLiteral("/bin/quelvaro"), Xdg.path(), Titulo_Error);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(Contenido(Datos), QStringList{QStringLiteral("notas.txt")});
        QFile Log(Xdg.filePath(QStringLiteral("Quelvaro/Quelvaro_errores.txt")));
        QVERIFY(Log.open(QIODevice::ReadOnly));
        QVERIFY(Log.readAll().startsWith("***** "));
        QCOMPARE(QDir(fPrefijo + QStringLiteral("/bin")).entryList({QStringLiteral("*_errores.txt")}), QStringList());
    }
};

X11PRUEBA_MAIN(tst_instalado_x11, QCoreApplication)
#include "tst_instalado_x11.moc"
