// The report preview window, headless. Most cases feed the window a page store
// by hand, so each state (ready, pages arriving, complete) can be looked at as
// long as needed; the rest go through Previsualizar_Informe with a real
// generation.
#include "FicherosPrueba.h"
#include "InformesPrueba.h"

#include "Avisos.h"
#include "DialogosPrueba.h"
#include "Excepciones.h"
#include "ExportFilters.h"
#include "PageStore.h"
#include "PreviewArea.h"
#include "QRepPreview.h"
#include "StoreErrors.h"
#include "UtilSistema.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <stdexcept>

namespace {

const QString kBlancos(15, QLatin1Char(' '));

// A window fed by hand from the pages of a report generated beforehand.
struct Vista
{
    TMemoryTable filas;
    TReport informe;
    std::vector<std::pair<QPicture, QSize>> paginas;
    std::shared_ptr<TPageStore> almacen = std::make_shared<TPageStore>();
    QPointer<TFormQRepPreview> w;

    explicit Vista(int nFilas = 120, const QString &titulo = QStringLiteral("Listado de prueba"))
        : filas(Filas(nFilas)), informe(Informe_Listado(filas))
    {
        informe.Title = titulo;
        struct Guardar : TPictureOutput
        {
            std::vector<std::pair<QPicture, QSize>> *destino;
            void Page_Done(int, const QPicture &p, QSize s) override { destino->emplace_back(p, s); }
        } salida;
        salida.destino = &paginas;
        Generate_Report(informe, salida);
        almacen->Set_Title(titulo);
    }
    ~Vista() { delete w.data(); }

    // The window as Previsualizar_Informe makes it, shown with the store ready.
    TFormQRepPreview *Mostrar(bool imprimir = true, bool guardar = true)
    {
        w = new TFormQRepPreview();
        w->Permitir_Imprimir = imprimir;
        w->Permitir_Guardar = guardar;
        w->Informe = &informe;
        w->Mostrar_Vista_Previa(almacen);
        QApplication::setActiveWindow(w);
        return w;
    }
    void Pagina(int n)
    {
        if (almacen->Status() == TPageStore::Ready)
            almacen->Start();
        almacen->Add_Page(paginas[size_t(n - 1)].first, paginas[size_t(n - 1)].second);
    }
    void Terminar()
    {
        for (int n = almacen->Page_Count() + 1; n <= int(paginas.size()); ++n)
            Pagina(n);
        almacen->Finish();
    }
};

TFormQRepPreview *Vista_Abierta()
{
    for (QWidget *v : QApplication::topLevelWidgets())
        if (auto *w = qobject_cast<TFormQRepPreview *>(v); w && w->isVisible())
            return w;
    return nullptr;
}

// Shows `informe` through Previsualizar_Informe and runs `accion` on the window
// once the report is complete; closes the window if the action left it open.
bool Con_Vista(TReport &informe, const std::function<void(TFormQRepPreview *)> &accion)
{
    QTimer reloj;
    QElapsedTimer desde;
    desde.start();
    bool hecho = false;
    reloj.setInterval(10);
    QObject::connect(&reloj, &QTimer::timeout, [&] {
        TFormQRepPreview *w = Vista_Abierta();
        if (w && w->PanelNumPag->isVisible()) {
            reloj.stop();
            hecho = true;
            QPointer<TFormQRepPreview> p(w);
            accion(w);
            if (p && p->isVisible())
                p->BtnCerrar->click();
            if (p && p->isVisible())
                delete p.data();
        } else if (desde.elapsed() > 20000) {
            reloj.stop();
            delete w;
        }
    });
    reloj.start();
    Previsualizar_Informe(informe, true, true);
    return hecho;
}

// Answers the file dialog `nombre` with choice `opcion` (1 based) and `fichero`.
void Elegir_Fichero(DialogosPrueba &d, const QString &nombre, int opcion, const QString &fichero,
                    QString *carpeta = nullptr)
{
    d.alAparecer(nombre, [=](QWidget *v) {
        auto *dlg = qobject_cast<QFileDialog *>(v);
        if (carpeta)
            *carpeta = dlg->directory().absolutePath();
        dlg->selectNameFilter(dlg->nameFilters().value(opcion - 1));
        // Typed as the user types it: the folder, then the name in the name field.
        dlg->setDirectory(QFileInfo(fichero).absolutePath());
        dlg->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(QFileInfo(fichero).fileName());
        QMetaObject::invokeMethod(dlg, "accept");
    });
}

int Paginas_Pdf(const QString &ruta)
{
    return int(QString::fromLatin1(Leer_Fichero(ruta)).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

// The text pdftotext reads in a PDF (-layout); a null string without pdftotext.
QString Texto_Pdf(const QString &ruta)
{
    const QString programa = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (programa.isEmpty())
        return QString();
    QProcess p;
    p.start(programa, {QStringLiteral("-layout"), ruta, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

void Soltar(QWidget *destino, Qt::Key tecla, Qt::KeyboardModifiers mod = Qt::NoModifier)
{
    QTest::keyClick(destino, tecla, mod);
}

} // namespace

class TstQRepPreview : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void creacion();
    void pantalla();
    void estados_data();
    void estados();
    void unaPagina();
    void sinTitulo();
    void campoPagina_data();
    void campoPagina();
    void botonesPagina();
    void teclas_data();
    void teclas();
    void pasosZoom_data();
    void pasosZoom();
    void posicionProporcional_data();
    void posicionProporcional();
    void pedirPagina();
    void alt_data();
    void alt();
    void arrastre();
    void cursorPrevio();
    void menu();
    void guardar_data();
    void guardar();
    void guardarSobreOtro();
    void cargar();
    void cargarMal_data();
    void cargarMal();
    void exportarTrasCargar();
    void imprimir();
    void imprimirTrasCargar();
    void cerrarMientrasGenera();
    void falloAlGenerar();

private:
    QTemporaryDir m_dir;
};

void TstQRepPreview::initTestCase()
{
    QVERIFY(m_dir.isValid());
    Excepcion.Fijar_Carpeta_Log(m_dir.path());
}

void TstQRepPreview::init()
{
    Avisos_Prueba::Reiniciar();
    Avisos_Prueba::Sin_Ventanas(true);
}

void TstQRepPreview::cleanup()
{
    DialogosPrueba::cerrarModales();
    QList<QPointer<TFormQRepPreview>> abiertas;
    for (QWidget *v : QApplication::topLevelWidgets())
        if (auto *w = qobject_cast<TFormQRepPreview *>(v))
            abiertas << w;
    for (const auto &w : abiertas)
        delete w.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Avisos_Prueba::Reiniciar();
}

void TstQRepPreview::creacion()
{
    Vista v;
    TFormQRepPreview *w = v.Mostrar();
    const std::pair<const char *, const char *> pistas[] = {
        {"sbFirstPage", "Primera página"},
        {"sbPreviousPage", "Página anterior"},
        {"sbNextPage", "Página siguiente"},
        {"sbLastPage", "Ultima página"},
        {"ZoomToFit", "Ver hoja entera en pantalla"},
        {"ZoomTo100", "Ver a tamaño completo"},
        {"ZoomToWidth", "Ajustar ancho de la página"},
        {"BtnZoomOut", "Disminuir el Zoom"},
        {"BtnZoomIn", "Aumentar el Zoom"},
        {"BtnPrintSetup", "Configurar impresora"},
        {"BtnPrint", "Imprimir"},
        {"BtnSave", "Guardar el informe en un fichero"},
        {"BtnLoad", "Cargar un informe desde un fichero"},
        {"BtnCerrar", "Cerrar la ventana"}};
    for (const auto &[nombre, pista] : pistas) {
        auto *b = w->findChild<QAbstractButton *>(QString::fromLatin1(nombre));
        QVERIFY2(b, nombre);
        QCOMPARE(b->toolTip(), QString::fromUtf8(pista));
        QVERIFY2(!b->icon().isNull(), nombre);
    }
    QCOMPARE(w->BtnCerrar->text(), QStringLiteral("&Cerrar"));
    QCOMPARE(w->Label1->text(), QStringLiteral("&Página"));
    QVERIFY(w->findChild<TPreviewArea *>(QStringLiteral("QRPreview")));
    QCOMPARE(w->QRPreview->Page_Number(), 1);
    // The menu reads as the buttons' hints once the window is shown.
    QStringList menu;
    for (QAction *a : w->ppMenu->actions())
        menu << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(menu, (QStringList{"Ver hoja entera en pantalla", "Ver a tamaño completo", "Ajustar ancho de la página",
                                "-", "Imprimir", "-", "Cerrar la ventana"}));
    QVERIFY(!w->opCerrar->isEnabled());
    // The three filters offer their kinds to the save dialog while the window lives.
    QCOMPARE(Save_Filter_Text(), QStringLiteral("Report file(*.QRP)|*.QRP|Text file (*.TXT)|*.TXT|Comma Separated "
                                                "(*.CSV)|*.CSV|HTML document (*.HTM)|*.HTM"));
    delete w;
    QCOMPARE(Save_Filter_Text(), QStringLiteral("Report file(*.QRP)|*.QRP"));
}

void TstQRepPreview::pantalla()
{
    // Run once on the usual screen and once on one 640 pixels wide.
    Vista v;
    TFormQRepPreview *w = v.Mostrar();
    v.Terminar();
    const QRect monitor = w->screen()->geometry();
    const bool pequena = monitor.width() < 700;
    QCOMPARE(w->BtnCerrar->text().isEmpty(), pequena);
    QCOMPARE(w->BtnCerrar->width(), pequena ? 26 : 90);
    // The window fills its monitor, and the close button sits 2 pixels from the tool bar's end.
    QTRY_COMPARE(w->frameGeometry().size(), monitor.size());
    QTRY_COMPARE(w->BtnCerrar->geometry().right() + 1, w->ToolBar->width() - 2);
    QCOMPARE(w->ToolBar->height(), 30);
    QCOMPARE(w->sbFirstPage->size(), QSize(26, 26));
    QCOMPARE(w->Escala_Aplicada(), 100);
}

void TstQRepPreview::estados_data()
{
    QTest::addColumn<bool>("imprimir");
    QTest::addColumn<bool>("guardar");
    QTest::newRow("todo permitido") << true << true;
    QTest::newRow("sin imprimir") << false << true;
    QTest::newRow("sin guardar") << true << false;
}

void TstQRepPreview::estados()
{
    QFETCH(bool, imprimir);
    QFETCH(bool, guardar);
    Vista v;
    TFormQRepPreview *w = v.Mostrar(imprimir, guardar);
    const QString prefijo = QStringLiteral(" Listado de prueba") + kBlancos;
    auto acciones = [w] {
        return QList<bool>{w->BtnPrint->isEnabled(), w->BtnPrintSetup->isEnabled(), w->BtnSave->isEnabled(),
                           w->BtnLoad->isEnabled()};
    };

    // Ready: nothing yet, nothing closes the window.
    QCOMPARE(w->windowTitle(), prefijo + QStringLiteral("(generando el informe; por favor, espere...)"));
    QVERIFY(!w->BtnCerrar->isEnabled());
    QVERIFY(!w->sePage->isEnabled());
    QVERIFY(!w->close());
    QVERIFY(w->isVisible());

    // The first page: the field and the page width; still not closable.
    v.Pagina(1);
    QCOMPARE(w->windowTitle(), prefijo + QStringLiteral("(procesando la página 1)"));
    QVERIFY(w->sePage->isEnabled());
    QCOMPARE(w->sePage->text(), QStringLiteral("1"));
    QVERIFY(w->ZoomToWidth->isChecked());
    QVERIFY(!w->BtnCerrar->isEnabled());
    QCOMPARE(acciones(), (QList<bool>{false, false, false, false}));
    QVERIFY(!w->PanelNumPag->isVisible());

    // From the second page on it may be closed, and the close button has the focus.
    v.Pagina(2);
    QCOMPARE(w->windowTitle(), prefijo + QStringLiteral("(procesando la página 2)"));
    QVERIFY(w->BtnCerrar->isEnabled());
    QVERIFY(w->opCerrar->isEnabled());
    QCOMPARE(QApplication::focusWidget(), w->BtnCerrar);

    // Complete.
    v.Terminar();
    QCOMPARE(w->windowTitle(), prefijo);
    QVERIFY(w->PanelNumPag->isVisible());
    QCOMPARE(w->PanelNumPag->text(), QStringLiteral(" Página 1 de 3"));
    QCOMPARE(acciones(), (QList<bool>{imprimir, imprimir, guardar, guardar}));

    // Closing while pages were still coming cancels the generation.
    QVERIFY(w->close());
    QVERIFY(v.almacen->Preview_Closed());
    QVERIFY(v.almacen->Cancelled());
}

void TstQRepPreview::unaPagina()
{
    // A report of one page can be closed only when it is complete: not by the
    // button, Enter, Esc or the window's close box.
    Vista v(10);
    QCOMPARE(int(v.paginas.size()), 1);
    TFormQRepPreview *w = v.Mostrar();
    v.Pagina(1);
    QVERIFY(!w->BtnCerrar->isEnabled());
    w->BtnCerrar->click();
    Soltar(w, Qt::Key_Return);
    Soltar(w, Qt::Key_Escape);
    QVERIFY(!w->close());
    QVERIFY(w->isVisible());
    v.almacen->Finish();
    QVERIFY(w->BtnCerrar->isEnabled());
    QCOMPARE(QApplication::focusWidget(), w->BtnCerrar);
    Soltar(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!w->isVisible());
}

void TstQRepPreview::sinTitulo()
{
    Vista v(10, QString());
    TFormQRepPreview *w = v.Mostrar();
    QVERIFY(w->windowTitle().startsWith(QStringLiteral(" Informe sin título") + kBlancos + "("));
    v.Terminar();
    QCOMPARE(w->windowTitle(), QStringLiteral(" Informe sin título") + kBlancos);
}

void TstQRepPreview::campoPagina_data()
{
    QTest::addColumn<int>("antes");
    QTest::addColumn<QString>("escrito");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<int>("pagina");
    QTest::newRow("una que existe") << 1 << "3" << "3" << 3;
    QTest::newRow("cero") << 2 << "0" << "2" << 2;
    QTest::newRow("mas que las que hay") << 2 << "7" << "2" << 2;
    QTest::newRow("vacio y salir") << 3 << "" << "3" << 3;
    QTest::newRow("no deja letras") << 2 << "x" << "2" << 2;
}

void TstQRepPreview::campoPagina()
{
    QFETCH(int, antes);
    QFETCH(QString, escrito);
    QFETCH(QString, campo);
    QFETCH(int, pagina);
    Vista v;
    TFormQRepPreview *w = v.Mostrar();
    v.Terminar();
    w->sePage->setText(QString::number(antes));
    QCOMPARE(w->QRPreview->Page_Number(), antes);
    Soltar(w->BtnCerrar, Qt::Key_P);
    QCOMPARE(QApplication::focusWidget(), w->sePage);
    QTest::keyClick(w->sePage, Qt::Key_Backspace);
    QTest::keyClicks(w->sePage, escrito);
    w->BtnCerrar->setFocus(); // leaving the field
    QCOMPARE(w->sePage->text(), campo);
    QCOMPARE(w->QRPreview->Page_Number(), pagina);
    QCOMPARE(w->PanelNumPag->text(), QStringLiteral(" Página %1 de 3").arg(pagina));
}

void TstQRepPreview::botonesPagina()
{
    Vista v;
    TFormQRepPreview *w = v.Mostrar();
    v.Terminar();
    auto estado = [w] { return QStringLiteral("%1/%2").arg(w->sePage->text()).arg(w->QRPreview->Page_Number()); };
    w->sbPreviousPage->click();
    QCOMPARE(estado(), QStringLiteral("1/1"));
    w->sbNextPage->click();
    QCOMPARE(estado(), QStringLiteral("2/2"));
    w->sbLastPage->click();
    QCOMPARE(estado(), QStringLiteral("3/3"));
    w->sbNextPage->click();
    QCOMPARE(estado(), QStringLiteral("3/3"));
    w->sbPreviousPage->click();
    QCOMPARE(estado(), QStringLiteral("2/2"));
    w->sbFirstPage->click();
    QCOMPARE(estado(), QStringLiteral("1/1"));
    QCOMPARE(QApplication::focusWidget(), w->BtnCerrar);
    // A page change shows the new page from its top left.
    w->QRPreview->Set_Zoom(200);
    w->QRPreview->Set_V_Position(500);
    w->QRPreview->Set_H_Position(100);
    w->sbNextPage->click();
    QCOMPARE(w->QRPreview->V_Position(), 0);
    QCOMPARE(w->QRPreview->H_Position(), 0);
}

void TstQRepPreview::teclas_data()
{
    QTest::addColumn<int>("tecla");
    QTest::addColumn<int>("mods");
    QTest::addColumn<int>("pagina");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("dh");
    QTest::addColumn<int>("dv");
    // From page 2, zoom 200 and scroll positions 300, 300.
    const int kp = int(Qt::KeypadModifier), no = 0;
    QTest::newRow("av pag") << int(Qt::Key_PageDown) << no << 3 << 200 << -300 << -300;
    QTest::newRow("re pag") << int(Qt::Key_PageUp) << no << 1 << 200 << -300 << -300;
    QTest::newRow("fin") << int(Qt::Key_End) << no << 3 << 200 << -300 << -300;
    QTest::newRow("inicio") << int(Qt::Key_Home) << no << 1 << 200 << -300 << -300;
    QTest::newRow("menos del teclado numerico") << int(Qt::Key_Minus) << kp << 2 << 180 << 999 << 999;
    QTest::newRow("mas del teclado numerico") << int(Qt::Key_Plus) << kp << 2 << 220 << 999 << 999;
    QTest::newRow("menos normal no") << int(Qt::Key_Minus) << no << 2 << 200 << 0 << 0;
    QTest::newRow("arriba") << int(Qt::Key_Up) << no << 2 << 200 << 0 << -240;
    QTest::newRow("abajo") << int(Qt::Key_Down) << no << 2 << 200 << 0 << 240;
    QTest::newRow("izquierda") << int(Qt::Key_Left) << no << 2 << 200 << -240 << 0;
    QTest::newRow("derecha") << int(Qt::Key_Right) << no << 2 << 200 << 240 << 0;
    QTest::newRow("arriba con mayusculas") << int(Qt::Key_Up) << int(Qt::ShiftModifier) << 2 << 200 << 0 << -240;
}

void TstQRepPreview::teclas()
{
    QFETCH(int, tecla);
    QFETCH(int, mods);
    QFETCH(int, pagina);
    QFETCH(int, zoom);
    QFETCH(int, dh);
    QFETCH(int, dv);
    Vista v;
    TFormQRepPreview *w = v.Mostrar();
    v.Terminar();
    w->sbNextPage->click();
    w->QRPreview->Set_Zoom(200);
    QCoreApplication::processEvents();
    w->QRPreview->Set_H_Position(300);
    w->QRPreview->Set_V_Position(300);
    QCOMPARE(w->QRPreview->H_Position(), 300);
    QCOMPARE(QApplication::focusWidget(), w->BtnCerrar);
    Soltar(QApplication::focusWidget(), Qt::Key(tecla), Qt::KeyboardModifiers(mods));
    QCOMPARE(w->QRPreview->Page_Number(), pagina);
    QCOMPARE(w->sePage->text(), QString::number(pagina));
    QCOMPARE(w->QRPreview->Zoom(), zoom);
    if (dh != 999) {
        QCOMPARE(w->QRPreview->H_Position(), 300 + dh);
        QCOMPARE(w->QRPreview->V_Position(), 300 + dv);
    }
    QCOMPARE(QApplication::focusWidget(), w->BtnCerrar);
    QVERIFY(w->isVisible());
    // Never before the start nor past the end.
    for (int i = 0; i < 40; ++i)
        Soltar(w->BtnCerrar, Qt::Key_Down);
    QCOMPARE(w->QRPreview->V_Position(), w->QRPreview->verticalScrollBar()->maximum());
    for (int i = 0; i < 40; ++i)
        Soltar(w->BtnCerrar, Qt::Key_Left);
    QCOMPARE(w->QRPreview->H_Position(), 0);
}

void TstQRepPreview::pasosZoom_data()
{
    QTest::addColumn<int>("desde");
    QTest::addColumn<bool>("ampliar");
    QTest::addColumn<QList<int>>("pasos");
    QTest::newRow("reducir desde 100") << 100 << false << QList<int>{80, 60, 50, 50};
    QTest::newRow("ampliar desde 280") << 280 << true << QList<int>{300, 300};
    QTest::newRow("reducir desde 57") << 57 << false << QList<int>{50, 50};
    QTest::newRow("reducir desde 40") << 40 << false << QList<int>{50};
    QTest::newRow("ampliar desde 310") << 310 << true << QList<int>{300};
    QTest::newRow("ampliar desde 95") << 95 << true << QList<int>{115, 135};
}

void TstQRepPreview::pasosZoom()
{
    QFETCH(int, desde);
    QFETCH(bool, ampliar);
    QFETCH(QList<int>, pasos);
    Vista v;
    TFormQRepPreview *w = v.Mostrar();
    v.Terminar();
    w->QRPreview->Set_Zoom(desde);
    w->ZoomTo100->setChecked(true);
    QList<int> vistos;
    for (int i = 0; i < pasos.size(); ++i) {
        (ampliar ? w->BtnZoomIn : w->BtnZoomOut)->click();
        vistos << w->QRPreview->Zoom();
    }
    QCOMPARE(vistos, pasos);
    if (pasos.first() != desde) {
        QVERIFY(!w->ZoomToFit->isChecked());
        QVERIFY(!w->ZoomTo100->isChecked());
        QVERIFY(!w->ZoomToWidth->isChecked());
    }
    QCOMPARE(QApplication::focusWidget(), w->BtnCerrar);
}

void TstQRepPreview::posicionProporcional_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("esperado");
    QTest::newRow("mitad") << 200 << 50 << 100 << 100;
    QTest::newRow("media a la par baja") << 10 << 1 << 4 << 2;
    QTest::newRow("media a la par sube") << 10 << 3 << 4 << 8;
    QTest::newRow("no pasa de a") << 100 << 50 << 40 << 100;
    QTest::newRow("al principio") << 500 << 0 << 300 << 0;
    QTest::newRow("sin sitio antes: al medio") << 500 << 0 << 0 << 250;
    QTest::newRow("sin sitio antes ni despues") << 0 << 0 << 0 << 0;
}

void TstQRepPreview::posicionProporcional()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(int, esperado);
    QCOMPARE(TFormQRepPreview::Posicion_Proporcional(a, b, c), esperado);
}

void TstQRepPreview::pedirPagina()
{
    Vista v;
    TFormQRepPreview *w = v.Mostrar();
    v.Terminar();
    w->sbNextPage->click();
    // Tab cannot take the focus to the field.
    QCOMPARE(QApplication::focusWidget(), w->BtnCerrar);
    QTest::keyClick(w->BtnCerrar, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w->BtnCerrar);
    QTest::keyClick(w->BtnCerrar, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), w->BtnCerrar);
    // P asks for it, with its whole text selected, so a number typed replaces it.
    Soltar(w->BtnCerrar, Qt::Key_P);
    QCOMPARE(QApplication::focusWidget(), w->sePage);
    QCOMPARE(w->sePage->selectedText(), QStringLiteral("2"));
    QTest::keyClicks(w->sePage, QStringLiteral("3"));
    QCOMPARE(w->QRPreview->Page_Number(), 3);
    // Any other control gives the focus back to the close button; a click on the
    // field or on its label asks for it again.
    w->sbFirstPage->click();
    QCOMPARE(QApplication::focusWidget(), w->BtnCerrar);
    QTest::mouseClick(w->sePage, Qt::LeftButton, Qt::NoModifier, QPoint(3, 5));
    QCOMPARE(QApplication::focusWidget(), w->sePage);
    QCOMPARE(w->sePage->selectedText(), QStringLiteral("1"));
    w->BtnCerrar->setFocus();
    QTest::mouseClick(w->Label1, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), w->sePage);
    QCOMPARE(w->sePage->selectedText(), QStringLiteral("1"));
}

void TstQRepPreview::alt_data()
{
    QTest::addColumn<int>("tecla");
    QTest::newRow("Alt+C") << int(Qt::Key_C);
    QTest::newRow("Alt+P") << int(Qt::Key_P);
    QTest::newRow("Alt+Av Pag") << int(Qt::Key_PageDown);
    QTest::newRow("Alt+Fin") << int(Qt::Key_End);
    QTest::newRow("Alt+Intro") << int(Qt::Key_Return);
    QTest::newRow("Alt+Esc") << int(Qt::Key_Escape);
}

void TstQRepPreview::alt()
{
    QFETCH(int, tecla);
    Vista v;
    TFormQRepPreview *w = v.Mostrar();
    v.Terminar();
    QCOMPARE(QApplication::focusWidget(), w->BtnCerrar);
    QTest::keyClick(w->BtnCerrar, Qt::Key(tecla), Qt::AltModifier);
    QVERIFY(w->isVisible());
    QCOMPARE(w->QRPreview->Page_Number(), 1);
    QCOMPARE(QApplication::focusWidget(), w->BtnCerrar);
}

void TstQRepPreview::arrastre()
{
    Vista v;
    TFormQRepPreview *w = v.Mostrar();
    v.Terminar();
    w->QRPreview->Set_Zoom(250);
    QCoreApplication::processEvents();
    w->QRPreview->Set_H_Position(200);
    w->QRPreview->Set_V_Position(200);
    QWidget *hoja = w->QRPreview->viewport();
    auto raton = [hoja](QEvent::Type tipo, QPoint p, Qt::MouseButtons botones) {
        QMouseEvent e(tipo, p, hoja->mapToGlobal(p), tipo == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      botones, Qt::NoModifier);
        QApplication::sendEvent(hoja, &e);
    };
    raton(QEvent::MouseButtonPress, QPoint(150, 150), Qt::LeftButton);
    QVERIFY(w->Arrastrando);
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::SizeAllCursor);
    raton(QEvent::MouseMove, QPoint(110, 120), Qt::LeftButton);
    // The grabbed point follows the pointer: the page moved 40 and 30 pixels.
    QCOMPARE(w->QRPreview->H_Position(), 240);
    QCOMPARE(w->QRPreview->V_Position(), 230);
    raton(QEvent::MouseMove, QPoint(120, 110), Qt::LeftButton);
    QCOMPARE(w->QRPreview->H_Position(), 230);
    QCOMPARE(w->QRPreview->V_Position(), 240);
    raton(QEvent::MouseButtonRelease, QPoint(120, 110), Qt::NoButton);
    QVERIFY(!w->Arrastrando);
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(QApplication::focusWidget(), w->BtnCerrar);
}

void TstQRepPreview::cursorPrevio()
{
    // The caller's cursor is there again when the window closes, even after a
    // drag that was still under way.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    Vista v;
    TFormQRepPreview *w = v.Mostrar();
    v.Terminar();
    QCOMPARE(w->Cursor_Previo, Qt::WaitCursor);
    QWidget *hoja = w->QRPreview->viewport();
    QMouseEvent pulsar(QEvent::MouseButtonPress, QPointF(50, 50), hoja->mapToGlobal(QPointF(50, 50)), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(hoja, &pulsar);
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::SizeAllCursor);
    QVERIFY(w->close());
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QGuiApplication::restoreOverrideCursor();
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TstQRepPreview::menu()
{
    Vista v;
    TFormQRepPreview *w = v.Mostrar();
    v.Pagina(1);
    v.Pagina(2);
    emit w->ppMenu->aboutToShow();
    QVERIFY(w->opAjustarAnchoPagina->isChecked());
    QVERIFY(!w->opVerHojaEntera->isChecked());
    QVERIFY(!w->opImprimir->isEnabled()); // like the print button, while generating
    v.Terminar();
    w->opVerHojaEntera->trigger();
    QVERIFY(w->ZoomToFit->isChecked());
    QVERIFY(!w->ZoomToWidth->isChecked());
    // The whole page shows, with no scroll bar.
    QCOMPARE(w->QRPreview->horizontalScrollBar()->maximum(), 0);
    QCOMPARE(w->QRPreview->verticalScrollBar()->maximum(), 0);
    w->BtnZoomIn->click();
    emit w->ppMenu->aboutToShow();
    QVERIFY(!w->opVerHojaEntera->isChecked() && !w->opVerTamanoCompleto->isChecked()
            && !w->opAjustarAnchoPagina->isChecked());
    QVERIFY(w->opImprimir->isEnabled());
    w->opVerTamanoCompleto->trigger();
    QCOMPARE(w->QRPreview->Zoom(), 100);
    QVERIFY(w->ZoomTo100->isChecked());
    // Pressing the mode button that is down lets it up.
    w->ZoomTo100->click();
    QVERIFY(!w->ZoomTo100->isChecked());
    w->opCerrar->trigger();
    QVERIFY(!w->isVisible());
}

void TstQRepPreview::guardar_data()
{
    QTest::addColumn<int>("opcion");
    QTest::addColumn<QString>("escrito");
    QTest::addColumn<QString>("guardado");
    QTest::addColumn<QString>("contiene");
    QTest::newRow("informe con .txt") << 1 << "uno.txt" << "uno.qrp" << "QLV-QRP";
    QTest::newRow("texto") << 2 << "dos.csv" << "dos.txt" << "FIN DEL LISTADO";
    QTest::newRow("separado por comas") << 3 << "tres" << "tres.csv" << "7,07/03/2024,Fila 7\r\n";
    QTest::newRow("html sin extension") << 4 << "cuatro" << "cuatro.htm" << "<td>Fila 7</td>";
    QTest::newRow("html de otro nombre") << 4 << "cinco.final.qrp" << "cinco.final.htm" << "<table";
}

void TstQRepPreview::guardar()
{
    QFETCH(int, opcion);
    QFETCH(QString, escrito);
    QFETCH(QString, guardado);
    QFETCH(QString, contiene);
    Vista v;
    TFormQRepPreview *w = v.Mostrar();
    v.Terminar();
    QTemporaryDir dir;
    QString carpeta;
    DialogosPrueba d;
    Elegir_Fichero(d, QStringLiteral("DlgGuardar"), opcion, dir.filePath(escrito), &carpeta);
    w->BtnSave->click();
    QVERIFY(d.esperar());
    QCOMPARE(carpeta, QDir(Carpeta_Programa()).absolutePath());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{guardado});
    const QByteArray datos = Leer_Fichero(dir.filePath(guardado));
    QVERIFY2(datos.contains(contiene.toUtf8()), datos.left(200).constData());
    QCOMPARE(w->focusWidget(), w->BtnCerrar);
}

void TstQRepPreview::guardarSobreOtro()
{
    Vista v;
    TFormQRepPreview *w = v.Mostrar();
    v.Terminar();
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("informe.qrp"));
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("anterior");
    f.close();
    // Typed as .txt under the first choice: the .qrp it becomes exists, so the user is asked.
    for (bool respuesta : {false, true}) {
        Avisos_Prueba::Programar_Respuesta(respuesta);
        DialogosPrueba d;
        Elegir_Fichero(d, QStringLiteral("DlgGuardar"), 1, dir.filePath(QStringLiteral("informe.txt")));
        w->BtnSave->click();
        QVERIFY(d.esperar());
        QCOMPARE(Avisos_Prueba::Mostrados().last().Texto,
                 QStringLiteral("El fichero \"%1\" ya existe.\r¿Desea reemplazarlo?").arg(ruta));
        QCOMPARE(Leer_Fichero(ruta) == "anterior", !respuesta);
    }
    QVERIFY(Leer_Fichero(ruta).startsWith("QLV-QRP"));
}

void TstQRepPreview::cargar()
{
    // Two saved reports, of 3 pages and of 1.
    Vista tres;
    Vista una(10);
    tres.Mostrar();
    tres.Terminar();
    const QString rutaTres = m_dir.filePath(QStringLiteral("tres.qrp"));
    const QString rutaUna = m_dir.filePath(QStringLiteral("una.qrp"));
    tres.almacen->Save(rutaTres);
    delete tres.w.data();

    // A window without title, on page 2 and zoomed, loads them one after the other.
    Vista v(10, QString());
    TFormQRepPreview *w = v.Mostrar();
    v.Terminar();
    v.almacen->Save(rutaUna);
    w->QRPreview->Set_Zoom(150);
    DialogosPrueba d;
    Elegir_Fichero(d, QStringLiteral("DlgCargar"), 1, rutaTres);
    w->BtnLoad->click();
    QVERIFY(d.esperar());
    QCOMPARE(w->windowTitle(), rutaTres + QStringLiteral(" - 3 páginas"));
    QCOMPARE(v.almacen->Page_Count(), 3);
    QCOMPARE(w->QRPreview->Page_Number(), 1);
    QCOMPARE(w->sePage->text(), QStringLiteral("1"));
    QVERIFY(w->ZoomToWidth->isChecked());
    QCOMPARE(w->PanelNumPag->text(), QStringLiteral(" Página 1 de 3"));
    w->sbLastPage->click();
    QCOMPARE(w->QRPreview->Page_Number(), 3);

    DialogosPrueba d2;
    Elegir_Fichero(d2, QStringLiteral("DlgCargar"), 1, rutaUna);
    w->BtnLoad->click();
    QVERIFY(d2.esperar());
    QCOMPARE(w->windowTitle(), rutaUna + QStringLiteral(" - 1 página"));
    QCOMPARE(w->PanelNumPag->text(), QStringLiteral(" Página 1 de 1"));

    // A report with a title keeps it.
    Vista conTitulo;
    TFormQRepPreview *w2 = conTitulo.Mostrar();
    conTitulo.Terminar();
    DialogosPrueba d3;
    Elegir_Fichero(d3, QStringLiteral("DlgCargar"), 1, rutaUna);
    w2->BtnLoad->click();
    QVERIFY(d3.esperar());
    QCOMPARE(w2->windowTitle(), QStringLiteral("Listado de prueba - 1 página"));
}

void TstQRepPreview::cargarMal_data()
{
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QString>("mensaje");
    QTest::newRow("no existe") << QByteArray("-") << "No se puede cargar el fichero seleccionado: \"%1\"";
    QTest::newRow("no es un informe") << QByteArray("hola") << "no es un informe guardado";
    QTest::newRow("vacio") << QByteArray() << "está vacío";
}

void TstQRepPreview::cargarMal()
{
    QFETCH(QByteArray, contenido);
    QFETCH(QString, mensaje);
    Vista v;
    TFormQRepPreview *w = v.Mostrar();
    v.Terminar();
    w->sbNextPage->click();
    const QString titulo = w->windowTitle();
    const QString ruta = m_dir.filePath(QStringLiteral("malo.qrp"));
    QFile::remove(ruta);
    if (contenido != "-") {
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contenido);
    }
    DialogosPrueba d;
    Elegir_Fichero(d, QStringLiteral("DlgCargar"), 1, ruta);
    w->BtnLoad->click();
    QVERIFY(d.esperar());
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
    const TAvisoMostrado aviso = Avisos_Prueba::Mostrados().first();
    QCOMPARE(aviso.Tipo, avError);
    QCOMPARE(aviso.Titulo, QStringLiteral("Error"));
    if (contenido == "-")
        QCOMPARE(aviso.Texto, mensaje.arg(ruta));
    else
        QVERIFY2(aviso.Texto.contains(mensaje) && aviso.Texto.contains(ruta), qPrintable(aviso.Texto));
    // The report shown stays as it was.
    QCOMPARE(w->windowTitle(), titulo);
    QCOMPARE(v.almacen->Page_Count(), 3);
    QCOMPARE(w->QRPreview->Page_Number(), 2);
}

void TstQRepPreview::exportarTrasCargar()
{
    Vista v;
    TFormQRepPreview *w = v.Mostrar();
    v.Terminar();
    const QString ruta = m_dir.filePath(QStringLiteral("exportar.qrp"));
    v.almacen->Save(ruta);
    DialogosPrueba d;
    Elegir_Fichero(d, QStringLiteral("DlgCargar"), 1, ruta);
    w->BtnLoad->click();
    QVERIFY(d.esperar());
    // The loaded pages have no report to be exported from: the user is told, nothing is written.
    QTemporaryDir dir;
    DialogosPrueba d2;
    Elegir_Fichero(d2, QStringLiteral("DlgGuardar"), 3, dir.filePath(QStringLiteral("x")));
    w->BtnSave->click();
    QVERIFY(d2.esperar());
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
    QVERIFY(Avisos_Prueba::Mostrados().first().Texto.contains(QStringLiteral("sólo puede guardarse como informe")));
    // The first choice saves the loaded pages.
    DialogosPrueba d3;
    Elegir_Fichero(d3, QStringLiteral("DlgGuardar"), 1, dir.filePath(QStringLiteral("x")));
    w->BtnSave->click();
    QVERIFY(d3.esperar());
    QCOMPARE(Leer_Fichero(dir.filePath(QStringLiteral("x.qrp"))), Leer_Fichero(ruta));
}

void TstQRepPreview::imprimir()
{
    Vista v;
    int generaciones = 0;
    bool cerrada = true;
    bool botonesApagados = false;
    v.informe.BeforeRun = [&](TReport &) { ++generaciones; };
    TFormQRepPreview *w = v.Mostrar();
    v.Terminar();
    // While printing the window refuses to close and offers neither printing nor saving.
    v.informe.Band("Resumen")->BeforePrint = [&](TBandEvent &) {
        cerrada = w->close();
        botonesApagados = !w->BtnPrint->isEnabled() && !w->BtnPrintSetup->isEnabled() && !w->BtnSave->isEnabled()
            && !w->BtnLoad->isEnabled();
    };
    const QString pdf = m_dir.filePath(QStringLiteral("impreso.pdf"));
    w->Impresora().setOutputFileName(pdf);

    Avisos_Prueba::Programar_Respuesta(false);
    w->BtnPrint->click();
    QCOMPARE(Avisos_Prueba::Mostrados().last().Texto, QStringLiteral("¿Desea imprimir el informe?"));
    QCOMPARE(Avisos_Prueba::Mostrados().last().Titulo, QStringLiteral("Imprimir"));
    QCOMPARE(generaciones, 0);
    QVERIFY(!QFile::exists(pdf));

    Avisos_Prueba::Programar_Respuesta(true);
    w->BtnPrint->click();
    QCOMPARE(generaciones, 1);
    QCOMPARE(Paginas_Pdf(pdf), 3);
    // Printed texts keep their size and place on the paper: read back, each row stands in its line.
    const QString texto = Texto_Pdf(pdf);
    QVERIFY2(texto.isNull() || texto.contains(QRegularExpression(QStringLiteral("01/03/2024 +Fila 1\n"))),
             qPrintable(texto.left(2000)));
    QVERIFY(!cerrada);
    QVERIFY(botonesApagados);
    QVERIFY(w->isVisible());
    QVERIFY(!w->Imprimiendo);
    QVERIFY(w->BtnPrint->isEnabled() && w->BtnSave->isEnabled());
    QCOMPARE(QApplication::focusWidget(), w->BtnCerrar);

    // The set-up prints at once, with the pages chosen, without asking.
    const QString pdf2 = m_dir.filePath(QStringLiteral("pagina2.pdf"));
    DialogosPrueba d;
    d.alAparecer(QStringLiteral("DialogoImpresora"), [&](QWidget *dlg) {
        w->Impresora().setOutputFileName(pdf2);
        w->Impresora().setPrintRange(QPrinter::PageRange);
        w->Impresora().setFromTo(2, 2);
        qobject_cast<QDialog *>(dlg)->done(QDialog::Accepted);
    });
    const int preguntas = Avisos_Prueba::Mostrados().size();
    w->BtnPrintSetup->click();
    QVERIFY(d.esperar());
    QCOMPARE(Avisos_Prueba::Mostrados().size(), preguntas);
    QCOMPARE(generaciones, 2);
    QCOMPARE(Paginas_Pdf(pdf2), 1);

    // Cancelled in the progress window half-way: the run stops there.
    const QString pdf3 = m_dir.filePath(QStringLiteral("cancelado.pdf"));
    w->Impresora().setOutputFileName(pdf3);
    w->Impresora().setPrintRange(QPrinter::AllPages);
    int filas = 0;
    v.informe.Band("Detalle")->BeforePrint = [&](TBandEvent &) {
        if (++filas == 60)
            if (auto *progreso = w->findChild<QProgressDialog *>(QStringLiteral("ProgresoImpresion")))
                progreso->cancel();
    };
    Avisos_Prueba::Programar_Respuesta(true);
    w->BtnPrint->click();
    QCOMPARE(generaciones, 3);
    QVERIFY(filas < 120);
    QVERIFY(Paginas_Pdf(pdf3) < 3);
    QVERIFY(w->BtnPrint->isEnabled() && !w->Imprimiendo);
    v.informe.Band("Detalle")->BeforePrint = nullptr;

    // Cancelled, nothing is printed.
    DialogosPrueba d2;
    d2.alAparecer(QStringLiteral("DialogoImpresora"), [](QWidget *dlg) { qobject_cast<QDialog *>(dlg)->reject(); });
    w->BtnPrintSetup->click();
    QVERIFY(d2.esperar());
    QCOMPARE(generaciones, 3);
}

void TstQRepPreview::imprimirTrasCargar()
{
    // A saved report of one page.
    const QString guardado = m_dir.filePath(QStringLiteral("otro.qrp"));
    {
        Vista otro(10);
        otro.Mostrar();
        otro.Terminar();
        otro.almacen->Save(guardado);
    }
    // The window of a three-page report loads it, then prints: the printed
    // report is the one that opened the window, generated anew.
    TMemoryTable filas = Filas(120);
    TReport informe = Informe_Listado(filas);
    int generaciones = 0;
    informe.BeforeRun = [&](TReport &) { ++generaciones; };
    const QString pdf = m_dir.filePath(QStringLiteral("tras_cargar.pdf"));
    QString titulo;
    const bool visto = Con_Vista(informe, [&](TFormQRepPreview *w) {
        DialogosPrueba d;
        Elegir_Fichero(d, QStringLiteral("DlgCargar"), 1, guardado);
        w->BtnLoad->click();
        QVERIFY(d.esperar());
        titulo = w->windowTitle();
        w->Impresora().setOutputFileName(pdf);
        Avisos_Prueba::Programar_Respuesta(true);
        w->BtnPrint->click();
    });
    QVERIFY(visto);
    QCOMPARE(titulo, QStringLiteral("Listado de prueba - 1 página"));
    QCOMPARE(generaciones, 2);
    QCOMPARE(Paginas_Pdf(pdf), 3);
    QVERIFY(!Vista_Abierta());
}

void TstQRepPreview::cerrarMientrasGenera()
{
    TMemoryTable filas = Filas(2000);
    TReport informe = Informe_Listado(filas);
    int paginasHechas = 0;
    bool cerrado = false;
    informe.Band("Cabecera")->BeforePrint = [&](TBandEvent &ev) {
        paginasHechas = ev.Page;
        // While page 3 is being made, page 2 is there: the window may be closed.
        if (ev.Page == 3 && !cerrado)
            QTimer::singleShot(0, [&] {
                if (TFormQRepPreview *w = Vista_Abierta()) {
                    cerrado = w->close();
                }
            });
    };
    Previsualizar_Informe(informe, true, true);
    QVERIFY(cerrado);
    QVERIFY2(paginasHechas < 10, qPrintable(QString::number(paginasHechas)));
    QVERIFY(!Vista_Abierta());
}

void TstQRepPreview::falloAlGenerar()
{
    TMemoryTable filas = Filas(120);
    TReport informe = Informe_Listado(filas);
    int fila = 0;
    informe.Band("Detalle")->BeforePrint = [&](TBandEvent &) {
        if (++fila == 70)
            throw EInOutError(0, QStringLiteral("La tabla no se puede leer."));
    };
    QString titulo;
    const bool visto = Con_Vista(informe, [&](TFormQRepPreview *w) {
        titulo = w->windowTitle();
        QVERIFY(w->BtnCerrar->isEnabled());
    });
    QVERIFY(visto);
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
    QVERIFY(Avisos_Prueba::Mostrados().first().Texto.contains(QStringLiteral("La tabla no se puede leer.")));
    QCOMPARE(titulo, QStringLiteral(" Listado de prueba") + kBlancos);
}

QTEST_MAIN(TstQRepPreview)
#include "tst_qrepreview.moc"
