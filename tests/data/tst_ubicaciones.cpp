// Where the program keeps its data and its error log and finds its help file: the
// decision as a table, whether a folder can really be written (also by root), and the
// first start's empty tables made all or nothing.
#include "Capturar.h"
#include "Esquema.h"
#include "StoreErrors.h"
#include "Ubicaciones.h"
#include "Volumenes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include <memory>

class tst_ubicaciones : public QObject
{
    Q_OBJECT

    static QStringList Contenido(const QString &Carpeta)
    {
        return QDir(Carpeta).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                       QDir::Name);
    }

    static QStringList Tablas()
    {
        QStringList r;
        for (const TTableDef &d : Definicion_Tablas())
            r << d.name;
        r.sort();
        return r;
    }

private slots:
    void decidir_data()
    {
        QTest::addColumn<QString>("Programa");
        QTest::addColumn<bool>("Escribible");
        QTest::addColumn<bool>("Instalado");
        QTest::addColumn<bool>("Datos_Junto");
        QTest::addColumn<QString>("Xdg");
        QTest::addColumn<QString>("Personal");
        QTest::addColumn<QString>("Datos");
        QTest::addColumn<QString>("Log");
        QTest::addColumn<QString>("Ayuda");
        QTest::addColumn<bool>("Del_Usuario");
        QTest::addColumn<QString>("Documentos"); // where saving a report starts

        const QString Opt = QStringLiteral("/opt/q"), Ana = QStringLiteral("/home/ana");
        const QString Suyo = QStringLiteral("/home/ana/.local/share/Quelvaro");
        QTest::newRow("carpeta propia escribible") << Opt << true << false << false << "" << Ana
                                                   << "/opt/q/Datos" << Opt << "/opt/q/Quelvaro.Hlp" << false << Opt;
        QTest::newRow("copia de solo lectura") << Opt << false << false << false << "" << Ana << Suyo + "/Datos"
                                               << Suyo << "/opt/q/Quelvaro.Hlp" << true << Ana;
        QTest::newRow("instalado en /usr") << "/usr/bin" << false << true << false << "" << Ana << Suyo + "/Datos"
                                           << Suyo << "/usr/share/quelvaro/Quelvaro.Hlp" << true << Ana;
        // root may write in /usr/bin: the package's folder still gets no data.
        QTest::newRow("instalado, escribible por root") << "/usr/bin" << true << true << false << "" << "/root"
                                                        << "/root/.local/share/Quelvaro/Datos"
                                                        << "/root/.local/share/Quelvaro"
                                                        << "/usr/share/quelvaro/Quelvaro.Hlp" << true << QStringLiteral("/root");
        QTest::newRow("instalado en la carpeta personal")
            << "/home/ana/.local/bin" << true << true << false << "" << Ana << Suyo + "/Datos" << Suyo
            << "/home/ana/.local/share/quelvaro/Quelvaro.Hlp" << true << Ana;
        QTest::newRow("XDG_DATA_HOME") << "/usr/bin" << false << true << false << "/srv/x/" << Ana
                                       << "/srv/x/Quelvaro/Datos" << "/srv/x/Quelvaro"
                                       << "/usr/share/quelvaro/Quelvaro.Hlp" << true << Ana;
        // The XDG rules: a relative path is not to be used.
        QTest::newRow("XDG_DATA_HOME relativo") << "/usr/bin" << false << true << false << "datos" << Ana
                                                << Suyo + "/Datos" << Suyo << "/usr/share/quelvaro/Quelvaro.Hlp"
                                                << true << Ana;
        // Data already beside the program is never hidden behind a new, empty folder;
        // the log goes where it can be written.
        QTest::newRow("Datos junto, carpeta de solo lectura") << Opt << false << false << true << "" << Ana
                                                              << "/opt/q/Datos" << Suyo << "/opt/q/Quelvaro.Hlp"
                                                              << false << Ana;
        QTest::newRow("Datos junto, instalado") << "/usr/bin" << true << true << true << "" << Ana
                                                << "/usr/bin/Datos" << Suyo << "/usr/share/quelvaro/Quelvaro.Hlp"
                                                << false << Ana;
        QTest::newRow("sin carpeta personal") << Opt << false << false << false << "" << "" << "/opt/q/Datos" << Opt
                                              << "/opt/q/Quelvaro.Hlp" << false << Opt;
        QTest::newRow("barra final en la carpeta del programa") << "/opt/q/" << true << false << false << "" << Ana
                                                                << "/opt/q/Datos" << Opt << "/opt/q/Quelvaro.Hlp"
                                                                << false << Opt;
    }
    void decidir()
    {
        QFETCH(QString, Programa);
        QFETCH(bool, Escribible);
        QFETCH(bool, Instalado);
        QFETCH(bool, Datos_Junto);
        QFETCH(QString, Xdg);
        QFETCH(QString, Personal);
        tEntornoPrograma E;
        E.Carpeta_Programa = Programa;
        E.Escribible = Escribible;
        E.Instalado = Instalado;
        E.Datos_Junto = Datos_Junto;
        E.Xdg_Data_Home = Xdg;
        E.Carpeta_Personal = Personal;
        const tUbicaciones U = Decidir_Ubicaciones(E);
        QTEST(U.Carpeta_Datos, "Datos");
        QTEST(U.Carpeta_Log, "Log");
        QTEST(U.Fichero_Ayuda, "Ayuda");
        QTEST(U.Datos_Del_Usuario, "Del_Usuario");
        QTEST(U.Carpeta_Documentos, "Documentos");
    }

    // Root may write almost anywhere, so both the permission bits and a real attempt count.
    void escribible_data()
    {
        QTest::addColumn<QString>("Caso");
        QTest::addColumn<bool>("Escribible");
        QTest::newRow("carpeta normal") << "normal" << true;
        QTest::newRow("sin permiso de escritura") << "0555" << false;
        QTest::newRow("montada de solo lectura") << "montada" << false;
        QTest::newRow("no existe") << "no existe" << false;
        QTest::newRow("es un fichero") << "fichero" << false;
    }
    void escribible()
    {
        QFETCH(QString, Caso);
        QTemporaryDir Dir;
        QVERIFY(Dir.isValid());
        QString Carpeta = Dir.path();
        std::unique_ptr<tSoloLectura> Montaje;
        if (Caso == "0555") {
            QVERIFY(QFile::setPermissions(Carpeta, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                                       | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                                       | QFileDevice::ExeOther));
        } else if (Caso == "montada") {
            if (::geteuid() != 0)
                QSKIP("montar una carpeta de solo lectura exige ser root");
            Montaje = std::make_unique<tSoloLectura>(Carpeta);
            EXIGIR_LUGAR(*Montaje);
        } else if (Caso == "no existe") {
            Carpeta += QStringLiteral("/no-existe");
        } else if (Caso == "fichero") {
            Carpeta += QStringLiteral("/fichero");
            QFile f(Carpeta);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QTEST(Carpeta_Escribible(Carpeta), "Escribible");
        Montaje.reset();
        QFile::setPermissions(Dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        // The attempt leaves nothing behind.
        if (Caso == "normal")
            QVERIFY(Contenido(Dir.path()).isEmpty());
    }

    // The user's data folder on the first start: the eight tables where there was nothing,
    // nothing touched where there was something.
    void carpetaNueva_data()
    {
        QTest::addColumn<QString>("Caso");
        QTest::addColumn<bool>("Creada");
        QTest::newRow("no existe, ni su carpeta madre") << "no existe" << true;
        QTest::newRow("vacía") << "vacía" << true;
        QTest::newRow("con una tabla") << "una tabla" << false;
        QTest::newRow("con otro fichero") << "otro fichero" << false;
        QTest::newRow("con una carpeta oculta") << "oculta" << false;
        QTest::newRow("es un fichero") << "fichero" << false;
    }
    void carpetaNueva()
    {
        QFETCH(QString, Caso);
        QFETCH(bool, Creada);
        QTemporaryDir Dir;
        QVERIFY(Dir.isValid());
        const QString Madre = Dir.filePath(QStringLiteral("share/Quelvaro"));
        const QString Datos = Madre + QStringLiteral("/Datos");
        QStringList Antes;
        if (Caso != "no existe") {
            QVERIFY(QDir().mkpath(Caso == "fichero" ? Madre : Datos));
            const QString Nombre = Caso == "una tabla" ? QStringLiteral("Marcas.DAT") : QStringLiteral("notas.txt");
            if (Caso == "una tabla" || Caso == "otro fichero") {
                QFile f(Datos + QLatin1Char('/') + Nombre);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write("algo");
            } else if (Caso == "oculta") {
                QVERIFY(QDir(Datos).mkdir(QStringLiteral(".oculta")));
            } else if (Caso == "fichero") {
                QFile f(Datos);
                QVERIFY(f.open(QIODevice::WriteOnly));
            }
            Antes = Contenido(Datos);
        }

        QCOMPARE(Crear_Carpeta_Datos_Nueva(Datos), Creada);
        if (Creada)
            QCOMPARE(Contenido(Datos), Tablas());
        else
            QCOMPARE(Contenido(Datos), Antes);
        // Beside it, only the folder itself: nothing left from the making.
        QCOMPARE(Contenido(Madre), QStringList{QStringLiteral("Datos")});
    }

    // Where the folder cannot be made, or fills the disk half-way, the failure says so and
    // leaves nothing behind: no folder with some of the tables, no half-made folder beside.
    void carpetaNuevaImposible_data()
    {
        QTest::addColumn<QString>("Caso");
        QTest::newRow("solo lectura") << "solo lectura";
        QTest::newRow("disco lleno") << "disco lleno";
    }
    void carpetaNuevaImposible()
    {
        QFETCH(QString, Caso);
        if (::geteuid() != 0)
            QSKIP("montar discos y carpetas de solo lectura exige ser root");
        QTemporaryDir Dir;
        QVERIFY(Dir.isValid());
        std::unique_ptr<tSoloLectura> Montaje;
        std::unique_ptr<tDiscoPequeno> Disco;
        QString Base = Dir.path();
        if (Caso == "solo lectura") {
            Montaje = std::make_unique<tSoloLectura>(Base);
            EXIGIR_LUGAR(*Montaje);
        } else {
            Disco = std::make_unique<tDiscoPequeno>(8 * 4096); // room for a table or two
            EXIGIR_LUGAR(*Disco);
            Base = Disco->ruta();
        }
        const QString Datos = Base + QStringLiteral("/Quelvaro/Datos");
        const auto e = Capturar<ECodedError>([&] { Crear_Carpeta_Datos_Nueva(Datos); });
        QVERIFY2(e, "la carpeta no debía poder crearse");
        if (Caso == "solo lectura") {
            QCOMPARE(e->code(), int(EngineCode::WriteError));
            QVERIFY2(e->message().contains(Datos), qPrintable(e->message()));
        }
        QVERIFY(!QFileInfo::exists(Datos));
        const QStringList Queda = Contenido(QFileInfo(Datos).absolutePath());
        QVERIFY2(Queda.isEmpty(), qPrintable(Queda.join(QLatin1Char(' '))));
    }
};

QTEST_GUILESS_MAIN(tst_ubicaciones)
#include "tst_ubicaciones.moc"
