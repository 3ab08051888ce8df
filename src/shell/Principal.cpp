// Main window.
#include "Principal.h"

#include "AcercaDe.h"
#include "Avisos.h"
#include "Ayuda.h"
#include "CopiaSeg.h"
#include "DataModulo.h"
#include "Excepciones.h"
#include "FormBase.h"
#include "Imagenes.h"
#include "Informes.h"
#include "ListaVehiIntervalo.h"
#include "ListaVehiculos.h"
#include "Pantallas.h"
#include "PantallasMantto.h"
#include "QRepPreview.h"
#include "Table.h"
#include "Ubicaciones.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const int Alto_Botonera = 206;
const QColor Color_Botonera(228, 222, 201);
const QSize Tam_Boton(129, 93);

struct TBoton
{
    QToolButton *TFormPrincipal::*Miembro;
    const char *Nombre;
    int Fila, Columna;
    const char *Caption; // "\n" stands for the line break of the design
    const char *Imagen;
};

// Captions as the window gives them when it is shown; a leading line break puts a
// one-line caption on the second line, level with the two-line ones.
const TBoton Botones[] = {
    {&TFormPrincipal::SBMantto, "SBMantto", 1, 1, "&Mantenimiento", "mantenimiento"},
    {&TFormPrincipal::SBAverias, "SBAverias", 1, 2, "\n&Averías", "averias"},
    {&TFormPrincipal::SBRuedas, "SBRuedas", 1, 3, "\n&Neumáticos", "neumaticos"},
    {&TFormPrincipal::SbVehiculos, "SbVehiculos", 1, 4, "\n&Vehículos", "vehiculos"},
    {&TFormPrincipal::SBFichaTecnica, "SBFichaTecnica", 1, 5, "\n&Ficha Técnica", "fichatecnica"},
    {&TFormPrincipal::SbIntervalos, "SbIntervalos", 2, 1, "&Intervalos de\nMantenimiento", "intervalos"},
    {&TFormPrincipal::SBListados, "SBListados", 2, 2, "\n&Listados", "listados"},
    {&TFormPrincipal::SBCopiaSeg, "SBCopiaSeg", 2, 3, "&Copia de\nSeguridad", "copiaseg"},
    {&TFormPrincipal::SBSalir, "SBSalir", 2, 5, "\n&Salir", "salir"},
};
const int Columnas_x[] = {60, 196, 332, 467, 604};
const int Filas_y[] = {4, 104};

QFont Arial(int Pixeles)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(Pixeles);
    return f;
}

} // namespace

TFormPrincipal::TFormPrincipal(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FormPrincipal"));
    setFont(Arial(13));
    resize(800, 600);
    Crear_Botonera();
    Crear_Menus();
    if (const QScreen *Pantalla = QGuiApplication::primaryScreen())
        move(Pantalla->availableGeometry().center() - rect().center());
    Fijar_Ventana_Principal(this);

#ifndef QT_NO_SESSIONMANAGER
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &Sesion) {
        if (Sesion.allowsInteraction()) {
            const bool Terminar = Cierre_De_Sesion();
            Sesion.release();
            if (!Terminar)
                Sesion.cancel();
        }
    });
#endif
    // A failure in the creation handler ends it there; the window is still made.
    try {
        FormCreate();
    } catch (...) {
        Manejar_Excepcion_Central(std::current_exception());
    }
}

TFormPrincipal::~TFormPrincipal()
{
    if (Ventana_Principal() == this)
        Fijar_Ventana_Principal(nullptr);
}

void TFormPrincipal::Crear_Botonera()
{
    auto *Centro = new QWidget(this);
    setCentralWidget(Centro);

    PnlBotones = new QFrame(Centro);
    PnlBotones->setObjectName(QStringLiteral("PnlBotones"));
    PnlBotones->setAutoFillBackground(true);
    QPalette Paleta = PnlBotones->palette();
    Paleta.setColor(QPalette::Window, Color_Botonera);
    PnlBotones->setPalette(Paleta);

    for (const TBoton &b : Botones) {
        auto *Boton = new QToolButton(PnlBotones);
        Boton->setObjectName(QString::fromLatin1(b.Nombre));
        Boton->setAutoRaise(true);
        Boton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        Boton->setIcon(Icono_Shell(QString::fromLatin1(b.Imagen)));
        Boton->setIconSize(QSize(48, 48));
        Boton->setFont(Arial(15));
        Boton->setFocusPolicy(Qt::TabFocus);
        Boton->setGeometry(QRect(QPoint(Columnas_x[b.Columna - 1], Filas_y[b.Fila - 1]), Tam_Boton));
        Boton->setText(QString::fromUtf8(b.Caption));
        this->*b.Miembro = Boton;
    }

    ImgFondo = new tImagenPrograma(Centro);
    ImgFondo->setObjectName(QStringLiteral("ImgFondo"));
    ImgFondo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ImgFondo->setLineWidth(2);

    // The bar keeps its height; the picture takes the rest.
    PnlBotones->setFixedHeight(Alto_Botonera);
    auto *Columna = new QVBoxLayout(Centro);
    Columna->setContentsMargins(0, 0, 0, 0);
    Columna->setSpacing(0);
    Columna->addWidget(PnlBotones);
    Columna->addWidget(ImgFondo, 1);

    connect(SBMantto, &QToolButton::clicked, this, &TFormPrincipal::SBManttoClick);
    connect(SBAverias, &QToolButton::clicked, this, &TFormPrincipal::SBAveriasClick);
    connect(SBRuedas, &QToolButton::clicked, this, &TFormPrincipal::SBRuedasClick);
    connect(SbVehiculos, &QToolButton::clicked, this, &TFormPrincipal::SbVehiculosClick);
    connect(SBFichaTecnica, &QToolButton::clicked, this, &TFormPrincipal::SBFichaTecnicaClick);
    connect(SbIntervalos, &QToolButton::clicked, this, &TFormPrincipal::SbIntervalosClick);
    connect(SBListados, &QToolButton::clicked, this, &TFormPrincipal::SBListadosClick);
    connect(SBCopiaSeg, &QToolButton::clicked, this, &TFormPrincipal::SBCopiaSegClick);
    connect(SBSalir, &QToolButton::clicked, this, &TFormPrincipal::SBSalirClick);
}

void TFormPrincipal::Crear_Menus()
{
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    auto Entrada = [this](QMenu *Menu, const char *Nombre, const QString &Texto, const char *Imagen,
                          void (TFormPrincipal::*Orden)()) {
        QAction *Accion = Menu->addAction(Texto);
        Accion->setObjectName(QString::fromLatin1(Nombre));
        if (Imagen)
            Accion->setIcon(Icono_Shell(QString::fromLatin1(Imagen)));
        connect(Accion, &QAction::triggered, this, Orden);
        return Accion;
    };
    auto Titulo = [this](const char *Nombre, const QString &Texto) {
        QMenu *Menu = MainMenu1->addMenu(Texto);
        Menu->setObjectName(QString::fromLatin1(Nombre));
        return Menu;
    };

    MenuMantenimiento = Titulo("MenuMantenimiento", QStringLiteral("Mantenimiento"));
    Tareasdemantenimiento1 = Entrada(MenuMantenimiento, "Tareasdemantenimiento1", QStringLiteral("Tareas de mantenimiento"),
                                     "mantenimiento", &TFormPrincipal::SBManttoClick);
    Intervalosdemantenimiento1 = Entrada(MenuMantenimiento, "Intervalosdemantenimiento1",
                                         QStringLiteral("Intervalos de mantenimiento"), "intervalos",
                                         &TFormPrincipal::SbIntervalosClick);
    Averas1 = Entrada(MenuMantenimiento, "Averas1", QStringLiteral("Averías"), "averias", &TFormPrincipal::SBAveriasClick);
    Neumticos2 = Entrada(MenuMantenimiento, "Neumticos2", QStringLiteral("Neumáticos"), "neumaticos",
                         &TFormPrincipal::SBRuedasClick);
    MenuMantenimiento->addSeparator();
    Vencimientosdelaflota1 = Entrada(MenuMantenimiento, "Vencimientosdelaflota1",
                                     QStringLiteral("&Vencimientos de la flota"), "mantenimiento",
                                     &TFormPrincipal::Vencimientosdelaflota1Click);

    MenuVehiculos = Titulo("MenuVehiculos", QStringLiteral("Vehículos"));
    Nuevamatrcula1 = Entrada(MenuVehiculos, "Nuevamatrcula1", QStringLiteral("Nueva matrícula"), "vehiculos",
                             &TFormPrincipal::SbVehiculosClick);
    Marcas1 = Entrada(MenuVehiculos, "Marcas1", QStringLiteral("Marcas"), "marcas", &TFormPrincipal::Marcas1Click);
    Modelos1 = Entrada(MenuVehiculos, "Modelos1", QStringLiteral("Modelos"), "modelos", &TFormPrincipal::Modelos1Click);
    Fichatcnica2 = Entrada(MenuVehiculos, "Fichatcnica2", QStringLiteral("Ficha técnica"), "fichatecnica",
                           &TFormPrincipal::SBFichaTecnicaClick);

    MenuListados = Titulo("MenuListados", QStringLiteral("Listados"));
    Mantenimiento2 = Entrada(MenuListados, "Mantenimiento2", QStringLiteral("Mantenimiento"), "mantenimiento",
                             &TFormPrincipal::Mantenimiento1Click);
    Averias2 = Entrada(MenuListados, "Averias2", QStringLiteral("Averias"), "averias", &TFormPrincipal::Averias1Click);
    Neumticos1 = Entrada(MenuListados, "Neumticos1", QStringLiteral("Neumáticos"), "neumaticos", &TFormPrincipal::Ruedas1Click);
    Vehculos2 = Entrada(MenuListados, "Vehculos2", QStringLiteral("Vehículos"), "vehiculos", &TFormPrincipal::Vehculos1Click);
    FichaTcnica1 = Entrada(MenuListados, "FichaTcnica1", QStringLiteral("Ficha Técnica"), "fichatecnica",
                           &TFormPrincipal::FichaTecnica1Click);

    MenuHerramientas = Titulo("MenuHerramientas", QStringLiteral("Herramientas"));
    Copiadeseguridad1 = Entrada(MenuHerramientas, "Copiadeseguridad1", QStringLiteral("Copia de seguridad"), "copiaseg",
                                &TFormPrincipal::SBCopiaSegClick);

    // The last three titles act at once: they are entries of the bar itself.
    auto Inmediato = [this](const char *Nombre, const QString &Texto, auto Orden) {
        QAction *Accion = MainMenu1->addAction(Texto);
        Accion->setObjectName(QString::fromLatin1(Nombre));
        connect(Accion, &QAction::triggered, this, Orden);
        return Accion;
    };
    Ayuda1 = Inmediato("Ayuda1", QStringLiteral("Ayuda"), &TFormPrincipal::Ayuda1Click);
    Acercade1 = Inmediato("Acercade1", QStringLiteral("Acerca de....."), &TFormPrincipal::Acercade1Click);
    Salir1 = Inmediato("Salir1", QStringLiteral("Salir"), &TFormPrincipal::SBSalirClick);

    PMListados = new QMenu(this);
    PMListados->setObjectName(QStringLiteral("PMListados"));
    Mantenimiento1 = Entrada(PMListados, "Mantenimiento1", QStringLiteral("&Mantenimiento"), "mantenimiento",
                             &TFormPrincipal::Mantenimiento1Click);
    Averias1 = Entrada(PMListados, "Averias1", QStringLiteral("&Averias"), "averias", &TFormPrincipal::Averias1Click);
    Ruedas1 = Entrada(PMListados, "Ruedas1", QStringLiteral("&Neumáticos"), "neumaticos", &TFormPrincipal::Ruedas1Click);
    Vehculos1 = Entrada(PMListados, "Vehculos1", QStringLiteral("&Vehículos"), "vehiculos", &TFormPrincipal::Vehculos1Click);
    FichaTecnica1 = Entrada(PMListados, "FichaTecnica1", QStringLiteral("&Ficha Técnica"), "fichatecnica",
                            &TFormPrincipal::FichaTecnica1Click);
}

void TFormPrincipal::FormCreate()
{
    Fijar_Fichero_Ayuda(Ubicaciones().Fichero_Ayuda);
    Fijar_Contexto_Ayuda(this, 110);
}

void TFormPrincipal::showEvent(QShowEvent *Evento)
{
    QMainWindow::showEvent(Evento);
    if (!Evento->spontaneous())
        FormShow();
}

void TFormPrincipal::FormShow()
{
    setWindowTitle(QStringLiteral("Quelvaro"));
    for (const TBoton &b : Botones)
        (this->*b.Miembro)->setText(QString::fromUtf8(b.Caption));
}

QPoint TFormPrincipal::Posicion_PMListados() const
{
    return SBListados->mapToGlobal(QPoint(0, SBListados->height()));
}

void TFormPrincipal::SBListadosClick()
{
    PMListados->popup(Posicion_PMListados());
}

// Windows are owned by the application (no parent), shown modally and destroyed on closing.
void TFormPrincipal::SBManttoClick()
{
    Abrir_Mantenimiento();
}

// The fleet overview stays open beside the main window; it closes with it.
void TFormPrincipal::Vencimientosdelaflota1Click()
{
    Abrir_Vencimientos(this);
}

void TFormPrincipal::SbVehiculosClick()
{
    Abrir_Matriculas();
}

void TFormPrincipal::SbIntervalosClick()
{
    Abrir_Intervalos();
}

void TFormPrincipal::Marcas1Click()
{
    Abrir_Marcas();
}

void TFormPrincipal::Modelos1Click()
{
    Abrir_Modelos();
}

void TFormPrincipal::SBAveriasClick()
{
    Abrir_Averias();
}

void TFormPrincipal::SBRuedasClick()
{
    Abrir_Ruedas();
}

void TFormPrincipal::SBFichaTecnicaClick()
{
    Abrir_FichaTec();
}

// Both the button and the "Copia de seguridad" menu entry come here.
void TFormPrincipal::SBCopiaSegClick()
{
    TFormCopiaSeg CopiaSeg(nullptr);
    CopiaSeg.exec();
}

void TFormPrincipal::Informes()
{
    Abrir_Informes();
}

void TFormPrincipal::Mantenimiento1Click()
{
    if (ModuloDatos)
        ModuloDatos->Tipo_Informe = Informe_Mantenimiento;
    Informes();
}

void TFormPrincipal::Averias1Click()
{
    if (ModuloDatos)
        ModuloDatos->Tipo_Informe = Informe_Averias;
    Informes();
}

void TFormPrincipal::Ruedas1Click()
{
    if (ModuloDatos)
        ModuloDatos->Tipo_Informe = Informe_Ruedas;
    Informes();
}

void TFormPrincipal::FichaTecnica1Click()
{
    if (ModuloDatos)
        ModuloDatos->Tipo_Informe = Informe_FichaTec;
    Informes();
}

void TFormPrincipal::Vehculos1Click()
{
    // No vehicle (or the vehicle table could not be opened): nothing to list, nothing asked.
    if (!Hay_Vehiculos_Que_Listar())
        return;
    const bool Con_Intervalos = Pregunta(QStringLiteral("Atención"), QStringLiteral("¿Desea listar intervalos de mantenimiento?"),
                                         true, avConfirmacion, baSiNo);
    try {
        // The list's form lives for the preview only; freeing it closes what it opened.
        if (Con_Intervalos) {
            const std::unique_ptr<TFormListaVehi_I> Lista = Crear_Lista_Vehi_Intervalos();
            Previsualizar_Informe(Lista->QrVehiculosI, true, true);
        } else {
            const std::unique_ptr<TFormListaVehiculos> Lista = Crear_Lista_Vehiculos();
            Previsualizar_Informe(Lista->QrListaVehiculos, true, true);
        }
    } catch (...) {
        Manejar_Excepcion_Central(std::current_exception());
    }
}

void TFormPrincipal::Ayuda1Click()
{
    Mostrar_Ayuda(0);
}

void TFormPrincipal::Acercade1Click()
{
    TFormAcercaDe AcercaDe(nullptr);
    AcercaDe.exec();
}

void TFormPrincipal::SBSalirClick()
{
    close();
}

bool TFormPrincipal::FormCloseQuery()
{
    return Pregunta(QStringLiteral("Finalizar"), QStringLiteral("¿Desea cerrar la aplicación?"), true, avConfirmacion,
                    baSiNo);
}

void TFormPrincipal::closeEvent(QCloseEvent *Evento)
{
    if (fCierreConfirmado || FormCloseQuery()) {
        fCierreConfirmado = true;
        Evento->accept();
        emit Cerrada();
    } else {
        Evento->ignore();
    }
}

bool TFormPrincipal::Cierre_De_Sesion()
{
    if (!FormCloseQuery())
        return false;
    fCierreConfirmado = true;
    QTimer::singleShot(0, this, &QWidget::close);
    return true;
}

void TFormPrincipal::Traer_Al_Frente()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    // A window open over the main window stays on top of it.
    if (QWidget *Modal = QApplication::activeModalWidget()) {
        Modal->raise();
        Modal->activateWindow();
    }
}
