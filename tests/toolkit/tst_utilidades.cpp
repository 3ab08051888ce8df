// Form and system utilities: Spanish-aware case, character counts, addresses,
// names, the program folder, window placement and the small-screen rule.
#include "FormBase.h"
#include "UtilInternet.h"
#include "UtilSistema.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QUrl>

class TstUtilidades : public QObject
{
    Q_OBJECT
public slots:
    void abierta(const QUrl &url) { m_abiertas << url.toString(); }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init() { m_abiertas.clear(); }

    void mayusculasMinusculas_data();
    void mayusculasMinusculas();
    void contarCaracter_data();
    void contarCaracter();
    void destinoDireccion_data();
    void destinoDireccion();
    void abrirDireccion_data();
    void abrirDireccion();
    void nombresYCarpeta();

    void exceso_data();
    void exceso();
    void geometria_data();
    void geometria();
    void ajustarVentana_data();
    void ajustarVentana();
    void formaBase_data();
    void formaBase();

private:
    QStringList m_abiertas;
};

void TstUtilidades::initTestCase()
{
    // Nothing is launched: every scheme the tests use comes back here.
    for (const char *e : {"mailto", "http", "https", "ftp", "file"})
        QDesktopServices::setUrlHandler(QLatin1String(e), this, "abierta");
}

void TstUtilidades::cleanupTestCase()
{
    for (const char *e : {"mailto", "http", "https", "ftp", "file"})
        QDesktopServices::unsetUrlHandler(QLatin1String(e));
}

void TstUtilidades::mayusculasMinusculas_data()
{
    QTest::addColumn<QString>("operacion");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("año") << "Mayusculas" << "año" << "AÑO";
    QTest::newRow("acentos") << "Mayusculas" << "camión éxito índice útil ópera" << "CAMIÓN ÉXITO ÍNDICE ÚTIL ÓPERA";
    QTest::newRow("otras letras quedan") << "Mayusculas" << "àüç" << "àüç";
    QTest::newRow("cifras") << "Mayusculas" << "1234abc-x" << "1234ABC-X";
    QTest::newRow("árbol") << "Minusculas" << "ÁRBOL" << "árbol";
    QTest::newRow("eñe") << "Minusculas" << "ÑANDÚ ÉL" << "ñandú él";
    QTest::newRow("otras mayúsculas quedan") << "Minusculas" << "ÀÜÇ" << "ÀÜÇ";
    QTest::newRow("fichero") << "Capitalizar" << "quelvaro_errores.txt" << "Quelvaro_errores.txt";
    QTest::newRow("vacío") << "Capitalizar" << "" << "";
    QTest::newRow("ñ inicial") << "Capitalizar" << "ñandú" << "Ñandú";
    QTest::newRow("solo la primera") << "Capitalizar" << "a b" << "A b";
    QTest::newRow("à inicial") << "Capitalizar" << "àlex" << "àlex";
}

void TstUtilidades::mayusculasMinusculas()
{
    QFETCH(QString, operacion);
    QFETCH(QString, texto);
    QFETCH(QString, esperado);
    const QString r = operacion == "Mayusculas" ? Mayusculas(texto)
        : operacion == "Minusculas"             ? Minusculas(texto)
                                                : Capitalizar(texto);
    QCOMPARE(r, esperado);
}

void TstUtilidades::contarCaracter_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QChar>("caracter");
    QTest::addColumn<int>("veces");
    QTest::newRow("barras") << "15/03/2024" << QChar('/') << 2;
    QTest::newRow("mayúscula cuenta") << "Aaa" << QChar('a') << 2;
    QTest::newRow("eñe") << "Ñoño" << QChar(u'ñ') << 1;
    QTest::newRow("vacío") << "" << QChar('x') << 0;
}

void TstUtilidades::contarCaracter()
{
    QFETCH(QString, texto);
    QFETCH(QChar, caracter);
    QFETCH(int, veces);
    QCOMPARE(Contar_Caracter(texto, caracter), veces);
}

void TstUtilidades::destinoDireccion_data()
{
    QTest::addColumn<QString>("direccion");
    QTest::addColumn<QString>("destino");
    QTest::newRow("correo sin esquema") << "soporte@quelvaro.es" << "mailto:soporte@quelvaro.es";
    QTest::newRow("MailTo ya puesto") << "MailTo:soporte@quelvaro.es" << "MailTo:soporte@quelvaro.es";
    QTest::newRow("http con arroba") << "  http://usuario@servidor.es/" << "  http://usuario@servidor.es/";
    QTest::newRow("HTTPS") << "HTTPS://a@b.es" << "HTTPS://a@b.es";
    QTest::newRow("ftp") << "ftp://anonimo@ftp.quelvaro.es" << "ftp://anonimo@ftp.quelvaro.es";
    QTest::newRow("web sin arroba") << "www.quelvaro.es" << "www.quelvaro.es";
}

void TstUtilidades::destinoDireccion()
{
    QFETCH(QString, direccion);
    QFETCH(QString, destino);
    QCOMPARE(Destino_Direccion(direccion), destino);
}

void TstUtilidades::abrirDireccion_data()
{
    QTest::addColumn<QString>("direccion");
    QTest::addColumn<QStringList>("abiertas");
    QTest::newRow("correo") << "soporte@quelvaro.es" << QStringList{"mailto:soporte@quelvaro.es"};
    QTest::newRow("MailTo") << "MailTo:soporte@quelvaro.es" << QStringList{"mailto:soporte@quelvaro.es"};
    QTest::newRow("web") << "http://www.quelvaro.es/ayuda" << QStringList{"http://www.quelvaro.es/ayuda"};
    QTest::newRow("vacía") << "" << QStringList{};
}

void TstUtilidades::abrirDireccion()
{
    QFETCH(QString, direccion);
    QFETCH(QStringList, abiertas);
    Abrir_Direccion(direccion, QString(), QString(), 1);
    QCOMPARE(m_abiertas, abiertas);
}

void TstUtilidades::nombresYCarpeta()
{
    QVERIFY(Nombre_Ordenador().size() <= 15);
    QVERIFY(!Nombre_Usuario().isEmpty());
    QVERIFY(Nombre_Usuario().size() <= 399);
    const QString carpeta = Carpeta_Programa();
    QCOMPARE(carpeta, QFileInfo(QCoreApplication::applicationFilePath()).absolutePath());
    QVERIFY(!carpeta.endsWith('/'));
}

void TstUtilidades::exceso_data()
{
    QTest::addColumn<QSize>("forma");
    QTest::addColumn<QSize>("pantalla");
    QTest::addColumn<int>("escala");
    QTest::newRow("800 en 640") << QSize(800, 400) << QSize(640, 480) << 74;
    QTest::newRow("cabe") << QSize(600, 400) << QSize(640, 480) << 100;
    QTest::newRow("un pixel de margen") << QSize(638, 400) << QSize(640, 480) << 100;
    QTest::newRow("justo al borde") << QSize(639, 400) << QSize(640, 480) << 99;
    QTest::newRow("manda la altura") << QSize(700, 600) << QSize(640, 480) << 74;
    // The formula would give zero or less; such a form is shrunk until it fits.
    QTest::newRow("el doble de alto") << QSize(300, 960) << QSize(640, 480) << 50;
    QTest::newRow("el triple de ancho") << QSize(1920, 200) << QSize(640, 480) << 33;
}

void TstUtilidades::exceso()
{
    QFETCH(QSize, forma);
    QFETCH(QSize, pantalla);
    QFETCH(int, escala);
    QCOMPARE(Porcentaje_Escala(forma, pantalla), escala);
}

void TstUtilidades::geometria_data()
{
    QTest::addColumn<QSize>("forma");
    QTest::addColumn<QRect>("monitor");
    QTest::addColumn<int>("porcentaje");
    QTest::addColumn<QRect>("esperado");
    const QRect m(0, 0, 640, 480);
    QTest::newRow("100 todo el monitor") << QSize(300, 200) << m << 100 << m;
    QTest::newRow("más de 100") << QSize(300, 200) << m << 150 << m;
    QTest::newRow("50 centrada") << QSize(300, 200) << m << 50 << QRect(160, 120, 320, 240);
    QTest::newRow("95 división entera") << QSize(300, 200) << QRect(0, 0, 1023, 767) << 95
                                        << QRect(26, 19, 971, 728);
    QTest::newRow("0 cabe") << QSize(300, 201) << m << 0 << QRect(170, 139, 300, 201);
    QTest::newRow("0 no cabe") << QSize(700, 200) << m << 0 << m;
    QTest::newRow("segundo monitor") << QSize(300, 200) << QRect(1920, 0, 1280, 1024) << 50
                                     << QRect(2240, 256, 640, 512);
}

void TstUtilidades::geometria()
{
    QFETCH(QSize, forma);
    QFETCH(QRect, monitor);
    QFETCH(int, porcentaje);
    QFETCH(QRect, esperado);
    QCOMPARE(Geometria_Ajustada(forma, monitor, porcentaje), esperado);
}

void TstUtilidades::ajustarVentana_data()
{
    QTest::addColumn<int>("porcentaje");
    QTest::addColumn<bool>("maximizada");
    QTest::newRow("100") << 100 << false;
    QTest::newRow("50") << 50 << false;
    QTest::newRow("50 desde maximizada") << 50 << true;
    QTest::newRow("0 mayor que el monitor") << 0 << false;
}

void TstUtilidades::ajustarVentana()
{
    QFETCH(int, porcentaje);
    QFETCH(bool, maximizada);
    QWidget w;
    const QRect monitor = w.screen()->geometry();
    w.resize(porcentaje == 0 ? monitor.size() + QSize(100, 100) : QSize(200, 100));
    if (maximizada)
        w.showMaximized();
    else
        w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Ajustar_Ventana(&w, quint8(porcentaje));
    QVERIFY(!(w.windowState() & Qt::WindowMaximized));
    const QRect esperado = porcentaje == 50
        ? QRect(monitor.left() + (monitor.width() - monitor.width() / 2) / 2,
                monitor.top() + (monitor.height() - monitor.height() / 2) / 2,
                monitor.width() / 2, monitor.height() / 2)
        : monitor;
    QTRY_COMPARE(w.frameGeometry(), esperado);
}

// The small-screen rule of the base form, on screens it is told about.
void TstUtilidades::formaBase_data()
{
    QTest::addColumn<QSize>("pantalla");
    QTest::addColumn<int>("escala");
    QTest::newRow("640 de ancho") << QSize(640, 480) << 74;
    QTest::newRow("700 de ancho") << QSize(700, 480) << 100;
}

void TstUtilidades::formaBase()
{
    QFETCH(QSize, pantalla);
    QFETCH(int, escala);
    tFormBase f;
    f.resize(800, 400);
    auto etiqueta = new QLabel(QStringLiteral("Matrícula"), &f);
    etiqueta->setGeometry(100, 50, 200, 20);
    QFont letra = etiqueta->font();
    letra.setPointSize(10);
    etiqueta->setFont(letra);
    auto panel = new QWidget(&f);
    panel->setObjectName(QStringLiteral("PanelDatos"));

    f.Adaptar_A_Pantalla(pantalla);
    f.Adaptar_A_Pantalla(pantalla); // once only
    QCOMPARE(f.Escala_Aplicada(), escala);
    const auto e = [escala](int v) { return qRound(v * escala / 100.0); };
    QCOMPARE(f.size(), QSize(e(800), e(400)));
    QCOMPARE(etiqueta->geometry(), QRect(e(100), e(50), e(200), e(20)));
    QCOMPARE(etiqueta->font().pointSizeF(), 10.0 * escala / 100);
    QVERIFY(panel->autoFillBackground());
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(192, 192, 192));
}

QTEST_MAIN(TstUtilidades)
#include "tst_utilidades.moc"
