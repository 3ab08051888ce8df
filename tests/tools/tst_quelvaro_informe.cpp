// quelvaro-informe run as a program, without a display: every kind of report
// and every kind of output read back, and its exit statuses and messages for
// usage errors, missing data and failures; the data folder is never touched.
#include "PageStore.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Vehicles of the sample fleet of quelvaro-datos --ejemplo.
const QString Completo = QStringLiteral("1337 CFK"); // a pending breakdown, two tyre changes, a sheet
const QString Reparado = QStringLiteral("1200 BCD"); // its only breakdown repaired
const QString SinFicha = QStringLiteral("2570 LMN"); // the vehicle without a technical sheet

struct Resultado
{
    int estado = -1;
    QString errores;
};

// Runs a program with neither a platform nor a display in its environment.
Resultado Ejecutar(const QString &programa, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(programa, args);
    Resultado r;
    if (!p.waitForFinished(120000))
        return r;
    r.errores = QString::fromUtf8(p.readAllStandardError());
    r.estado = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

// Every file under `carpeta` with its size, time and contents' hash.
QStringList Huella(const QString &carpeta)
{
    QStringList h;
    QDirIterator it(carpeta, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString ruta = it.next();
        QFile f(ruta);
        if (!f.open(QIODevice::ReadOnly))
            return {QStringLiteral("no se puede leer ") + ruta};
        h << QStringLiteral("%1 %2 %3 %4")
                 .arg(ruta)
                 .arg(f.size())
                 .arg(it.fileInfo().lastModified().toMSecsSinceEpoch())
                 .arg(QString::fromLatin1(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex()));
    }
    h.sort();
    return h;
}

} // namespace

class TstQuelvaroInforme : public QObject
{
    Q_OBJECT

    QTemporaryDir fDir;
    QString fDatos, fVacia, fRota;
    QStringList fHuella;

    QString Salida(const QString &nombre) const { return fDir.filePath(QStringLiteral("salida/") + nombre); }

private slots:
    void initTestCase();
    void informes_data();
    void informes();
    void fallos_data();
    void fallos();
    void cleanupTestCase();
};

void TstQuelvaroInforme::initTestCase()
{
    QVERIFY(fDir.isValid());
    fDatos = fDir.filePath(QStringLiteral("Datos"));
    fVacia = fDir.filePath(QStringLiteral("Vacia"));
    fRota = fDir.filePath(QStringLiteral("Rota"));
    QCOMPARE(Ejecutar(QStringLiteral(QUELVARO_DATOS), {QStringLiteral("--ejemplo"), fDatos}).estado, 0);
    QCOMPARE(Ejecutar(QStringLiteral(QUELVARO_DATOS), {fVacia}).estado, 0);
    QCOMPARE(Ejecutar(QStringLiteral(QUELVARO_DATOS), {fRota}).estado, 0);
    QVERIFY(QFile::remove(fRota + QStringLiteral("/Marcas.DAT")));
    // Leftovers the program's start-up check would delete, and the copy keeps.
    for (const char *resto : {"Matriculas.DUP", "Averias.~DP"}) {
        QFile f(fDatos + QLatin1Char('/') + QLatin1String(resto));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("resto");
    }
    QVERIFY(QDir().mkpath(fDir.filePath(QStringLiteral("salida"))));
    fHuella = Huella(fDatos) + Huella(fVacia) + Huella(fRota);
}

void TstQuelvaroInforme::informes_data()
{
    QTest::addColumn<QString>("informe");
    QTest::addColumn<QString>("matricula");
    QTest::addColumn<QString>("salida");
    QTest::addColumn<QStringList>("textos");
    QTest::newRow("mantenimiento") << "mantenimiento" << Completo << "mantenimiento.pdf"
                                   << QStringList{"TAREAS DE MANTENIMIENTO", Completo, "TAURUS", "CARGO 35",
                                                  "Próximo Mantto:", "53.000"};
    QTest::newRow("averías pendientes") << "averias" << Completo << "averias.pdf"
                                        << QStringList{"LISTADO DE AVERIAS", Completo, "Testigo de avería",
                                                       "Importe Total"};
    QTest::newRow("historial") << "historial" << Reparado << "historial.pdf"
                               << QStringList{"LISTADO DE AVERIAS", Reparado, "Ruido en la suspensión",
                                              "184,50"};
    QTest::newRow("neumáticos") << "neumaticos" << Completo << "neumaticos.pdf"
                                << QStringList{"LISTADO DE RUEDAS", Completo, "Medida 205/75 R16C", "Juego completo",
                                               "Eje delantero"};
    QTest::newRow("ficha") << "ficha" << Completo << "ficha.pdf"
                           << QStringList{"FICHA TÉCNICA", Completo, "TAURUS CARGO 35", "Tipo T2"};
    QTest::newRow("vehículos") << "vehiculos" << QString() << "vehiculos.pdf"
                               << QStringList{"LISTADO DE VEHÍCULOS", Reparado, Completo, SinFicha};
    QTest::newRow("intervalos") << "intervalos" << QString() << "intervalos.pdf"
                                << QStringList{"INTERVALOS DE MANTENIMIENTO", Completo, "Cambio de Aceite:"};
    QTest::newRow("vencimientos") << "vencimientos" << QString() << "vencimientos.pdf"
                                  << QStringList{"Vencimientos de la flota", "Página 1 de"};
    // The other outputs, each as its own reader sees it.
    QTest::newRow("informe guardado") << "historial" << Reparado << "historial.qrp"
                                      << QStringList{};
    QTest::newRow("texto") << "historial" << Reparado << "historial.txt"
                           << QStringList{"LISTADO DE AVERIAS", Reparado, "Ruido en la suspensión", "184,50"};
    QTest::newRow("csv") << "historial" << Reparado << "historial.csv"
                         << QStringList{Reparado + ",SERENA,BRISA 1.6", "\"184,5\""};
    QTest::newRow("html, extensión en mayúsculas") << "mantenimiento" << Completo << "MANTTO.HTM"
                                                   << QStringList{"<table", Completo, "C/ACEITE"};
}

void TstQuelvaroInforme::informes()
{
    QFETCH(QString, informe);
    QFETCH(QString, matricula);
    QFETCH(QString, salida);
    QFETCH(QStringList, textos);
    QStringList args{fDatos, informe};
    if (!matricula.isEmpty())
        args << matricula;
    const QString fichero = Salida(salida);
    const Resultado r = Ejecutar(QStringLiteral(QUELVARO_INFORME), args << fichero);
    QCOMPARE(r.errores, QString());
    QCOMPARE(r.estado, 0);

    QString leido;
    const QString ext = QFileInfo(salida).suffix().toLower();
    if (ext == QLatin1String("pdf")) {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext no está instalado");
        QProcess p;
        p.start(pdftotext, {QStringLiteral("-layout"), fichero, QStringLiteral("-")});
        QVERIFY(p.waitForFinished(30000));
        leido = QString::fromUtf8(p.readAllStandardOutput());
    } else if (ext == QLatin1String("qrp")) {
        TPageStore almacen;
        almacen.Load(fichero);
        QCOMPARE(almacen.Page_Count(), 1);
        QVERIFY(almacen.Page_Size(1).height() > almacen.Page_Size(1).width());
    } else {
        QFile f(fichero);
        QVERIFY(f.open(QIODevice::ReadOnly));
        leido = QString::fromUtf8(f.readAll());
    }
    for (const QString &t : textos)
        QVERIFY2(leido.contains(t), qPrintable(t + QStringLiteral(" no está en:\n") + leido));
    // Nothing but the output: not a temporary file beside it.
    QCOMPARE(QDir(fDir.filePath(QStringLiteral("salida"))).entryList(QDir::Files).filter(salida), QStringList{salida});
}

void TstQuelvaroInforme::fallos_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("estado");
    QTest::addColumn<QString>("mensaje");
    const QString pdf = QStringLiteral("x.pdf");
    // Usage errors.
    QTest::newRow("sin argumentos") << QStringList{} << 2 << "Uso: quelvaro-informe CARPETA_DATOS INFORME";
    QTest::newRow("informe desconocido") << QStringList{"@D", "ruedas", Completo, pdf} << 2
                                         << "Informe desconocido: «ruedas»";
    QTest::newRow("falta la matrícula") << QStringList{"@D", "ficha", pdf} << 2
                                        << "El informe «ficha» pide una matrícula.";
    QTest::newRow("matrícula de más") << QStringList{"@D", "vehiculos", Completo, pdf} << 2
                                      << "El informe «vehiculos» no lleva matrícula.";
    QTest::newRow("salida de otra clase") << QStringList{"@D", "ficha", Completo, "x.doc"} << 2
                                          << "debe terminar en .pdf, .qrp, .txt, .csv o .htm";
    // Nothing for the report: its own message.
    QTest::newRow("sin averías pendientes") << QStringList{"@D", "averias", Reparado, pdf} << 2
                                            << "No existen averías para listar";
    QTest::newRow("sin ficha") << QStringList{"@D", "ficha", SinFicha, pdf} << 2 << "No hay datos para listar";
    QTest::newRow("vehículo de otra flota") << QStringList{"@V", "mantenimiento", Completo, pdf} << 1
                                       << "No existe ningún vehículo con la matrícula «1337 CFK»";
    QTest::newRow("flota vacía") << QStringList{"@V", "intervalos", pdf} << 2 << "No hay vehículos para listar";
    QTest::newRow("flota vacía, vencimientos") << QStringList{"@V", "vencimientos", pdf} << 2
                                               << "No hay vehículos para listar";
    // Failures.
    QTest::newRow("matrícula desconocida") << QStringList{"@D", "neumaticos", "1337 cfk", pdf} << 1
                                           << "No existe ningún vehículo con la matrícula «1337 cfk»";
    QTest::newRow("carpeta que no existe") << QStringList{"@N", "vehiculos", pdf} << 1 << "No existe la carpeta de datos";
    QTest::newRow("carpeta sin una tabla") << QStringList{"@R", "vehiculos", pdf} << 1
                                           << "No se encuentra la tabla Marcas.DAT (@R/Marcas.DAT)";
    QTest::newRow("salida imposible") << QStringList{"@D", "vehiculos", "@N/x.pdf"} << 1
                                      << "No se ha podido escribir «@N/x.pdf»";
}

void TstQuelvaroInforme::fallos()
{
    QFETCH(QStringList, args);
    QFETCH(int, estado);
    QFETCH(QString, mensaje);
    const QString nada = fDir.filePath(QStringLiteral("NoExiste"));
    auto poner = [&](QString t) {
        return t.replace(QStringLiteral("@D"), fDatos).replace(QStringLiteral("@V"), fVacia)
            .replace(QStringLiteral("@R"), fRota).replace(QStringLiteral("@N"), nada);
    };
    for (QString &a : args)
        a = poner(a);
    if (args.size() > 2 && args.last() == QLatin1String("x.pdf"))
        args.last() = Salida(QStringLiteral("x.pdf"));
    const Resultado r = Ejecutar(QStringLiteral(QUELVARO_INFORME), args);
    QCOMPARE(r.estado, estado);
    QVERIFY2(r.errores.contains(poner(mensaje)), qPrintable(r.errores));
    QVERIFY(!QFileInfo::exists(Salida(QStringLiteral("x.pdf"))));
}

void TstQuelvaroInforme::cleanupTestCase()
{
    // Neither a table nor a leftover of the three folders changed.
    QCOMPARE(Huella(fDatos) + Huella(fVacia) + Huella(fRota), fHuella);
}

QTEST_MAIN(TstQuelvaroInforme)
#include "tst_quelvaro_informe.moc"
