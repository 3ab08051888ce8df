#include "QRepPreview.h"

#include "Ubicaciones.h"

#include "Avisos.h"
#include "Excepciones.h"
#include "ExportFilters.h"
#include "ImagenesVista.h"
#include "ImpresionInforme.h"
#include "PageStore.h"
#include "PreviewArea.h"
#include "ReportDef.h"
#include "UtilSistema.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kAltoBarra = 30;
constexpr int kLadoBoton = 26;
constexpr int kAnchoCerrar = 90;
const QColor kAzulMarino(0, 0, 128);
const QString kQuinceBlancos(15, QLatin1Char(' '));

// Extensions of the save dialog's choices 1 to 4.
const char *const kExtensiones[] = {".qrp", ".txt", ".csv", ".htm"};

// The dialog's filters from the engine's "name|pattern|name|pattern" text; each
// pattern also in small letters, as file names here tell the case apart.
QStringList Filtros_Dialogo(const QString &texto)
{
    const QStringList partes = texto.split(QLatin1Char('|'));
    QStringList filtros;
    for (int i = 0; i + 1 < partes.size(); i += 2) {
        QString nombre = partes.at(i);
        const int parentesis = nombre.indexOf(QLatin1Char('('));
        if (parentesis >= 0)
            nombre.truncate(parentesis);
        QStringList patrones = partes.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (const QString &p : QStringList(patrones))
            if (!patrones.contains(p.toLower()))
                patrones << p.toLower();
        filtros << nombre + QLatin1Char('(') + patrones.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filtros;
}

// `nombre` with its extension, if any, replaced by `extension`.
QString Cambiar_Extension(const QString &nombre, const QString &extension)
{
    const int barra = nombre.lastIndexOf(QLatin1Char('/'));
    const int punto = nombre.lastIndexOf(QLatin1Char('.'));
    return (punto > barra ? nombre.left(punto) : nombre) + extension;
}

QToolButton *Boton(QWidget *padre, const char *nombre, const char *imagen, const QString &pista)
{
    auto *b = new QToolButton(padre);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setIcon(Imagen_Vista(QString::fromLatin1(imagen)));
    b->setToolTip(pista);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(kLadoBoton, kLadoBoton);
    return b;
}

QFont Negrita_Marino(QWidget *w)
{
    QFont f = w->font();
    f.setBold(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Text, kAzulMarino);
    p.setColor(QPalette::WindowText, kAzulMarino);
    w->setPalette(p);
    return f;
}

// The application's cursor shape as the screen shows it.
Qt::CursorShape Cursor_Actual()
{
    const QCursor *c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::ArrowCursor;
}

} // namespace

void Previsualizar_Informe(TReport &Informe, bool Permitir_Imprimir, bool Permitir_Guardar)
{
    auto *forma = new TFormQRepPreview();
    forma->Permitir_Imprimir = Permitir_Imprimir;
    forma->Permitir_Guardar = Permitir_Guardar;
    forma->Informe = &Informe;
    QPointer<TFormQRepPreview> vista(forma);
    Informe.OnPreview = [vista](const std::shared_ptr<TPageStore> &almacen) {
        if (vista)
            vista->Mostrar_Vista_Previa(almacen);
    };
    try {
        Informe.Preview();
    } catch (...) {
        Informe.OnPreview = nullptr;
        delete vista.data();
        throw;
    }
    Informe.OnPreview = nullptr;
}

TFormQRepPreview::TFormQRepPreview(QWidget *parent) : tFormBase(parent, Qt::Window)
{
    setObjectName(QStringLiteral("TFormQRepPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Shown without exec(), but nothing else of the program takes input while it
    // is open: its opener waits inside the report's preview call.
    setWindowModality(Qt::ApplicationModal);
    resize(400, 300); // small enough never to be shrunk; shown, it fills its monitor

    ToolBar = new QFrame(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setFrameShape(QFrame::StyledPanel);

    Label1 = new QLabel(QStringLiteral("&Página"), ToolBar);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setGeometry(6, 6, 44, 18);

    sePage = new QLineEdit(ToolBar);
    sePage->setObjectName(QStringLiteral("sePage"));
    sePage->setMaxLength(5);
    sePage->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), sePage));
    sePage->setFont(Negrita_Marino(sePage));
    sePage->setGeometry(52, 4, 46, 22);
    sePage->setEnabled(false);
    sePage->setContextMenuPolicy(Qt::NoContextMenu);
    // Underlines the P that asks for the field (its Alt shortcut is consumed like any other).
    Label1->setBuddy(sePage);

    sbFirstPage = Boton(ToolBar, "sbFirstPage", "Primera", QStringLiteral("Primera página"));
    sbPreviousPage = Boton(ToolBar, "sbPreviousPage", "Anterior", QStringLiteral("Página anterior"));
    sbNextPage = Boton(ToolBar, "sbNextPage", "Siguiente", QStringLiteral("Página siguiente"));
    sbLastPage = Boton(ToolBar, "sbLastPage", "Ultima", QStringLiteral("Ultima página"));
    ZoomToFit = Boton(ToolBar, "ZoomToFit", "HojaEntera", QStringLiteral("Ver hoja entera en pantalla"));
    ZoomTo100 = Boton(ToolBar, "ZoomTo100", "TamanoCompleto", QStringLiteral("Ver a tamaño completo"));
    ZoomToWidth = Boton(ToolBar, "ZoomToWidth", "AnchoPagina", QStringLiteral("Ajustar ancho de la página"));
    BtnZoomOut = Boton(ToolBar, "BtnZoomOut", "Reducir", QStringLiteral("Disminuir el Zoom"));
    BtnZoomIn = Boton(ToolBar, "BtnZoomIn", "Ampliar", QStringLiteral("Aumentar el Zoom"));
    BtnPrintSetup = Boton(ToolBar, "BtnPrintSetup", "Configurar", QStringLiteral("Configurar impresora"));
    BtnPrint = Boton(ToolBar, "BtnPrint", "Imprimir", QStringLiteral("Imprimir"));
    BtnSave = Boton(ToolBar, "BtnSave", "Guardar", QStringLiteral("Guardar el informe en un fichero"));
    BtnLoad = Boton(ToolBar, "BtnLoad", "Cargar", QStringLiteral("Cargar un informe desde un fichero"));
    int x = 102;
    for (QToolButton *b : {sbFirstPage, sbPreviousPage, sbNextPage, sbLastPage, ZoomToFit, ZoomTo100, ZoomToWidth,
                           BtnZoomOut, BtnZoomIn, BtnPrintSetup, BtnPrint, BtnSave, BtnLoad}) {
        if (b == ZoomToFit || b == BtnZoomOut || b == BtnPrintSetup || b == BtnSave)
            x += 8;
        b->move(x, 2);
        x += kLadoBoton;
    }
    for (QToolButton *b : {ZoomToFit, ZoomTo100, ZoomToWidth})
        b->setCheckable(true);
    for (QToolButton *b : {BtnPrintSetup, BtnPrint, BtnSave, BtnLoad})
        b->setEnabled(false);

    PanelNumPag = new QLabel(QStringLiteral(" Página 9999 de 9999"), ToolBar);
    PanelNumPag->setObjectName(QStringLiteral("PanelNumPag"));
    PanelNumPag->setTextFormat(Qt::PlainText);
    PanelNumPag->setFont(Negrita_Marino(PanelNumPag));
    PanelNumPag->setGeometry(x + 10, 4, 170, 22);
    PanelNumPag->hide();

    BtnCerrar = new QPushButton(QStringLiteral("&Cerrar"), ToolBar);
    BtnCerrar->setObjectName(QStringLiteral("BtnCerrar"));
    BtnCerrar->setToolTip(QStringLiteral("Cerrar la ventana"));
    BtnCerrar->setIcon(Imagen_Vista(QStringLiteral("Cerrar")));
    BtnCerrar->setDefault(true);
    BtnCerrar->setAutoDefault(true);
    BtnCerrar->setGeometry(0, 2, kAnchoCerrar, kLadoBoton);

    QRPreview = new TPreviewArea(this);
    QRPreview->setObjectName(QStringLiteral("QRPreview"));
    QRPreview->setContextMenuPolicy(Qt::CustomContextMenu);

    ppMenu = new QMenu(this);
    ppMenu->setObjectName(QStringLiteral("ppMenu"));
    auto accion = [this](const char *nombre, const QString &texto) {
        auto *a = ppMenu->addAction(texto);
        a->setObjectName(QString::fromLatin1(nombre));
        return a;
    };
    m_grupoZoom = new QActionGroup(this);
    m_grupoZoom->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    opVerHojaEntera = accion("opVerHojaEntera", QStringLiteral("Ver &hoja entera en pantalla"));
    opVerTamanoCompleto = accion("opVerTamanoCompleto", QStringLiteral("Ver a &tamaño completo"));
    opAjustarAnchoPagina = accion("opAjustarAnchoPagina", QStringLiteral("Aj&ustar ancho de la página"));
    for (QAction *a : {opVerHojaEntera, opVerTamanoCompleto, opAjustarAnchoPagina}) {
        a->setCheckable(true);
        m_grupoZoom->addAction(a);
    }
    N2 = ppMenu->addSeparator();
    N2->setObjectName(QStringLiteral("N2"));
    opImprimir = accion("opImprimir", QStringLiteral("&Imprimir"));
    N1 = ppMenu->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    opCerrar = accion("opCerrar", QStringLiteral("&Cerrar"));

    QRTextFilter = new TTextFilter(this);
    QRTextFilter->setObjectName(QStringLiteral("QRTextFilter"));
    QRCSVFilter = new TCSVFilter(this, QLatin1Char(','));
    QRCSVFilter->setObjectName(QStringLiteral("QRCSVFilter"));
    QRHTMLFilter = new THTMLFilter(this);
    QRHTMLFilter->setObjectName(QStringLiteral("QRHTMLFilter"));

    connect(sbFirstPage, &QToolButton::clicked, this, &TFormQRepPreview::sbFirstPageClick);
    connect(sbPreviousPage, &QToolButton::clicked, this, &TFormQRepPreview::sbPreviousPageClick);
    connect(sbNextPage, &QToolButton::clicked, this, &TFormQRepPreview::sbNextPageClick);
    connect(sbLastPage, &QToolButton::clicked, this, &TFormQRepPreview::sbLastPageClick);
    connect(ZoomToFit, &QToolButton::clicked, this, &TFormQRepPreview::ZoomToFitClick);
    connect(ZoomTo100, &QToolButton::clicked, this, &TFormQRepPreview::ZoomTo100Click);
    connect(ZoomToWidth, &QToolButton::clicked, this, &TFormQRepPreview::ZoomToWidthClick);
    for (QToolButton *b : {ZoomToFit, ZoomTo100, ZoomToWidth})
        connect(b, &QToolButton::toggled, this, [this, b](bool abajo) {
            if (abajo)
                Boton_Modo(b);
        });
    connect(BtnZoomOut, &QToolButton::clicked, this, &TFormQRepPreview::BtnZoomOutClick);
    connect(BtnZoomIn, &QToolButton::clicked, this, &TFormQRepPreview::BtnZoomInClick);
    connect(BtnPrintSetup, &QToolButton::clicked, this, &TFormQRepPreview::BtnPrintSetupClick);
    connect(BtnPrint, &QToolButton::clicked, this, &TFormQRepPreview::BtnPrintClick);
    connect(BtnSave, &QToolButton::clicked, this, &TFormQRepPreview::BtnSaveClick);
    connect(BtnLoad, &QToolButton::clicked, this, &TFormQRepPreview::BtnLoadClick);
    connect(BtnCerrar, &QPushButton::clicked, this, &TFormQRepPreview::BtnCerrarClick);
    connect(sePage, &QLineEdit::textChanged, this, &TFormQRepPreview::sePageChange);
    connect(opVerHojaEntera, &QAction::triggered, this, &TFormQRepPreview::opVerHojaEnteraClick);
    connect(opVerTamanoCompleto, &QAction::triggered, this, &TFormQRepPreview::opVerTamanoCompletoClick);
    connect(opAjustarAnchoPagina, &QAction::triggered, this, &TFormQRepPreview::opAjustarAnchoPaginaClick);
    connect(opImprimir, &QAction::triggered, this, &TFormQRepPreview::BtnPrintClick);
    connect(opCerrar, &QAction::triggered, this, &TFormQRepPreview::BtnCerrarClick);
    connect(ppMenu, &QMenu::aboutToShow, this, &TFormQRepPreview::ppMenuPopup);
    connect(QRPreview, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { ppMenu->popup(QRPreview->mapToGlobal(p)); });
    connect(QRPreview, &TPreviewArea::pageAvailable, this, &TFormQRepPreview::QRPreviewPageAvailable);
    connect(QRPreview, &TPreviewArea::pageClicked, this, &TFormQRepPreview::QRPreviewClick);
    connect(QRPreview, &TPreviewArea::pageMousePressed, this, &TFormQRepPreview::QRPreviewMouseDown);
    connect(QRPreview, &TPreviewArea::pageMouseMoved, this, &TFormQRepPreview::QRPreviewMouseMove);
    connect(QRPreview, &TPreviewArea::pageMouseReleased, this, &TFormQRepPreview::QRPreviewMouseUp);
    m_focoCerrar = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *antes, QWidget *ahora) {
        if (antes == BtnCerrar)
            BtnCerrarExit(ahora);
    });
    qApp->installEventFilter(this);

    // FormCreate.
    QScreen *pantalla = screen() ? screen() : QGuiApplication::primaryScreen();
    if (pantalla && pantalla->geometry().width() < Ancho_Pantalla_Pequena) {
        BtnCerrar->setText(QString());
        BtnCerrar->setFixedWidth(kLadoBoton);
    }
    BtnCerrar->setEnabled(false);
    opCerrar->setEnabled(false);
    FormResize();
}

TFormQRepPreview::~TFormQRepPreview()
{
    m_cerrando = true;
    disconnect(m_focoCerrar);
    qApp->removeEventFilter(this);
    if (m_almacen) {
        m_almacen->Cancel();
        m_almacen->Close_Preview();
    }
    if (m_cursorArrastre)
        QGuiApplication::restoreOverrideCursor();
}

// ---- Showing and layout ------------------------------------------------------------

void TFormQRepPreview::Mostrar_Vista_Previa(const std::shared_ptr<TPageStore> &Almacen)
{
    m_almacen = Almacen;
    QRPreview->Attach(Almacen);
    connect(Almacen.get(), &TPageStore::failed, this, &TFormQRepPreview::Generacion_Fallida);
    show();
    repaint();
}

QString TFormQRepPreview::Titulo_Informe() const
{
    const QString titulo = m_almacen ? m_almacen->Title() : (Informe ? Informe->Title : QString());
    return (titulo.isEmpty() ? QStringLiteral(" Informe sin título") : QLatin1Char(' ') + titulo) + kQuinceBlancos;
}

void TFormQRepPreview::showEvent(QShowEvent *event)
{
    tFormBase::showEvent(event);
    if (!event->spontaneous() && !m_mostrada) {
        m_mostrada = true;
        FormShow();
    }
}

void TFormQRepPreview::FormShow()
{
    Ajustar_Ventana(this, 100);
    if (!Informe)
        return;
    setWindowTitle(Titulo_Informe() + QStringLiteral("(generando el informe; por favor, espere...)"));
    Arrastrando = false;
    Cursor_Previo = Cursor_Actual();
    Iniciar_Vista = true;
    if (!Permitir_Imprimir)
        Habilitar_Impresion(false);
    if (!Permitir_Guardar)
        Habilitar_Guardado(false);
    const std::pair<QAction *, QAbstractButton *> pares[] = {{opVerHojaEntera, ZoomToFit},
                                                            {opVerTamanoCompleto, ZoomTo100},
                                                            {opAjustarAnchoPagina, ZoomToWidth},
                                                            {opImprimir, BtnPrint},
                                                            {opCerrar, BtnCerrar}};
    for (const auto &[opcion, boton] : pares) {
        opcion->setIcon(boton->icon());
        opcion->setText(boton->toolTip());
    }
    Dar_Foco(BtnCerrar);
}

void TFormQRepPreview::resizeEvent(QResizeEvent *event)
{
    tFormBase::resizeEvent(event);
    FormResize();
}

void TFormQRepPreview::FormResize()
{
    ToolBar->setGeometry(0, 0, width(), kAltoBarra);
    BtnCerrar->move(ToolBar->width() - BtnCerrar->width() - 2, 2);
    QRPreview->setGeometry(0, kAltoBarra, width(), std::max(0, height() - kAltoBarra));
    // Made to fill its monitor again, once the event is over. A window manager
    // that answers twice with the same other size has the last word.
    if (isVisible() && !m_ajustando && size() != m_ultimaRespuesta) {
        m_ultimaRespuesta = size();
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_ajustando = true;
                Ajustar_Ventana(this, 100);
                m_ajustando = false;
            },
            Qt::QueuedConnection);
    }
}

void TFormQRepPreview::changeEvent(QEvent *event)
{
    tFormBase::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible())
        QMetaObject::invokeMethod(this, &TFormQRepPreview::FormDeactivate, Qt::QueuedConnection);
}

void TFormQRepPreview::FormDeactivate()
{
    if (m_cerrando || isActiveWindow() || !isVisible())
        return;
    Ajustar_Ventana(this, 100);
    // A dialog of its own (a question, the print dialog, the progress) stays in front.
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != this)
        return;
    if (!Imprimiendo) {
        raise();
    } else {
        activateWindow();
        QCoreApplication::processEvents();
    }
}

// ---- Pages ---------------------------------------------------------------------------

int TFormQRepPreview::Numero_Paginas() const
{
    return m_almacen ? m_almacen->Page_Count() : 0;
}

int TFormQRepPreview::Pagina_Campo() const
{
    return sePage->text().toInt();
}

void TFormQRepPreview::Inicializar_Vista()
{
    if (!Iniciar_Vista)
        return;
    sePage->setText(QStringLiteral("1"));
    QRPreview->Zoom_To_Width();
    ZoomToWidth->setChecked(true);
    Iniciar_Vista = false;
    Pedir_Pagina = false;
    sePage->setEnabled(true);
}

void TFormQRepPreview::QRPreviewPageAvailable(int PageNum)
{
    Inicializar_Vista();
    const TPageStore::TStatus estado = m_almacen ? m_almacen->Status() : TPageStore::Finished;
    if (!BtnCerrar->isEnabled() && (estado == TPageStore::Finished || PageNum > 1)) {
        BtnCerrar->setEnabled(true);
        opCerrar->setEnabled(true);
        BtnCerrar->setFocus();
    }
    QString titulo = Titulo_Informe();
    if (estado == TPageStore::Ready) {
        titulo += QStringLiteral("(preparado)");
    } else if (estado == TPageStore::Busy) {
        titulo += QStringLiteral("(procesando la página %1)").arg(PageNum);
    } else {
        Actualizar_Num_Pagina();
        PanelNumPag->show();
        if (Permitir_Imprimir)
            Habilitar_Impresion(true);
        if (Permitir_Guardar)
            Habilitar_Guardado(true);
    }
    setWindowTitle(titulo);
}

void TFormQRepPreview::Actualizar_Num_Pagina()
{
    PanelNumPag->setText(QLatin1Char(' ')
                         + QStringLiteral("Página %1 de %2").arg(QRPreview->Page_Number()).arg(Numero_Paginas()));
}

void TFormQRepPreview::sbFirstPageClick()
{
    QCoreApplication::processEvents();
    Dar_Foco(BtnCerrar);
    sePage->setText(QStringLiteral("1"));
    QRPreview->Set_Page_Number(1);
    Dar_Foco(BtnCerrar);
}

void TFormQRepPreview::sbPreviousPageClick()
{
    QCoreApplication::processEvents();
    Dar_Foco(BtnCerrar);
    const int n = Pagina_Campo();
    if (n > 1) {
        sePage->setText(QString::number(n - 1));
        QRPreview->Set_Page_Number(n - 1);
    }
    Dar_Foco(BtnCerrar);
}

void TFormQRepPreview::sbNextPageClick()
{
    QCoreApplication::processEvents();
    Dar_Foco(BtnCerrar);
    const int n = Pagina_Campo();
    if (n < Numero_Paginas()) {
        sePage->setText(QString::number(n + 1));
        QRPreview->Set_Page_Number(n + 1);
    }
    Dar_Foco(BtnCerrar);
}

void TFormQRepPreview::sbLastPageClick()
{
    QCoreApplication::processEvents();
    Dar_Foco(BtnCerrar);
    sePage->setText(QString::number(Numero_Paginas()));
    QRPreview->Set_Page_Number(Numero_Paginas());
    Dar_Foco(BtnCerrar);
}

void TFormQRepPreview::sePageChange()
{
    if (!sePage->text().isEmpty()) {
        const int n = Pagina_Campo();
        if (n < 1 || n > Numero_Paginas()) {
            const QSignalBlocker bloqueo(sePage);
            sePage->setText(QString::number(QRPreview->Page_Number()));
        }
        QRPreview->Set_Page_Number(Pagina_Campo());
    }
    Actualizar_Num_Pagina();
}

void TFormQRepPreview::sePageClick()
{
    Pedir_Pagina = true;
    Dar_Foco(sePage);
}

void TFormQRepPreview::Label1Click()
{
    Pedir_Pagina = true;
    Dar_Foco(sePage);
}

void TFormQRepPreview::sePageEnter()
{
    if (Pedir_Pagina) {
        Pedir_Pagina = false;
        sePage->selectAll();
    } else {
        Dar_Foco(BtnCerrar);
    }
}

void TFormQRepPreview::sePageExit()
{
    if (sePage->text().isEmpty()) {
        const QSignalBlocker bloqueo(sePage);
        sePage->setText(QString::number(QRPreview->Page_Number()));
    }
}

// ---- Zoom ------------------------------------------------------------------------------

void TFormQRepPreview::Boton_Modo(QToolButton *Boton)
{
    for (QToolButton *b : {ZoomToFit, ZoomTo100, ZoomToWidth})
        if (b != Boton)
            b->setChecked(false);
}

void TFormQRepPreview::Soltar_Botones_Zoom()
{
    for (QToolButton *b : {ZoomToFit, ZoomTo100, ZoomToWidth})
        b->setChecked(false);
}

void TFormQRepPreview::ZoomToFitClick()
{
    QCoreApplication::processEvents();
    QRPreview->Zoom_To_Fit();
    Dar_Foco(BtnCerrar);
}

void TFormQRepPreview::ZoomTo100Click()
{
    QCoreApplication::processEvents();
    QRPreview->Set_Zoom(100);
    Dar_Foco(BtnCerrar);
}

void TFormQRepPreview::ZoomToWidthClick()
{
    QCoreApplication::processEvents();
    QRPreview->Zoom_To_Width();
    Dar_Foco(BtnCerrar);
}

void TFormQRepPreview::opVerHojaEnteraClick()
{
    ZoomToFit->setChecked(true);
    ZoomToFitClick();
}

void TFormQRepPreview::opVerTamanoCompletoClick()
{
    ZoomTo100->setChecked(true);
    ZoomTo100Click();
}

void TFormQRepPreview::opAjustarAnchoPaginaClick()
{
    ZoomToWidth->setChecked(true);
    ZoomToWidthClick();
}

void TFormQRepPreview::ppMenuPopup()
{
    opVerHojaEntera->setChecked(ZoomToFit->isChecked());
    opVerTamanoCompleto->setChecked(ZoomTo100->isChecked());
    opAjustarAnchoPagina->setChecked(ZoomToWidth->isChecked());
    opImprimir->setEnabled(BtnPrint->isEnabled());
}

int TFormQRepPreview::Posicion_Proporcional(int a, int b, int c)
{
    if (c <= 0)
        return a / 2;
    const long double q = static_cast<long double>(a) * b / c;
    return int(std::min<long double>(a, std::nearbyint(q)));
}

void TFormQRepPreview::Paso_Zoom(bool Ampliar)
{
    const int h = QRPreview->H_Position(), v = QRPreview->V_Position();
    const int viejoH = QRPreview->H_Range() - width();
    const int viejoV = QRPreview->V_Range() - height();
    const int z = QRPreview->Zoom();
    int nuevo;
    if (Ampliar) {
        nuevo = std::min(z < 300 ? z + 20 : z, 300);
    } else {
        nuevo = std::max(z > 50 ? z - 20 : z, 50);
    }
    if (nuevo == z)
        return;
    QRPreview->Set_Zoom(nuevo);
    Soltar_Botones_Zoom();
    // The scroll bars show or hide after the range changes; let them, so the
    // new spans are measured on the area as it will be.
    QCoreApplication::sendPostedEvents(QRPreview, QEvent::MetaCall);
    const int nuevoH = QRPreview->H_Range() - QRPreview->viewport()->width();
    const int nuevoV = QRPreview->V_Range() - QRPreview->viewport()->height();
    QRPreview->Set_H_Position(Posicion_Proporcional(nuevoH, h, viejoH));
    QRPreview->Set_V_Position(Posicion_Proporcional(nuevoV, v, viejoV));
}

void TFormQRepPreview::BtnZoomOutClick()
{
    Paso_Zoom(false);
    Dar_Foco(BtnCerrar);
}

void TFormQRepPreview::BtnZoomInClick()
{
    Paso_Zoom(true);
    Dar_Foco(BtnCerrar);
}

// ---- Keyboard, focus and mouse ----------------------------------------------------------

void TFormQRepPreview::Dar_Foco(QWidget *Control)
{
    if (Control && Control->isEnabled())
        Control->setFocus();
}

bool TFormQRepPreview::eventFilter(QObject *watched, QEvent *event)
{
    auto *w = qobject_cast<QWidget *>(watched);
    const QEvent::Type tipo = event->type();
    if (w && w->window() == this
        && (tipo == QEvent::ShortcutOverride || tipo == QEvent::KeyPress || tipo == QEvent::KeyRelease)) {
        if (FormShortCut(static_cast<QKeyEvent *>(event)))
            return true;
    }
    if (watched == BtnCerrar && tipo == QEvent::KeyRelease) {
        BtnCerrarKeyUp(static_cast<QKeyEvent *>(event));
    } else if (watched == sePage) {
        switch (tipo) {
        case QEvent::FocusIn:
            sePageEnter();
            break;
        case QEvent::FocusOut:
            sePageExit();
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (sePage->isEnabled()) {
                sePageClick();
                return true; // the click asks for the field; it places no cursor
            }
            break;
        case QEvent::MouseMove:
            if (static_cast<QMouseEvent *>(event)->buttons() != Qt::NoButton)
                return true;
            break;
        default:
            break;
        }
    } else if (watched == Label1 && tipo == QEvent::MouseButtonRelease) {
        Label1Click();
    }
    return tFormBase::eventFilter(watched, event);
}

bool TFormQRepPreview::FormShortCut(QKeyEvent *event)
{
    // The window has no accelerators: anything typed with Alt held does nothing.
    if (!(event->modifiers() & Qt::AltModifier) && event->key() != Qt::Key_Alt)
        return false;
    event->accept();
    return true;
}

void TFormQRepPreview::BtnCerrarKeyUp(QKeyEvent *event)
{
    if (!BtnCerrar->isEnabled() || event->isAutoRepeat())
        return;
    const int salto = 30 * TPreviewArea::Line_Increment;
    const bool teclado = event->modifiers() & Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_PageDown:
        sbNextPageClick();
        break;
    case Qt::Key_PageUp:
        sbPreviousPageClick();
        break;
    case Qt::Key_End:
        sbLastPageClick();
        break;
    case Qt::Key_Home:
        sbFirstPageClick();
        break;
    case Qt::Key_Minus:
        if (teclado)
            BtnZoomOutClick();
        break;
    case Qt::Key_Plus:
        if (teclado)
            BtnZoomInClick();
        break;
    case Qt::Key_Up:
        QRPreview->Set_V_Position(QRPreview->V_Position() - salto);
        break;
    case Qt::Key_Down:
        QRPreview->Set_V_Position(QRPreview->V_Position() + salto);
        break;
    case Qt::Key_Left:
        QRPreview->Set_H_Position(QRPreview->H_Position() - salto);
        break;
    case Qt::Key_Right:
        QRPreview->Set_H_Position(QRPreview->H_Position() + salto);
        break;
    case Qt::Key_P:
        Pedir_Pagina = true;
        Dar_Foco(sePage);
        break;
    default:
        break;
    }
}

void TFormQRepPreview::BtnCerrarExit(QWidget *Nuevo)
{
    if (m_cerrando || !Nuevo || Nuevo == sePage || Nuevo->window() != this || !BtnCerrar->isEnabled())
        return;
    BtnCerrar->setFocus();
}

void TFormQRepPreview::QRPreviewClick()
{
    Dar_Foco(BtnCerrar);
}

void TFormQRepPreview::QRPreviewMouseDown(QPoint Pos)
{
    Arrastrando = true;
    Origen_Arrastre_X = Pos.x();
    Origen_Arrastre_Y = Pos.y();
    if (!m_cursorArrastre) {
        QGuiApplication::setOverrideCursor(Qt::SizeAllCursor);
        m_cursorArrastre = true;
    }
}

void TFormQRepPreview::QRPreviewMouseMove(QPoint Pos)
{
    if (!Arrastrando)
        return;
    QRPreview->Set_H_Position(QRPreview->H_Position() - (Pos.x() - Origen_Arrastre_X));
    QRPreview->Set_V_Position(QRPreview->V_Position() - (Pos.y() - Origen_Arrastre_Y));
    Dar_Foco(BtnCerrar);
}

void TFormQRepPreview::QRPreviewMouseUp(QPoint)
{
    Arrastrando = false;
    if (m_cursorArrastre) {
        QGuiApplication::restoreOverrideCursor();
        m_cursorArrastre = false;
    }
}

// ---- Printing ------------------------------------------------------------------------------

QPrinter &TFormQRepPreview::Impresora()
{
    if (!m_impresora) {
        m_impresora = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (Informe)
            Preparar_Impresora(*Informe, *m_impresora);
    }
    return *m_impresora;
}

void TFormQRepPreview::Habilitar_Impresion(bool Activo)
{
    BtnPrint->setEnabled(Activo);
    BtnPrintSetup->setEnabled(Activo);
}

void TFormQRepPreview::Habilitar_Guardado(bool Activo)
{
    BtnSave->setEnabled(Activo);
    BtnLoad->setEnabled(Activo);
}

void TFormQRepPreview::BtnPrintClick()
{
    Dar_Foco(BtnCerrar);
    if (!BtnPrint->isEnabled())
        return;
    if (!Confirmar_Impresion(QString()))
        return;
    // The print button prints the whole report; a range is for the set-up's run.
    Impresora().setPrintRange(QPrinter::AllPages);
    Imprimir_Informe();
}

void TFormQRepPreview::BtnPrintSetupClick()
{
    Dar_Foco(BtnCerrar);
    if (!BtnPrintSetup->isEnabled())
        return;
    if (Configurar_Impresora(Impresora(), this))
        Imprimir_Informe();
}

void TFormQRepPreview::Imprimir_Informe()
{
    if (!Informe)
        return;
    Habilitar_Impresion(false);
    if (Permitir_Guardar)
        Habilitar_Guardado(false);
    Imprimiendo = true;
    std::exception_ptr fallo;
    try {
        Imprimir_En(*Informe, Impresora(), this);
    } catch (...) {
        fallo = std::current_exception();
    }
    Imprimiendo = false;
    if (fallo)
        Excepcion.Tratar_Error(fallo, QStringLiteral("No se ha podido imprimir el informe."));
    Habilitar_Impresion(true);
    if (Permitir_Guardar)
        Habilitar_Guardado(true);
}

// ---- Saving and loading ----------------------------------------------------------------------

void TFormQRepPreview::BtnSaveClick()
{
    Dar_Foco(BtnCerrar);
    if (!BtnSave->isEnabled() || !m_almacen)
        return;
    QFileDialog dialogo(this, QStringLiteral("Guardar el informe"), Ubicaciones().Carpeta_Documentos);
    dialogo.setObjectName(QStringLiteral("DlgGuardar"));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    const QStringList filtros = Filtros_Dialogo(Save_Filter_Text());
    dialogo.setNameFilters(filtros);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return;
    const int opcion = filtros.indexOf(dialogo.selectedNameFilter()) + 1;
    if (opcion < 1 || opcion > 4)
        return;
    const QString elegido = dialogo.selectedFiles().constFirst();
    const QString nombre = Cambiar_Extension(elegido, QString::fromLatin1(kExtensiones[opcion - 1]));
    // The dialog asked about the name typed; a name the extension changed is asked about here.
    if (QFileInfo(nombre).absoluteFilePath() != QFileInfo(elegido).absoluteFilePath() && QFileInfo::exists(nombre)
        && !Pregunta(QStringLiteral("Guardar el informe"),
                     QStringLiteral("El fichero \"%1\" ya existe.\r¿Desea reemplazarlo?").arg(nombre), true,
                     avAtencion, baSiNo))
        return;
    std::exception_ptr fallo;
    try {
        if (opcion == 1) {
            m_almacen->Save(nombre);
        } else if (m_cargado || !Informe) {
            Aviso(QStringLiteral("Guardar el informe"),
                  QStringLiteral("Un informe cargado desde un fichero sólo puede guardarse como informe (*.qrp)."),
                  avInformacion);
        } else {
            const QList<TExportFilter *> registrados = Registered_Filters();
            if (opcion - 2 < registrados.size()) {
                QGuiApplication::setOverrideCursor(Qt::WaitCursor);
                struct Restaurar
                {
                    ~Restaurar() { QGuiApplication::restoreOverrideCursor(); }
                } restaurar;
                Export_Report(*Informe, *registrados.at(opcion - 2), nombre);
            }
        }
    } catch (...) {
        fallo = std::current_exception();
    }
    if (fallo)
        Excepcion.Tratar_Error(fallo, QString());
}

void TFormQRepPreview::BtnLoadClick()
{
    Dar_Foco(BtnCerrar);
    if (!BtnLoad->isEnabled() || !m_almacen)
        return;
    QFileDialog dialogo(this, QStringLiteral("Cargar un informe"), Ubicaciones().Carpeta_Documentos);
    dialogo.setObjectName(QStringLiteral("DlgCargar"));
    dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setNameFilters(Filtros_Dialogo(QStringLiteral("Report Files (*.qrp)|*.qrp")));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return;
    const QString nombre = dialogo.selectedFiles().constFirst();
    if (!QFileInfo::exists(nombre)) {
        Aviso(QString(), QStringLiteral("No se puede cargar el fichero seleccionado: \"%1\"").arg(nombre), avError);
        return;
    }
    std::exception_ptr fallo;
    try {
        m_almacen->Load(nombre);
    } catch (...) {
        fallo = std::current_exception();
    }
    if (fallo) {
        Excepcion.Tratar_Error(fallo, QString());
        return;
    }
    m_cargado = true;
    QRPreview->Set_Page_Number(1);
    QRPreview->Refresh();
    // A title taken from a file follows the file shown.
    if (m_almacen->Title().isEmpty() || m_tituloDeFichero) {
        m_almacen->Set_Title(nombre);
        m_tituloDeFichero = true;
    }
    const int paginas = m_almacen->Page_Count();
    setWindowTitle(m_almacen->Title() + QStringLiteral(" - ") + QString::number(paginas)
                   + (paginas == 1 ? QStringLiteral(" página") : QStringLiteral(" páginas")));
    Iniciar_Vista = true;
    Inicializar_Vista();
    Actualizar_Num_Pagina();
}

// ---- Closing ------------------------------------------------------------------------------------

void TFormQRepPreview::BtnCerrarClick()
{
    close();
}

void TFormQRepPreview::reject()
{
    // Esc presses the close button, when it can be pressed.
    if (BtnCerrar->isEnabled())
        BtnCerrar->click();
}

bool TFormQRepPreview::FormCloseQuery() const
{
    return BtnCerrar->isEnabled() && !Imprimiendo
        && (!m_almacen || m_almacen->Status() == TPageStore::Busy || m_almacen->Status() == TPageStore::Finished);
}

void TFormQRepPreview::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TFormQRepPreview::FormClose()
{
    m_cerrando = true;
    qApp->removeEventFilter(this);
    std::shared_ptr<TPageStore> almacen = std::move(m_almacen);
    QRPreview->Detach();
    if (almacen) {
        almacen->Cancel();
        almacen->Close_Preview();
    }
    if (m_cursorArrastre) {
        QGuiApplication::restoreOverrideCursor();
        m_cursorArrastre = false;
    }
    // Whatever cursor the screen had when the window was shown is there again.
    if (Cursor_Actual() != Cursor_Previo && QGuiApplication::overrideCursor())
        QGuiApplication::changeOverrideCursor(QCursor(Cursor_Previo));
}

void TFormQRepPreview::Generacion_Fallida()
{
    if (m_almacen)
        Excepcion.Tratar_Error(m_almacen->Failure(), QStringLiteral("No se ha podido terminar el informe."));
}
