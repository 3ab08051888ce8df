// The list-window half of the record pattern.
#include "ListaBase.h"

#include "Avisos.h"
#include "DBControles.h"
#include "DBGrid.h"
#include "Protegido.h"
#include "Table.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

QString Texto_Doble_Click()
{
    return QStringLiteral("Doble Click para editar");
}

quint8 &Modo_Del_Par(TTipoRegistro Tipo)
{
    switch (Registro(Tipo).Modo) {
    case TModoPar::Marca: return ModuloDatos->Modo_Edicion_Marca;
    case TModoPar::Modelo: return ModuloDatos->Modo_Edicion_Modelo;
    case TModoPar::General: break;
    }
    return ModuloDatos->Modo_Edicion;
}

namespace {

// Watches every key of the application on behalf of one window.
class TVigilanteEscape : public QObject
{
public:
    explicit TVigilanteEscape(QWidget *ventana) : QObject(ventana), fVentana(ventana)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto *k = static_cast<QKeyEvent *>(event);
        if (k->key() != Qt::Key_Escape || k->modifiers() & ~Qt::KeypadModifier)
            return false;
        auto *w = static_cast<QWidget *>(watched);
        if (w->window() != fVentana || !fVentana->isVisible() || !fVentana->isActiveWindow())
            return false;
        Proteger([this] { fVentana->close(); }); // closing an editor drops its pending record
        return true;
    }

private:
    QWidget *fVentana;
};

QToolButton *Boton(QWidget *padre, const QString &nombre, const QString &texto, QStyle::StandardPixmap icono)
{
    auto *b = new QToolButton(padre);
    b->setObjectName(nombre);
    b->setText(texto);
    b->setIcon(Icono_Estandar(icono));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

} // namespace

QIcon Icono_Estandar(QStyle::StandardPixmap Icono)
{
    static QHash<int, QIcon> *Iconos = nullptr;
    if (!Iconos) {
        Iconos = new QHash<int, QIcon>;
        // Icons must not outlive the application that made them.
        QObject::connect(qApp, &QObject::destroyed, [] {
            delete Iconos;
            Iconos = nullptr;
        });
    }
    auto i = Iconos->constFind(int(Icono));
    if (i == Iconos->constEnd())
        i = Iconos->insert(int(Icono), QApplication::style()->standardIcon(Icono));
    return *i;
}

void Cerrar_Con_Escape(QWidget *Ventana)
{
    new TVigilanteEscape(Ventana);
}

TFormListaBase::TFormListaBase(TTipoRegistro Tipo, QWidget *parent) : tFormBase(parent), fTipo(Tipo)
{
    const TRegistro &r = Registro(Tipo);
    setObjectName(QString::fromLatin1(r.Lista));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (r.Ayuda_Lista)
        setProperty(Propiedad_Ayuda, r.Ayuda_Lista);
    if (r.Forma_Titulo == TFormaTitulo::Fijo)
        setWindowTitle(QString::fromUtf8(r.Titulo));

    auto *todo = new QVBoxLayout(this);
    todo->setContentsMargins(0, 0, 0, 0);
    todo->setSpacing(0);

    PnlHerramientas = new QFrame(this);
    PnlHerramientas->setObjectName(QStringLiteral("PnlHerramientas"));
    PnlHerramientas->setFrameShape(QFrame::StyledPanel);
    PnlHerramientas->setFrameShadow(QFrame::Raised);
    auto *barra = fBarra = new QHBoxLayout(PnlHerramientas);
    barra->setContentsMargins(4, 2, 4, 2);
    barra->setSpacing(2);
    DBNavigator = new TDBNavigator(PnlHerramientas);
    DBNavigator->setObjectName(QStringLiteral("DBNavigator"));
    barra->addWidget(DBNavigator);
    auto *sep = new QFrame(PnlHerramientas);
    sep->setFrameShape(QFrame::VLine);
    sep->setFrameShadow(QFrame::Sunken);
    barra->addSpacing(4);
    barra->addWidget(sep);
    barra->addSpacing(4);
    BtnAnadir = Boton(PnlHerramientas, "BtnAnadir", QStringLiteral("&Añadir"), QStyle::SP_FileDialogNewFolder);
    BtnEditar = Boton(PnlHerramientas, "BtnEditar", QStringLiteral("&Editar"), QStyle::SP_FileDialogDetailedView);
    BtnEliminar = Boton(PnlHerramientas, "BtnEliminar", QStringLiteral("Eli&minar"), QStyle::SP_TrashIcon);
    BtnCerrar = Boton(PnlHerramientas, "BtnCerrar", QStringLiteral("&Cerrar"), QStyle::SP_DialogCloseButton);
    barra->addWidget(BtnAnadir);
    barra->addWidget(BtnEditar);
    barra->addWidget(BtnEliminar);
    barra->addStretch(1);
    barra->addWidget(BtnCerrar);
    todo->addWidget(PnlHerramientas);

    fCuerpo = new QVBoxLayout;
    fCuerpo->setContentsMargins(4, 4, 4, 4);
    fCuerpo->setSpacing(4);
    todo->addLayout(fCuerpo, 1);

    if (ModuloDatos) {
        fTabla = ModuloDatos->Tabla(QString::fromLatin1(r.Tabla));
        DBNavigator->setDataSource(ModuloDatos->Fuente(ModuloDatos->Tabla(QString::fromLatin1(r.Navegador))));
    }

    connect(BtnAnadir, &QToolButton::clicked, this, &TFormListaBase::BtnAnadirClick);
    connect(BtnEditar, &QToolButton::clicked, this, &TFormListaBase::BtnEditarClick);
    connect(BtnEliminar, &QToolButton::clicked, this, &TFormListaBase::BtnEliminarClick);
    connect(BtnCerrar, &QToolButton::clicked, this, &TFormListaBase::BtnCerrarClick);
    Cerrar_Con_Escape(this);
}

TFormListaBase::~TFormListaBase()
{
    if (ModuloDatos)
        ModuloDatos->Quitar_Ventana(this);
}

TDataSource *TFormListaBase::Fuente_Lista() const
{
    return ModuloDatos ? ModuloDatos->Fuente(fTabla) : nullptr;
}

QToolButton *TFormListaBase::Anadir_Boton_Barra(const QString &Nombre, const QString &Texto, QStyle::StandardPixmap Icono)
{
    QToolButton *b = Boton(PnlHerramientas, Nombre, Texto, Icono);
    fBarra->insertWidget(fBarra->indexOf(BtnCerrar) - 1, b); // before the stretch that keeps Cerrar apart
    return b;
}

QHBoxLayout *TFormListaBase::Anadir_Fila_Cuerpo(int Espacio)
{
    auto *fila = new QHBoxLayout;
    fila->setSpacing(Espacio);
    fCuerpo->addLayout(fila, 1);
    return fila;
}

TDBGrid *TFormListaBase::Crear_Rejilla(const QString &Nombre, TDataSource *Fuente, const QList<TDBGridColumn> &Columnas,
                                       const QString &Ayuda)
{
    auto *g = new TDBGrid(this);
    g->setObjectName(Nombre);
    g->setColumns(Columnas);
    g->setDataSource(Fuente);
    if (!Ayuda.isEmpty())
        g->setToolTip(Ayuda);
    connect(g, &TDBGrid::dblClick, this, &TFormListaBase::BtnEditarClick);
    return g;
}

TDBGrid *TFormListaBase::Crear_Rejilla_Catalogo(const QList<TDBGridColumn> &Columnas)
{
    TDBGrid *g = Crear_Rejilla("DBGrid", Fuente_Lista(), Columnas,
                               QStringLiteral("Contenido de la base de datos (DOBLE CLICK para editar)"));
    g->horizontalHeader()->setStretchLastSection(true);
    fCuerpo->addWidget(g);
    return g;
}

TDBGrid *TFormListaBase::Crear_Rejilla_Lateral(QBoxLayout *Fila, const QString &Nombre, TDataSource *Fuente,
                                               const QString &Campo, int AnchoColumna, bool DobleClickEdita)
{
    TDBGrid *g = Crear_Rejilla(Nombre, Fuente, {{Campo, QString(), AnchoColumna, Qt::AlignCenter, Qt::AlignCenter}});
    if (!DobleClickEdita)
        disconnect(g, &TDBGrid::dblClick, this, &TFormListaBase::BtnEditarClick);
    g->setFixedWidth(AnchoColumna + 20);
    g->horizontalHeader()->setStretchLastSection(true);
    Fila->addWidget(g);
    return g;
}

TDBGrid *TFormListaBase::Crear_Rejilla_Vehiculos(QBoxLayout *Fila, bool DobleClickEdita)
{
    return Crear_Rejilla_Lateral(Fila, "DBGridMatriculas", ModuloDatos->DSMatriculas, QStringLiteral("MATRICULA"), 100,
                                 DobleClickEdita);
}

void TFormListaBase::Detalle_Del_Registro(QWidget *Control, QWidget *Rejilla)
{
    fDetalle.insert(Control, Rejilla);
    Control->installEventFilter(this);
}

bool TFormListaBase::eventFilter(QObject *watched, QEvent *event)
{
    const auto d = fDetalle.constFind(watched);
    if (d != fDetalle.constEnd()) {
        switch (event->type()) {
        case QEvent::MouseButtonDblClick:
            BtnEditarClick(); // reports its own failures
            return true;
        case QEvent::FocusIn:
            if (QWidget *Rejilla = d.value())
                QMetaObject::invokeMethod(
                    this, [this, g = QPointer<QWidget>(Rejilla)] { Controlar_Foco(g); }, Qt::QueuedConnection);
            break;
        default: break;
        }
    }
    return tFormBase::eventFilter(watched, event);
}

void TFormListaBase::Controlar_Foco(QWidget *Rejilla)
{
    if (Rejilla && isVisible())
        Rejilla->setFocus(Qt::OtherFocusReason);
}

void TFormListaBase::showEvent(QShowEvent *event)
{
    tFormBase::showEvent(event);
    if (!fMostrada) {
        fMostrada = true;
        // Showing reads the tables; a failure is told once, and the window stays.
        Proteger([this] { FormShow(); });
    }
}

void TFormListaBase::FormShow()
{
    const TRegistro &r = Registro(fTipo);
    // Registered once whole: the module may call it at the next move.
    if (Sigue_Al_Vehiculo(fTipo) && ModuloDatos)
        ModuloDatos->Registrar_Ventana(quint8(r.Pantalla), this);
    if (r.Pantalla != Pantalla_Sin_Cambio && ModuloDatos)
        ModuloDatos->Pantalla_Activa = quint8(r.Pantalla);
    Al_Mostrar();
    if (r.Forma_Titulo != TFormaTitulo::Fijo)
        Actualizar_Titulo();
    Despues_De_Mostrar();
}

void TFormListaBase::Actualizar_Titulo()
{
    const TRegistro &r = Registro(fTipo);
    if (r.Forma_Titulo == TFormaTitulo::Fijo)
        return;
    QString Cabecera;
    if (r.Forma_Titulo != TFormaTitulo::Cuenta && ModuloDatos) {
        ModuloDatos->Actualizar_Cabecera_Vehiculo();
        Cabecera = ModuloDatos->Cabecera_Vehiculo;
    }
    const TTable *t = fTabla;
    const int n = t && t->active() ? t->recordCount() : 0;
    setWindowTitle(Titulo_Lista(fTipo, n, Cabecera));
}

// Each command reads the tables before and after its editor: a failure stops
// it there and is told once, here, never through the button's signal.
void TFormListaBase::BtnAnadirClick()
{
    Proteger([this] { Abrir_Editor(Modo_Anadir); });
}

void TFormListaBase::BtnEditarClick()
{
    Proteger([this] { Abrir_Editor(Modo_Editar); });
}

void TFormListaBase::BtnEliminarClick()
{
    Proteger([this] { Abrir_Editor(Modo_Eliminar); });
}

bool Hay_Vehiculo_Actual()
{
    const TTable *t = ModuloDatos ? ModuloDatos->TableMatriculas : nullptr;
    return t && t->active() && !t->isEmpty();
}

void TFormListaBase::BtnCerrarClick()
{
    close();
}

void TFormListaBase::Abrir_Editor(quint8 Modo)
{
    if (Modo == Modo_Anadir) {
        // A record of a window that follows the vehicle needs one to belong to:
        // stored with an empty plate, no window would ever show it again.
        if (Sigue_Al_Vehiculo(fTipo) && !Hay_Vehiculo_Actual()) {
            Aviso(Titulo_Sin_Vehiculo(fTipo), Texto_Sin_Vehiculo(), avError);
            return;
        }
        if (!Permitir_Anadir())
            return;
    } else {
        const TTable *t = Tabla_Lista();
        if (!t || !t->active() || t->isEmpty()) {
            Aviso(Titulo_Tabla_Vacia(fTipo, Modo == Modo_Eliminar), Texto_Tabla_Vacia(fTipo), avError);
            Despues_Del_Editor();
            return;
        }
    }
    Modo_Del_Par(fTipo) = Modo;
    {
        std::unique_ptr<QDialog> Editor(Crear_Editor());
        if (Editor)
            Editor->exec();
    }
    Despues_Del_Editor();
}
