// The install and the Debian package: an install into a temporary prefix holds every
// file the program needs where it looks for them, the menu entry and the AppStream file
// validate, and the package built by CPack holds exactly the install's files and declares
// what the program needs at run time.
#include "Instalar.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_instalacion : public QObject
{
    Q_OBJECT

    QTemporaryDir fDir;
    QString fPrefijo;

    static QStringList Esperados() { return QStringLiteral(QUELVARO_FICHEROS).split(QLatin1Char('|')); }

    // The files under `Carpeta`, relative to it, sorted.
    static QStringList Ficheros(const QString &Carpeta)
    {
        QStringList r;
        QDirIterator it(Carpeta, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext())
            r << QDir(Carpeta).relativeFilePath(it.next());
        r.sort();
        return r;
    }

    // The value of `Clave` in the main group of a desktop file.
    static QString Clave_Escritorio(const QString &Fichero, const QString &Clave)
    {
        QFile f(Fichero);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
            return QString();
        const QStringList Lineas = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        for (const QString &l : Lineas)
            if (l.startsWith(Clave + QLatin1Char('=')))
                return l.mid(Clave.size() + 1);
        return QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(fDir.isValid());
        fPrefijo = fDir.filePath(QStringLiteral("prefijo"));
        const tOrden r = Instalar(fPrefijo);
        QVERIFY2(r.Codigo == 0, qPrintable(r.Salida));
    }

    // Every file, and nothing else; the programs can be run, the icons have their sizes.
    void ficheros()
    {
        QStringList Esperada = Esperados();
        Esperada.sort();
        QCOMPARE(Ficheros(fPrefijo), Esperada);
        for (const QString &f : Esperada) {
            const QFileInfo Info(fPrefijo + QLatin1Char('/') + f);
            if (f.startsWith(QStringLiteral("bin/")))
                QVERIFY2(Info.isExecutable(), qPrintable(f));
            static const QRegularExpression Icono(QStringLiteral("/hicolor/(\\d+)x\\1/apps/"));
            const QRegularExpressionMatch m = Icono.match(f);
            if (m.hasMatch()) {
                const int Lado = m.captured(1).toInt();
                QCOMPARE(QImageReader(Info.filePath()).size(), QSize(Lado, Lado));
            }
        }
        // The menu entry names an icon and a program that the install holds.
        const QString Escritorio = fPrefijo + QStringLiteral("/share/applications/es.quelvaro.Quelvaro.desktop");
        QVERIFY(QFileInfo::exists(fPrefijo + QStringLiteral("/share/icons/hicolor/48x48/apps/")
                                  + Clave_Escritorio(Escritorio, QStringLiteral("Icon")) + QStringLiteral(".png")));
        QVERIFY(QFileInfo(fPrefijo + QStringLiteral("/bin/") + Clave_Escritorio(Escritorio, QStringLiteral("Exec")))
                    .isExecutable());
        QCOMPARE(Clave_Escritorio(Escritorio, QStringLiteral("Categories")), QStringLiteral("Office;"));
    }

    void validar_data()
    {
        QTest::addColumn<QString>("Programa");
        QTest::addColumn<QStringList>("Argumentos");
        QTest::addColumn<QString>("Fichero");
        QTest::newRow("entrada del menú") << "desktop-file-validate" << QStringList()
                                          << "share/applications/es.quelvaro.Quelvaro.desktop";
        QTest::newRow("AppStream") << "appstreamcli" << QStringList{"validate", "--no-net"}
                                   << "share/metainfo/es.quelvaro.Quelvaro.metainfo.xml";
    }
    void validar()
    {
        QFETCH(QString, Programa);
        QFETCH(QStringList, Argumentos);
        QFETCH(QString, Fichero);
        const QString Camino = QStandardPaths::findExecutable(Programa);
        if (Camino.isEmpty())
            QSKIP(qPrintable(Programa + QStringLiteral(" no está instalado (scripts/setup-deps.sh lo instala)")));
        const tOrden r = Ejecutar(Camino, Argumentos << fPrefijo + QLatin1Char('/') + Fichero);
        QVERIFY2(r.Codigo == 0, qPrintable(r.Salida));
        // Notes and hints count too: the files are small enough to be spotless.
        QVERIFY2(!r.Salida.contains(QRegularExpression(QStringLiteral("^[IWE]: |hint|warning|error"),
                                                       QRegularExpression::CaseInsensitiveOption
                                                           | QRegularExpression::MultilineOption)),
                 qPrintable(r.Salida));
    }

    // The package of this build: the install's files under /usr, and its dependencies.
    void paquete()
    {
        const QString DpkgDeb = QStandardPaths::findExecutable(QStringLiteral("dpkg-deb"));
        if (DpkgDeb.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("dpkg-shlibdeps")).isEmpty())
            QSKIP("sin dpkg-deb o dpkg-shlibdeps (paquete dpkg-dev) no se construye el paquete");
        const QString Salida = fDir.filePath(QStringLiteral("paquete"));
        const tOrden Cpack = Ejecutar(QStringLiteral(QUELVARO_CPACK),
                                      {QStringLiteral("--config"), QStringLiteral(QUELVARO_BUILD "/CPackConfig.cmake"),
                                       QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), Salida});
        QVERIFY2(Cpack.Codigo == 0, qPrintable(Cpack.Salida));
        const QStringList Debs = QDir(Salida).entryList({QStringLiteral("quelvaro_*.deb")}, QDir::Files);
        QCOMPARE(Debs.size(), 1);
        const QString Deb = Salida + QLatin1Char('/') + Debs.first();

        const tOrden Lista = Ejecutar(DpkgDeb, {QStringLiteral("--contents"), Deb});
        QVERIFY2(Lista.Codigo == 0, qPrintable(Lista.Salida));
        // "-rwxr-xr-x root/root 123 2026-12-10 10:00 ./usr/bin/quelvaro"; folders end in "/".
        QStringList EnPaquete;
        for (const QString &l : Lista.Salida.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QString Camino = l.section(QLatin1Char(' '), -1);
            if (!Camino.endsWith(QLatin1Char('/')))
                EnPaquete << Camino;
        }
        EnPaquete.sort();
        QStringList Instalados;
        for (const QString &f : Ficheros(fPrefijo))
            Instalados << QStringLiteral("./usr/") + f;
        QCOMPARE(EnPaquete, Instalados);

        const tOrden Campos = Ejecutar(DpkgDeb, {QStringLiteral("--field"), Deb, QStringLiteral("Package"),
                                                 QStringLiteral("Version"), QStringLiteral("Depends")});
        QVERIFY2(Campos.Codigo == 0, qPrintable(Campos.Salida));
        QVERIFY2(Campos.Salida.contains(QStringLiteral("Package: quelvaro\n")), qPrintable(Campos.Salida));
        QVERIFY2(Campos.Salida.contains(QStringLiteral("Version: " QUELVARO_VERSION "\n")), qPrintable(Campos.Salida));
        QStringList Dependencias;
        const QString Depends = Campos.Salida.section(QStringLiteral("Depends: "), 1).trimmed();
        for (const QString &d : Depends.split(QLatin1Char(',')))
            Dependencias << d.trimmed().section(QLatin1Char(' '), 0, 0);
        // Qt 6 and SQLite: the package of every such library an installed program loads
        // ("libQt6Core.so.6" comes in libqt6core6, "libsqlite3.so.0" in libsqlite3-0); the
        // faces and Qt's Spanish texts because the program asks for them by name.
        QStringList Necesarias = QStringLiteral(QUELVARO_DEPENDENCIAS).split(QLatin1Char('|'));
        const QString Readelf = QStandardPaths::findExecutable(QStringLiteral("readelf"));
        QVERIFY2(!Readelf.isEmpty(), "sin readelf (binutils)");
        static const QRegularExpression Biblioteca(QStringLiteral("\\[(lib(?:Qt6\\w+|sqlite3))\\.so\\.(\\d+)\\]"));
        for (const QString &f : Ficheros(fPrefijo)) {
            if (!f.startsWith(QStringLiteral("bin/")))
                continue;
            const tOrden Dinamica = Ejecutar(Readelf, {QStringLiteral("-d"), fPrefijo + QLatin1Char('/') + f});
            QVERIFY2(Dinamica.Codigo == 0, qPrintable(Dinamica.Salida));
            auto it = Biblioteca.globalMatch(Dinamica.Salida);
            while (it.hasNext()) {
                const QRegularExpressionMatch m = it.next();
                const QString Base = m.captured(1).toLower();
                Necesarias << Base + (Base.back().isDigit() ? QStringLiteral("-") : QString()) + m.captured(2);
            }
        }
        Necesarias.removeDuplicates();
        for (const QString &n : {QStringLiteral("libqt6core6"), QStringLiteral("libqt6widgets6"), QStringLiteral("libsqlite3-0")})
            QVERIFY2(Necesarias.contains(n), qPrintable(n + QStringLiteral(" no aparece en los programas instalados")));
        for (const QString &n : Necesarias)
            QVERIFY2(Dependencias.contains(n), qPrintable(n + QStringLiteral(" falta en: ") + Depends));
    }
};

QTEST_GUILESS_MAIN(tst_instalacion)
#include "tst_instalacion.moc"
