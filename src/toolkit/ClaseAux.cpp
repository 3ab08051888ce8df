// Highlighting of the focused input control and suspension of a number's
// display format while it is being typed.
#include "ClaseAux.h"

#include "DBEnlace.h"
#include "FormBase.h"
#include "Protegido.h"
#include "Table.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

namespace {
const char *const Marca_Entrada = "_quelvaroResaltar";
const char *const Marca_Salida = "_quelvaroRestaurar";

// Highlighting state: one copy for the whole application.
struct Estado
{
    QPointer<QWidget> resaltado; // the control painted in Color_Resalte
    QColor color;                // its colour before
    QPalette::ColorRole rol = QPalette::Base;
    TField *campo = nullptr;     // field whose display format is suspended
    QString formato;             // that format
    QPointer<QWidget> control_formato;
    QMetaObject::Connection al_destruir;
} g;

// Text fields: single-line (masked or not), multi-line, rich text, and the
// spin edits that are text fields with buttons. A date picker is not one.
bool esTextoPlano(const QWidget *w)
{
    if (qobject_cast<const QDateTimeEdit *>(w))
        return false;
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QTextEdit *>(w)
        || qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w);
}

bool esSoloLectura(const QWidget *w)
{
    return w->property("readOnly").toBool();
}

const IDBControl *enlace(const QWidget *w)
{
    return dynamic_cast<const IDBControl *>(w);
}

// A data-bound single-line field (the only kind whose number format is suspended).
bool esCampoTexto(const QWidget *w)
{
    return enlace(w) && qobject_cast<const QLineEdit *>(w);
}

bool esListaMarcas(const QWidget *w)
{
    auto lista = qobject_cast<const QListWidget *>(w);
    if (!lista)
        return false;
    for (int i = 0; i < lista->count(); ++i)
        if (lista->item(i)->flags() & Qt::ItemIsUserCheckable)
            return true;
    return false;
}

QPalette::ColorRole rolFondo(const QWidget *w)
{
    auto combo = qobject_cast<const QComboBox *>(w);
    return combo && !combo->isEditable() ? QPalette::Button : QPalette::Base;
}

void pintar(QWidget *w, QPalette::ColorRole rol, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(rol, c);
    w->setPalette(p);
}

bool suspendible(const TField *f)
{
    if (!f || f->displayFormat().isEmpty())
        return false;
    switch (f->dataType()) {
    case TFieldType::Integer:
    case TFieldType::AutoInc:
        return true;
    case TFieldType::Float:
        return !f->currency();
    default:
        return false;
    }
}

bool esNumerico(const TField *f)
{
    return f && (f->dataType() == TFieldType::Integer || f->dataType() == TFieldType::AutoInc
                 || f->dataType() == TFieldType::Float);
}
} // namespace

tClaseAux::tClaseAux() = default;
tClaseAux::~tClaseAux() = default;

tClaseAux &Clase_Aux()
{
    static tClaseAux instancia;
    return instancia;
}

bool Es_Control_Entrada(const QWidget *w)
{
    return esTextoPlano(w) || qobject_cast<const QComboBox *>(w) || qobject_cast<const QListView *>(w)
        || qobject_cast<const QDateTimeEdit *>(w) || enlace(w);
}

bool Control_Editable(const QWidget *Control)
{
    if (!Control)
        return false;
    if (auto db = enlace(Control)) {
        if (esSoloLectura(Control) || !Control->isEnabled())
            return false;
        TDataSource *ds = db->dbDataSource();
        TTable *t = ds ? ds->dataSet() : nullptr;
        return !t || t->state() != TDataSetState::Browse;
    }
    if (esTextoPlano(Control))
        return !esSoloLectura(Control) && Control->isEnabled();
    return Control->isEnabled();
}

void tClaseAux::reponerFormato()
{
    if (g.campo)
        g.campo->setDisplayFormat(g.formato);
    if (g.al_destruir)
        QObject::disconnect(g.al_destruir);
    g.campo = nullptr;
    g.formato.clear();
    g.control_formato = nullptr;
}

void tClaseAux::Resaltar_Control(QWidget *Control)
{
    if (!Control)
        return;
    if (esCampoTexto(Control)) {
        auto db = dynamic_cast<IDBControl *>(Control);
        TField *f = db->dbField();
        if (f && f == g.campo) {
            // Back from another window with the format still suspended.
        } else if (suspendible(f)) {
            if (g.campo && g.campo != f)
                reponerFormato(); // never leave another field without its format
            g.campo = f;
            g.formato = f->displayFormat();
            g.control_formato = Control;
            // The field outlives the dialog: give the format back if the control
            // goes away while it has the focus.
            g.al_destruir = QObject::connect(Control, &QObject::destroyed, this, [this] { reponerFormato(); });
            f->setDisplayFormat(QString());
            db->dbRefreshText();
        } else {
            reponerFormato();
        }
    }
    if (Control_Editable(Control) && g.resaltado != Control) {
        g.rol = rolFondo(Control);
        g.color = Control->palette().color(g.rol);
        g.resaltado = Control;
        pintar(Control, g.rol, Color_Resalte);
    }
}

void tClaseAux::Restaurar_Control(QWidget *Control)
{
    if (!Control)
        return;
    if (esCampoTexto(Control)) {
        auto db = dynamic_cast<IDBControl *>(Control);
        TField *f = db->dbField();
        if (esNumerico(f) && g.campo && g.control_formato == Control) {
            reponerFormato();
            db->dbRefreshText();
        }
    }
    if (Control_Editable(Control)) {
        // Only the control that was painted gets the colour back: another one
        // that became editable while focused keeps its own.
        if (g.resaltado == Control) {
            pintar(Control, g.rol, g.color);
            g.resaltado = nullptr;
        }
        const bool valida = Fecha_Valida;
        Fecha_Valida = true;
        if (!valida) {
            // After the focus change in progress has finished.
            QPointer<QWidget> c = Control;
            QMetaObject::invokeMethod(this, [c] { if (c) c->setFocus(Qt::OtherFocusReason); }, Qt::QueuedConnection);
        }
    } else if (g.resaltado == Control) {
        // Became read-only or disabled while painted: still give its colour back.
        pintar(Control, g.rol, g.color);
        g.resaltado = nullptr;
    }
    if (esListaMarcas(Control)) {
        auto lista = qobject_cast<QListWidget *>(Control);
        lista->clearSelection();
        lista->setCurrentItem(nullptr, QItemSelectionModel::Clear);
    }
}

void tClaseAux::Enganchar(QWidget *Control, bool entrada, bool salida)
{
    if (!Control || (!entrada && !salida))
        return;
    if (entrada)
        Control->setProperty(Marca_Entrada, true);
    if (salida)
        Control->setProperty(Marca_Salida, true);
    Control->installEventFilter(this);
}

bool tClaseAux::eventFilter(QObject *watched, QEvent *event)
{
    const bool entra = event->type() == QEvent::FocusIn;
    const bool sale = event->type() == QEvent::FocusOut;
    if (!entra && !sale)
        return QObject::eventFilter(watched, event);
    auto w = qobject_cast<QWidget *>(watched);
    const auto motivo = static_cast<QFocusEvent *>(event)->reason();
    // A popup or a window switch is not a move to another control.
    if (!w || motivo == Qt::PopupFocusReason || motivo == Qt::MenuBarFocusReason
        || (sale && motivo == Qt::ActiveWindowFocusReason))
        return QObject::eventFilter(watched, event);
    const bool nuestro = w->property(entra ? Marca_Entrada : Marca_Salida).toBool();
    if (!nuestro)
        return QObject::eventFilter(watched, event);
    // The control takes the event first, as it does before its enter and exit
    // handlers run: on leaving, what was typed is in the field before the
    // display format comes back. Showing the field again reads it, and a
    // failure is told here, never through the delivery of the focus change.
    Proteger([w, event, entra, this] {
        static_cast<QObject *>(w)->event(event);
        if (entra)
            Resaltar_Control(w);
        else
            Restaurar_Control(w);
    });
    return true;
}

void Preparar_Campos(QWidget *Contenedor)
{
    if (!Contenedor)
        return;
    const auto hijos = Contenedor->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *w : hijos) {
        if (w->isWindow())
            continue;
        if (Es_Control_Entrada(w)) {
            const bool lista = qobject_cast<QComboBox *>(w) || qobject_cast<QListView *>(w)
                || qobject_cast<QDateTimeEdit *>(w);
            const bool saltar = enlace(w) ? esSoloLectura(w) : (!lista && esSoloLectura(w));
            if (saltar)
                continue;
            Clase_Aux().Enganchar(w, !w->property(Propiedad_OnEnter).toBool(),
                                  !w->property(Propiedad_OnExit).toBool());
        } else if (!w->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).isEmpty()) {
            Preparar_Campos(w);
        }
    }
}
