// The list-window half of the record pattern.
#include "ListaBase.h"

#include "Avisos.h"
#include "DBControles.h"
#include "DataModulo.h"
#include "Table.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QHash>
#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

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
        fVentana->close();
        return true;
    }

private:
    QWidget *fVentana;
};

QToolButton *Boton(QWidget *padre, const char *nombre, const QString &texto, QStyle::StandardPixmap icono)
{
    auto *b = new QToolButton(padre);
    b->setObjectName(QString::fromLatin1(nombre));
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
    auto *barra = new QHBoxLayout(PnlHerramientas);
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

    connect(BtnAnadir, &QToolButton::clicked, this, &TFormListaBase::BtnAnadirClick);
    connect(BtnEditar, &QToolButton::clicked, this, &TFormListaBase::BtnEditarClick);
    connect(BtnEliminar, &QToolButton::clicked, this, &TFormListaBase::BtnEliminarClick);
    connect(BtnCerrar, &QToolButton::clicked, this, &TFormListaBase::BtnCerrarClick);
    Cerrar_Con_Escape(this);
}

TFormListaBase::~TFormListaBase() = default;

void TFormListaBase::Fijar_Navegador(TDataSource *Fuente)
{
    DBNavigator->setDataSource(Fuente);
}

void TFormListaBase::showEvent(QShowEvent *event)
{
    tFormBase::showEvent(event);
    if (!fMostrada) {
        fMostrada = true;
        FormShow();
    }
}

void TFormListaBase::FormShow()
{
    const TRegistro &r = Registro(fTipo);
    if (r.Pantalla != Pantalla_Sin_Cambio && ModuloDatos)
        ModuloDatos->Pantalla_Activa = quint8(r.Pantalla);
    Al_Mostrar();
    if (r.Forma_Titulo != TFormaTitulo::Fijo)
        Actualizar_Titulo();
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
    const TTable *t = Tabla_Lista();
    const int n = t && t->active() ? t->recordCount() : 0;
    setWindowTitle(Titulo_Lista(fTipo, n, Cabecera));
}

void TFormListaBase::BtnAnadirClick()
{
    Abrir_Editor(Modo_Anadir);
}

void TFormListaBase::BtnEditarClick()
{
    Abrir_Editor(Modo_Editar);
}

void TFormListaBase::BtnEliminarClick()
{
    Abrir_Editor(Modo_Eliminar);
}

void TFormListaBase::BtnCerrarClick()
{
    close();
}

void TFormListaBase::Abrir_Editor(quint8 Modo)
{
    if (Modo == Modo_Anadir) {
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
