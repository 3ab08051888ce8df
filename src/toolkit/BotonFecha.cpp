// The date button: placement beside its field, the calendar, today's date.
#include "BotonFecha.h"

#include "Avisos.h"
#include "Calendario.h"
#include "ClaseAux.h"
#include "DBEnlace.h"
#include "FechaEntrada.h"
#include "Formatos.h"
#include "Protegido.h"
#include "Table.h"

#include <QCoreApplication>
#include <QDate>
#include <QIcon>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <memory>

namespace {

constexpr int Lado_Minimo = 24;

// A small calendar page: red binding, white sheet, a grid of days.
QIcon glifoFecha()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(64, 64, 64));
    p.setBrush(Qt::white);
    p.drawRect(1, 2, 13, 12);
    p.fillRect(2, 3, 12, 3, QColor(192, 0, 0));
    p.setPen(QColor(0, 0, 128));
    for (int y = 8; y <= 12; y += 2)
        for (int x = 3; x <= 12; x += 3)
            p.drawPoint(x, y);
    p.setPen(QColor(64, 64, 64));
    p.drawLine(4, 1, 4, 3);
    p.drawLine(11, 1, 11, 3);
    return QIcon(pm); // the greyed image comes from QIcon's disabled mode
}

bool enDisposicion(const QLayout *disposicion, const QWidget *w)
{
    if (!disposicion)
        return false;
    for (int i = 0; i < disposicion->count(); ++i) {
        QLayoutItem *item = disposicion->itemAt(i);
        if (item->widget() == w || enDisposicion(item->layout(), w))
            return true;
    }
    return false;
}

bool editando(const TTable *t)
{
    return t && (t->state() == TDataSetState::Edit || t->state() == TDataSetState::Insert);
}

} // namespace

tBotonFecha::tBotonFecha(QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setIcon(glifoFecha());
    setToolTip(QStringLiteral("Seleccionar una fecha"));
    resize(Lado_Minimo, Lado_Minimo);
    // Putting the date in begins the record's edit, which can fail: reported
    // where it happens, never through the button's signal.
    connect(this, &QAbstractButton::clicked, this, Protegido([this] { Click(); }));
}

bool tBotonFecha::Fecha_Correcta(const QString &Texto) const
{
    if (m_vacia && Fecha_En_Blanco(Texto))
        return true;
    const QDate fecha = Convertir_Texto_Fecha(Texto);
    return fecha.isValid() && fecha.year() >= 1900 && fecha.year() <= 2099;
}

void tBotonFecha::Mostrar_Fecha_Incorrecta(const QString &Texto) const
{
    Aviso(QStringLiteral("Error"), QStringLiteral("La fecha \"") + Texto + QStringLiteral("\" no es correcta"),
          avAtencion);
}

bool tBotonFecha::Debe_Habilitarse() const
{
    if (!m_edit->isEnabled() || m_edit->isReadOnly())
        return false;
    if (auto *control = dynamic_cast<IDBControl *>(m_edit.data())) {
        const TField *campo = control->dbField();
        return campo && editando(campo->table());
    }
    return true;
}

void tBotonFecha::paintEvent(QPaintEvent *e)
{
    if (m_edit) {
        if (!m_colocado && parentWidget() && enDisposicion(parentWidget()->layout(), this)) {
            // A layout decides where the button goes; it still takes the field's height.
            m_colocado = true;
            const int alto = m_edit->height();
            setFixedSize(qMax(alto, Lado_Minimo), alto);
        } else if (!m_colocado && parentWidget()) {
            m_colocado = true;
            const QWidget *padreCampo = m_edit->parentWidget();
            const QPoint origen = padreCampo == parentWidget()
                ? m_edit->pos()
                : parentWidget()->mapFromGlobal(m_edit->mapToGlobal(QPoint(0, 0)));
            const int alto = m_edit->height();
            setGeometry(origen.x() + m_edit->width() + 2, origen.y(), qMax(alto, Lado_Minimo), alto);
        }
        setEnabled(Debe_Habilitarse());
    }
    QToolButton::paintEvent(e);
}

bool tBotonFecha::Enfocar_Campo() const
{
    if (!m_edit || !m_edit->isEnabled())
        return false;
    m_edit->setFocus(Qt::OtherFocusReason);
    // The field left behind may have rejected its date and queued the focus's
    // return to itself: let that happen now, so the check below sees it.
    QCoreApplication::sendPostedEvents(&Clase_Aux(), QEvent::MetaCall);
    return m_edit->hasFocus();
}

void tBotonFecha::Click()
{
    // When the field keeps no focus (another field sent it back to fix a date), wait.
    if (!Enfocar_Campo())
        return;

    std::unique_ptr<TFmCalendario> dlg(new TFmCalendario(this));
    if (!m_titulo.isEmpty())
        dlg->setWindowTitle(m_titulo);
    if (auto *aceptar = dlg->findChild<QPushButton *>(QStringLiteral("BtnAceptar")))
        aceptar->setEnabled(true);

    const QString texto = m_edit->displayText();
    const QDate fecha = Convertir_Texto_Fecha(texto);
    QDate inicio = QDate::currentDate();
    if (fecha.isValid()) {
        if (Fecha_Correcta(texto))
            inicio = fecha;
        else
            Mostrar_Fecha_Incorrecta(texto);
    } else if (!Fecha_En_Blanco(texto)) {
        Mostrar_Fecha_Incorrecta(texto);
    }
    dlg->setDate(inicio);
    dlg->setScaled(m_scaled);
    if (dlg->exec() == QDialog::Accepted && m_edit)
        Poner_Fecha(dlg->date());
}

void tBotonFecha::mouseReleaseEvent(QMouseEvent *e)
{
    QToolButton::mouseReleaseEvent(e);
    if (e->button() == Qt::RightButton)
        Proteger([this] { Fecha_De_Hoy(); });
}

void tBotonFecha::Fecha_De_Hoy()
{
    if (!Enfocar_Campo())
        return;
    if (!Fecha_En_Blanco(m_edit->displayText())
        && !Pregunta(QStringLiteral("Atención"), QStringLiteral("¿Desea obtener la fecha de hoy?"), true,
                     avConfirmacion, baSiNo))
        return;
    Poner_Fecha(QDate::currentDate());
}

void tBotonFecha::Poner_Fecha(const QDate &fecha)
{
    auto *control = dynamic_cast<IDBControl *>(m_edit.data());
    if (!control) {
        m_edit->setText(Formatos::Formatear_Fecha(fecha));
        return;
    }
    TField *campo = control->dbField();
    TTable *tabla = campo ? campo->table() : nullptr;
    if (!tabla)
        return;
    const TDataSource *ds = control->dbDataSource();
    const bool autoEdicion = ds && ds->autoEdit() && tabla->state() == TDataSetState::Browse;
    if (!editando(tabla) && !autoEdicion)
        return; // a record that is not being changed is left alone
    if (tabla->state() == TDataSetState::Browse)
        tabla->edit();
    campo->setAsDate(fecha);
    control->dbRefreshText();
}
