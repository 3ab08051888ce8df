// The message dialog: titles, layout by measured sizes, keys and answers, beeps,
// the print question and the scripted answers that screen tests rely on.
#include "Avisos.h"
#include "DialogosPrueba.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace {
// What a test saw of the dialog while it was up.
struct Vista
{
    QRect forma, marco, etiqueta, icono; // marco: with the window manager's frame
    Qt::Alignment alineacion;
    bool ajuste = false;
    int alto_linea = 0;
    QString titulo, texto, defecto, foco;
    QStringList botones;
    QColor panel, letra;
    QFont fuente;
};

Vista mirar(QWidget *w)
{
    Vista v;
    auto lbl = w->findChild<QLabel *>(QStringLiteral("LblMensaje"));
    auto ico = w->findChild<QLabel *>(QStringLiteral("ImgIcono"));
    v.forma = w->geometry();
    v.marco = w->frameGeometry();
    v.etiqueta = lbl->geometry();
    v.icono = ico->geometry();
    v.alineacion = lbl->alignment();
    v.ajuste = lbl->wordWrap();
    v.alto_linea = QFontMetrics(lbl->font()).height();
    v.panel = w->findChild<QFrame *>(QStringLiteral("PnlMensaje"))->palette().color(QPalette::Window);
    v.letra = lbl->palette().color(QPalette::WindowText);
    v.fuente = lbl->font();
    v.titulo = w->windowTitle();
    v.texto = lbl->text();
    for (QPushButton *b : w->findChildren<QPushButton *>()) {
        if (b->isVisible())
            v.botones << b->text();
        if (b->isDefault())
            v.defecto = b->objectName();
    }
    v.foco = w->focusWidget() ? w->focusWidget()->objectName() : QString();
    return v;
}

// Shows the dialog, looks at it, then presses `tecla` (or clicks `boton`).
bool mostrarY(Vista *v, const QString &texto, TTipoAviso tipo, TBotonesAviso botones, bool segundo,
              int tecla, const QString &boton = QString())
{
    DialogosPrueba d;
    d.alAparecer(QStringLiteral("FormAvisos"), [&](QWidget *w) {
        if (v)
            *v = mirar(w);
        if (!boton.isEmpty())
            DialogosPrueba::pulsarBoton(w, boton);
        else
            DialogosPrueba::pulsarTecla(w, tecla);
    });
    const bool r = Mostrar_Aviso(QString(), texto, segundo, tipo, botones);
    if (!d.correcto())
        qWarning() << d.errores();
    return r;
}

// A text that the message font draws exactly `ancho` pixels wide, or empty.
QString textoDeAncho(int ancho)
{
    QLabel probe;
    probe.setFont(Estilo_Avisos().Fuentes_Aviso[avError]);
    const QString letras = QStringLiteral("ilmnoprstxMW.1");
    for (int n = 1; n < 60; ++n)
        for (const QChar base : letras)
            for (const QChar extra : letras) {
                const QString t = QString(n, base) + extra;
                probe.setText(t);
                probe.adjustSize();
                if (probe.width() == ancho)
                    return t;
                if (probe.width() > ancho + 40)
                    break;
            }
    return QString();
}
}

class TstAvisos : public QObject
{
    Q_OBJECT
private slots:
    void init() { Avisos_Prueba::Reiniciar(); }
    void cleanup()
    {
        DialogosPrueba::cerrarModales();
        Avisos_Prueba::Reiniciar();
    }

    void titulo_data();
    void titulo();
    void medidas_data();
    void medidas();
    void disposicion_data();
    void disposicion();
    void textoDe200Pixeles();
    void teclas_data();
    void teclas();
    void pitido_data();
    void pitido();
    void confirmarImpresion_data();
    void confirmarImpresion();
    void respuestasGuionizadas();
    void avisoDentroDeUnaPregunta();
};

void TstAvisos::titulo_data()
{
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("error") << "" << int(avError) << "Error";
    QTest::newRow("informacion") << "" << int(avInformacion) << "Información";
    QTest::newRow("atencion") << "" << int(avAtencion) << "Atención";
    QTest::newRow("confirmacion") << "" << int(avConfirmacion) << "Confirmación";
    QTest::newRow("dado") << "Finalizar" << int(avConfirmacion) << "Finalizar";
    QTest::newRow("tipo desconocido") << "" << 9 << "Error";
}

void TstAvisos::titulo()
{
    QFETCH(QString, titulo);
    QFETCH(int, tipo);
    QFETCH(QString, esperado);
    QCOMPARE(Titulo_Aviso(titulo, TTipoAviso(tipo)), esperado);
}

// The arithmetic of the layout for label sizes given directly.
void TstAvisos::medidas_data()
{
    QTest::addColumn<QSize>("etiqueta");
    QTest::addColumn<int>("botones");
    QTest::addColumn<QSize>("forma");
    QTest::addColumn<QPoint>("posEtiqueta");
    QTest::addColumn<QPoint>("posIcono");
    QTest::addColumn<int>("boton1");
    QTest::addColumn<int>("boton2"); // -1: hidden
    // One line of 15 pixels: the minimum height, the icon centred in the 102-high panel.
    QTest::newRow("corto") << QSize(101, 15) << int(baAceptar) << QSize(298, 150) << QPoint(118, 44)
                           << QPoint(70, 32) << 99 << -1;
    // Halves go to the even neighbour: (298 - 99) / 2 = 99.5 -> 100; (102 - 15) / 2 = 43.5 -> 44.
    QTest::newRow("mitades") << QSize(99, 15) << int(baSiNo) << QSize(298, 150) << QPoint(120, 44)
                             << QPoint(72, 32) << 29 << 169;
    QTest::newRow("200 justos") << QSize(200, 15) << int(baAceptarCancelar) << QSize(298, 150)
                                << QPoint(69, 44) << QPoint(21, 32) << 29 << 169;
    // Wrapped at 450 into five lines: taller than the minimum, icon at the text's top.
    QTest::newRow("largo") << QSize(450, 75) << int(baSiNo) << QSize(548, 203) << QPoint(69, 40)
                           << QPoint(21, 40) << 154 << 294;
    QTest::newRow("dos lineas") << QSize(120, 30) << int(baAceptar) << QSize(298, 158) << QPoint(109, 40)
                                << QPoint(61, 40) << 99 << -1;
}

void TstAvisos::medidas()
{
    QFETCH(QSize, etiqueta);
    QFETCH(int, botones);
    QFETCH(QSize, forma);
    QFETCH(QPoint, posEtiqueta);
    QFETCH(QPoint, posIcono);
    QFETCH(int, boton1);
    QFETCH(int, boton2);
    const TMedidasAviso m = Medir_Aviso(etiqueta, 15, TBotonesAviso(botones));
    QCOMPARE(m.forma, forma);
    QCOMPARE(m.etiqueta.topLeft(), posEtiqueta);
    QCOMPARE(m.icono, QRect(posIcono, QSize(38, 38)));
    QCOMPARE(m.panel_botones, QRect(0, forma.height() - 48, forma.width(), 48));
    QCOMPARE(m.boton1_izq, boton1);
    QCOMPARE(m.boton2_visible, boton2 >= 0);
    if (boton2 >= 0)
        QCOMPARE(m.boton2_izq, boton2);
}

// The real dialog, measured while it is up.
void TstAvisos::disposicion_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("lineas");    // 0: more than one, wrapped
    QTest::addColumn<bool>("centrado");
    const QString largo = QStringLiteral("No se ha podido completar la conexión con el servidor debido a "
                                         "que el nombre de usuario o la palabra de acceso son incorrectos.");
    QTest::newRow("corto") << "Hola" << 1 << true;
    QTest::newRow("largo") << largo << 0 << false;
    QTest::newRow("retorno") << "Primera línea\rSegunda" << 2 << true;
    QTest::newRow("retorno y salto") << "Una\r\nOtra" << 2 << true;
}

void TstAvisos::disposicion()
{
    QFETCH(QString, texto);
    QFETCH(int, lineas);
    QFETCH(bool, centrado);
    Vista v;
    mostrarY(&v, texto, avInformacion, baAceptar, false, Qt::Key_Return);
    QVERIFY(v.forma.isValid());
    QCOMPARE(v.titulo, QStringLiteral("Información"));
    const int panel = v.forma.height() - 48;

    if (lineas == 1) {
        QCOMPARE(v.forma.size(), QSize(298, 150));
        QVERIFY(!v.ajuste);
        QCOMPARE(v.etiqueta.height(), v.alto_linea);
        // The icon is centred in the message panel.
        QVERIFY(qAbs(v.icono.top() - (panel - 38) / 2) <= 1);
    } else if (lineas == 2) {
        QCOMPARE(v.forma.width(), 298);
        QVERIFY(v.etiqueta.height() >= 2 * v.alto_linea);
        QVERIFY(v.etiqueta.height() < 3 * v.alto_linea);
        QCOMPARE(v.icono.top(), v.etiqueta.top());
    } else {
        QVERIFY(v.ajuste);
        QCOMPARE(v.etiqueta.width(), 450);
        QCOMPARE(v.forma.width(), 450 + 98);
        QVERIFY(v.etiqueta.height() >= 2 * v.alto_linea);
        QCOMPARE(v.forma.height(), 48 + v.etiqueta.height() + 80);
        QCOMPARE(v.icono.top(), v.etiqueta.top());
    }
    QCOMPARE(bool(v.alineacion & Qt::AlignHCenter), centrado);
    // The dialog style: silver panel, navy Arial 9 bold.
    QCOMPARE(v.panel, QColor(192, 192, 192));
    QCOMPARE(v.letra, QColor(0, 0, 128));
    QCOMPARE(v.fuente.family(), QStringLiteral("Arial"));
    QCOMPARE(v.fuente.pointSize(), 9);
    QVERIFY(v.fuente.bold());
    // The icon stands 10 pixels left of the text, the text is vertically centred.
    QCOMPARE(v.icono.right() + 1 + 10, v.etiqueta.left());
    QVERIFY(qAbs(v.etiqueta.top() - (panel - v.etiqueta.height()) / 2) <= 1);
    // The dialog is centred on the screen.
    const QRect pantalla = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(qAbs(v.marco.center().x() - pantalla.center().x()) <= 1);
    QVERIFY(qAbs(v.marco.center().y() - pantalla.center().y()) <= 1);
}

void TstAvisos::textoDe200Pixeles()
{
    const QString texto = textoDeAncho(200);
    if (texto.isEmpty())
        QSKIP("no text of exactly 200 pixels in this font");
    Vista v;
    mostrarY(&v, texto, avError, baAceptar, false, Qt::Key_Escape);
    QVERIFY(!v.ajuste);
    QCOMPARE(v.etiqueta.width(), 200);
    QCOMPARE(v.etiqueta.height(), v.alto_linea);
    QVERIFY(!(v.alineacion & Qt::AlignHCenter));
    QCOMPARE(v.forma.size(), QSize(298, 150));
}

void TstAvisos::teclas_data()
{
    QTest::addColumn<int>("botones");
    QTest::addColumn<bool>("segundo");
    QTest::addColumn<int>("tecla");
    QTest::addColumn<QString>("boton");
    QTest::addColumn<bool>("respuesta");
    QTest::addColumn<QString>("defecto");
    QTest::addColumn<QString>("foco");
    QTest::addColumn<QStringList>("captions");
    const QStringList siNo{" &Sí", " &No"};
    const QStringList ac{"&Aceptar", "&Cancelar"};
    const QStringList a{"&Aceptar"};
    QTest::newRow("pregunta Enter") << int(baSiNo) << true << int(Qt::Key_Return) << "" << false
                                    << "BtnCancelar" << "BtnCancelar" << siNo;
    QTest::newRow("pregunta Esc") << int(baSiNo) << true << int(Qt::Key_Escape) << "" << false
                                  << "BtnCancelar" << "BtnCancelar" << siNo;
    QTest::newRow("pregunta Sí") << int(baSiNo) << true << 0 << " &Sí" << true << "BtnCancelar"
                                 << "BtnCancelar" << siNo;
    QTest::newRow("pregunta letra S") << int(baSiNo) << true << int(Qt::Key_S) << "" << true
                                      << "BtnCancelar" << "BtnCancelar" << siNo;
    QTest::newRow("primero por defecto") << int(baAceptarCancelar) << false << int(Qt::Key_Enter) << ""
                                         << true << "BtnAceptar" << "BtnAceptar" << ac;
    QTest::newRow("aviso Enter") << int(baAceptar) << false << int(Qt::Key_Return) << "" << true
                                 << "BtnAceptar" << "PnlMensaje" << a;
    QTest::newRow("aviso Esc") << int(baAceptar) << false << int(Qt::Key_Escape) << "" << true
                               << "BtnAceptar" << "PnlMensaje" << a;
}

void TstAvisos::teclas()
{
    QFETCH(int, botones);
    QFETCH(bool, segundo);
    QFETCH(int, tecla);
    QFETCH(QString, boton);
    QFETCH(bool, respuesta);
    QFETCH(QString, defecto);
    QFETCH(QString, foco);
    QFETCH(QStringList, captions);
    Vista v;
    const bool r = mostrarY(&v, QStringLiteral("¿Desea continuar?"), avConfirmacion, TBotonesAviso(botones),
                            segundo, tecla, boton);
    QCOMPARE(v.botones, captions);
    QCOMPARE(v.defecto, defecto);
    QCOMPARE(v.foco, foco);
    QCOMPARE(r, respuesta);
}

void TstAvisos::pitido_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<bool>("pita");
    QTest::newRow("error") << int(avError) << true;
    QTest::newRow("informacion") << int(avInformacion) << false;
    QTest::newRow("atencion") << int(avAtencion) << true;
    QTest::newRow("confirmacion") << int(avConfirmacion) << false;
}

void TstAvisos::pitido()
{
    QFETCH(int, tipo);
    QFETCH(bool, pita);
    QList<TTipoAviso> pitidos;
    Avisos_Prueba::Fijar_Pitido([&](TTipoAviso t) { pitidos << t; });
    DialogosPrueba d;
    d.teclaAlAparecer(QStringLiteral("FormAvisos"), Qt::Key_Escape);
    Aviso(QString(), QStringLiteral("Texto"), TTipoAviso(tipo));
    QVERIFY2(d.correcto(), qPrintable(d.errores().join('\n')));
    QCOMPARE(pitidos.size(), pita ? 1 : 0);
}

void TstAvisos::confirmarImpresion_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("texto");
    QTest::newRow("sin nombre") << "" << "¿Desea imprimir el informe?";
    QTest::newRow("con nombre") << "la ficha técnica" << "¿Desea imprimir la ficha técnica?";
}

void TstAvisos::confirmarImpresion()
{
    QFETCH(QString, nombre);
    QFETCH(QString, texto);
    DialogosPrueba d;
    d.alAparecer(QStringLiteral("FormAvisos"), [](QWidget *w) { DialogosPrueba::pulsarBoton(w, QStringLiteral("Sí")); });
    QVERIFY(Confirmar_Impresion(nombre));
    QCOMPARE(d.titulos(), QStringList{"Imprimir"});
    QCOMPARE(d.textos(), QStringList{texto});
    const auto &m = Avisos_Prueba::Mostrados();
    QCOMPARE(m.size(), 1);
    QCOMPARE(m[0].Tipo, avConfirmacion);
    QCOMPARE(m[0].Botones, baSiNo);
    QVERIFY(m[0].Defecto_Segundo);
}

void TstAvisos::respuestasGuionizadas()
{
    Avisos_Prueba::Programar_Respuesta(true);
    Avisos_Prueba::Programar_Respuesta(false);
    QVERIFY(Pregunta("Finalizar", "¿Salir?", true, avConfirmacion, baSiNo));
    QVERIFY(!Pregunta("", "¿Otra?", true, avConfirmacion, baSiNo));
    QCOMPARE(Avisos_Prueba::Respuestas_Pendientes(), 0);
    // With the script used up, no window: the default button answers.
    Avisos_Prueba::Sin_Ventanas(true);
    QVERIFY(!Pregunta("", "¿Seguro?", true, avConfirmacion, baSiNo));
    Aviso("", "La fecha \"31/02/2024\" no es correcta", avAtencion);
    const auto &m = Avisos_Prueba::Mostrados();
    QCOMPARE(m.size(), 4);
    QCOMPARE(m[0].Titulo, QStringLiteral("Finalizar"));
    QCOMPARE(m[1].Titulo, QStringLiteral("Confirmación"));
    QCOMPARE(m[3].Titulo, QStringLiteral("Atención"));
    QCOMPARE(m[3].Botones, baAceptar);
    QVERIFY(m[3].Respuesta);
    QVERIFY(m[3].Guionizado);
}

// A notice raised while a question is up is recorded after it, and the
// helper reads both texts as they were given, carriage returns included.
void TstAvisos::avisoDentroDeUnaPregunta()
{
    DialogosPrueba d;
    d.alAparecer(QStringLiteral("FormAvisos"), [](QWidget *w) {
        Aviso(QString(), QStringLiteral("La fecha \"31/02/2024\" no es correcta\rCorríjala"), avAtencion);
        DialogosPrueba::pulsarBoton(w, QStringLiteral("Sí"));
    });
    d.teclaAlAparecer(QStringLiteral("FormAvisos"), Qt::Key_Return);
    QVERIFY(Pregunta(QStringLiteral("Finalizar"), QStringLiteral("¿Desea salir\rdel programa?"), true,
                     avConfirmacion, baSiNo));
    QVERIFY2(d.correcto(), qPrintable(d.errores().join('\n')));
    QCOMPARE(d.textos(), (QStringList{"¿Desea salir\rdel programa?", "La fecha \"31/02/2024\" no es correcta\rCorríjala"}));
    const auto &m = Avisos_Prueba::Mostrados();
    QCOMPARE(m.size(), 2);
    QCOMPARE(m[0].Titulo, QStringLiteral("Finalizar"));
    QVERIFY(m[0].Respuesta);
    QCOMPARE(m[1].Titulo, QStringLiteral("Atención"));
    QVERIFY(!m[1].Guionizado);
}

QTEST_MAIN(TstAvisos)
#include "tst_avisos.moc"
