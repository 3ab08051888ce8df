// The calendar dialog opened by the date button.
#include "Calendario.h"

#include "Calendario2000.h"
#include "Formatos.h"
#include "RepButton.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

const QColor Marino(0, 0, 128);
const QColor Amarillo_Claro(255, 255, 225);
constexpr int Alto_Item = 18;
constexpr int Primer_Anio = 1900;
constexpr int Ultimo_Anio = 2099;

QFont arial(int pixeles, bool negrita)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixeles);
    f.setBold(negrita);
    return f;
}

QIcon flecha(bool izquierda)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    if (izquierda) {
        path.moveTo(11, 2);
        path.lineTo(4, 8);
        path.lineTo(11, 14);
    } else {
        path.moveTo(5, 2);
        path.lineTo(12, 8);
        path.lineTo(5, 14);
    }
    path.closeSubpath();
    p.setPen(QPen(QColor(0, 96, 128), 1));
    p.setBrush(Qt::cyan);
    p.drawPath(path);
    return QIcon(pm);
}

QIcon marcaVerde()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 128, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(2, 8), QPointF(6, 12), QPointF(14, 3)}));
    return QIcon(pm);
}

// A list that tells its owner about keys and about losing the focus, and that
// reports a keyboard move like a click, as the lists of the calendar expect.
class tListaCalendario : public QListWidget
{
    Q_OBJECT
public:
    using QListWidget::QListWidget;

signals:
    void KeyDown();
    void ClickPorTeclado();
    void Exit();

protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        emit KeyDown();
        const int antes = currentRow();
        QListWidget::keyPressEvent(e);
        if (currentRow() != antes)
            emit ClickPorTeclado();
    }
    void focusOutEvent(QFocusEvent *e) override
    {
        QListWidget::focusOutEvent(e);
        // Another window coming to the front is no choice made in the list.
        if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
            emit Exit();
    }
};

QToolButton *botonLista(QWidget *padre, const char *nombre, const QString &caption, const QString &hint, int x)
{
    auto *b = new QToolButton(padre);
    b->setObjectName(QLatin1String(nombre));
    b->setText(caption);
    b->setToolTip(hint);
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFont(arial(15, true));
    QPalette pal = b->palette();
    pal.setColor(QPalette::ButtonText, Marino);
    b->setPalette(pal);
    b->setGeometry(x, 22, 50, 26);
    return b;
}

tRepButton *flechaRepetida(QWidget *padre, const char *nombre, const QString &hint, bool izquierda, int x)
{
    auto *b = new tRepButton(padre);
    b->setObjectName(QLatin1String(nombre));
    b->setToolTip(hint);
    b->setIcon(flecha(izquierda));
    b->setFRepeticion(true);
    b->setRepeatPause(100);
    b->setGeometry(x, 51, 25, 25);
    return b;
}

tListaCalendario *lista(QWidget *padre, const char *nombre, const QStringList &items, const QString &hint, int x, int ancho)
{
    auto *l = new tListaCalendario(padre);
    l->setObjectName(QLatin1String(nombre));
    l->setToolTip(hint);
    l->setFont(arial(15, true));
    QPalette pal = l->palette();
    pal.setColor(QPalette::Base, Amarillo_Claro);
    pal.setColor(QPalette::Text, Marino);
    l->setPalette(pal);
    l->setUniformItemSizes(true);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const QString &t : items) {
        auto *item = new QListWidgetItem(t, l);
        item->setSizeHint(QSize(ancho - 4, Alto_Item));
    }
    l->setGeometry(x, 22, ancho, Alto_Item * 12 + Alto_Item / 2);
    l->hide();
    return l;
}

} // namespace

TFmCalendario::TFmCalendario(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FmCalendario"));
    setWindowTitle(QStringLiteral("Seleccionar una fecha"));
    setFixedSize(382, 330);
    setFont(arial(15, false));

    PnlFondo = new QFrame(this);
    PnlFondo->setObjectName(QStringLiteral("PnlFondo"));
    PnlFondo->setGeometry(0, 0, 382, 330);

    Bevel1 = new QFrame(PnlFondo);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(13, 13, 356, 262);

    BtnMes = botonLista(PnlFondo, "BtnMes", QStringLiteral("&Mes"), QStringLiteral("Cambiar el mes"), 31);
    BtnAnio = botonLista(PnlFondo, "BtnAnio", QStringLiteral("Añ&o"), QStringLiteral("Cambiar el año"), 300);

    BtnMesAnt = flechaRepetida(PnlFondo, "BtnMesAnt", QStringLiteral("Mes anterior"), true, 31);
    BtnMesSig = flechaRepetida(PnlFondo, "BtnMesSig", QStringLiteral("Mes siguiente"), false, 56);
    BtnAnoAnt = flechaRepetida(PnlFondo, "BtnAnoAnt", QStringLiteral("Año anterior"), true, 300);
    BtnAnoSig = flechaRepetida(PnlFondo, "BtnAnoSig", QStringLiteral("Año siguiente"), false, 325);

    PnlFecha = new QFrame(PnlFondo);
    PnlFecha->setObjectName(QStringLiteral("PnlFecha"));
    PnlFecha->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PnlFecha->setAutoFillBackground(true);
    QPalette palFecha = PnlFecha->palette();
    palFecha.setColor(QPalette::Window, Marino);
    palFecha.setColor(QPalette::WindowText, Qt::yellow);
    PnlFecha->setPalette(palFecha);
    PnlFecha->setGeometry(87, 50, 206, 27);
    LblFecha = new QLabel(PnlFecha);
    LblFecha->setObjectName(QStringLiteral("LblFecha"));
    LblFecha->setAlignment(Qt::AlignCenter);
    LblFecha->setFont(arial(15, true));
    LblFecha->setToolTip(QStringLiteral("Fecha seleccionada"));
    LblFecha->setGeometry(PnlFecha->contentsRect());

    Cal2000 = new tCalendario2000(PnlFondo);
    Cal2000->setObjectName(QStringLiteral("Cal2000"));
    Cal2000->setGeometry(31, 82, 318, 143);
    Cal2000->setFont(arial(15, true));
    QPalette palCal = Cal2000->palette();
    palCal.setColor(QPalette::Base, Qt::white);
    Cal2000->setPalette(palCal);
    Cal2000->setColorFontFiesta(Qt::red);
    Cal2000->setFMarcarDiaSelec(true);

    BtnFechaHoy = new QToolButton(PnlFondo);
    BtnFechaHoy->setObjectName(QStringLiteral("BtnFechaHoy"));
    BtnFechaHoy->setFont(arial(13, false));
    BtnFechaHoy->setToolTip(QStringLiteral("Seleccionar la fecha de hoy"));
    BtnFechaHoy->setFocusPolicy(Qt::NoFocus);
    BtnFechaHoy->setGeometry(99, 235, 187, 30);

    BtnAceptar = new QPushButton(marcaVerde(), QStringLiteral("&Aceptar"), PnlFondo);
    BtnAceptar->setObjectName(QStringLiteral("BtnAceptar"));
    BtnAceptar->setGeometry(67, 289, 100, 30);
    BtnAceptar->setDefault(true);

    BtnCancelar = new QPushButton(QStringLiteral("&Cancelar"), PnlFondo);
    BtnCancelar->setObjectName(QStringLiteral("BtnCancelar"));
    BtnCancelar->setGeometry(218, 289, 100, 30);
    BtnCancelar->setAutoDefault(false);

    static const QStringList meses = {
        QStringLiteral("Enero"), QStringLiteral("Febrero"), QStringLiteral("Marzo"), QStringLiteral("Abril"),
        QStringLiteral("Mayo"), QStringLiteral("Junio"), QStringLiteral("Julio"), QStringLiteral("Agosto"),
        QStringLiteral("Septiembre"), QStringLiteral("Octubre"), QStringLiteral("Noviembre"), QStringLiteral("Diciembre")};
    auto *meses_ = lista(PnlFondo, "lbMeses", meses, QStringLiteral("Seleccionar un mes"), 87, 110);
    auto *anios_ = lista(PnlFondo, "lbAnios", {}, QStringLiteral("Seleccionar un año"), 214, 79);
    lbMeses = meses_;
    lbAnios = anios_;

    connect(Cal2000, &tCalendario2000::Change, this, &TFmCalendario::CalendarioChange);
    connect(Cal2000, &tCalendario2000::DblClick, this, &TFmCalendario::Cal2000DblClick);
    connect(BtnMesAnt, &QAbstractButton::clicked, this, &TFmCalendario::BtnMesAntClick);
    connect(BtnMesSig, &QAbstractButton::clicked, this, &TFmCalendario::BtnMesSigClick);
    connect(BtnAnoAnt, &QAbstractButton::clicked, this, &TFmCalendario::BtnAnoAntClick);
    connect(BtnAnoSig, &QAbstractButton::clicked, this, &TFmCalendario::BtnAnoSigClick);
    connect(BtnFechaHoy, &QAbstractButton::clicked, this, &TFmCalendario::BtnFechaHoyClick);
    connect(BtnMes, &QAbstractButton::clicked, this, &TFmCalendario::BtnMesClick);
    connect(BtnAnio, &QAbstractButton::clicked, this, &TFmCalendario::BtnAnioClick);
    connect(BtnAceptar, &QAbstractButton::clicked, this, &TFmCalendario::BtnAceptarClick);
    connect(BtnCancelar, &QAbstractButton::clicked, this, &QDialog::reject);

    connect(meses_, &QListWidget::clicked, this, &TFmCalendario::lbMesesClick);
    connect(meses_, &tListaCalendario::ClickPorTeclado, this, &TFmCalendario::lbMesesClick);
    connect(meses_, &tListaCalendario::KeyDown, this, &TFmCalendario::lbMesesKeyDown);
    connect(meses_, &tListaCalendario::Exit, this, &TFmCalendario::lbMesesExit);
    connect(anios_, &QListWidget::clicked, this, &TFmCalendario::lbAniosClick);
    connect(anios_, &tListaCalendario::ClickPorTeclado, this, &TFmCalendario::lbAniosClick);
    connect(anios_, &tListaCalendario::KeyDown, this, &TFmCalendario::lbMesesKeyDown);
    connect(anios_, &tListaCalendario::Exit, this, &TFmCalendario::lbAniosExit);

    // The form sees every key first, whichever control has the focus.
    installEventFilter(this);
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);

    FormCreate();
    CalendarioChange();
    Cal2000->setFocus();
}

TFmCalendario::~TFmCalendario() = default;

QDate TFmCalendario::date() const
{
    return Cal2000->date();
}

void TFmCalendario::setDate(const QDate &fecha)
{
    Cal2000->setDate(fecha);
}

void TFmCalendario::FormCreate()
{
    for (int anio = Primer_Anio; anio <= Ultimo_Anio; ++anio) {
        auto *item = new QListWidgetItem(QString::number(anio), lbAnios);
        item->setSizeHint(QSize(lbAnios->width() - 4, Alto_Item));
    }
}

bool TFmCalendario::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(e);
}

void TFmCalendario::showEvent(QShowEvent *e)
{
    if (const QScreen *pantalla = screen()) // centred on the screen, not on the button that opened it
        move(pantalla->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(e);
    FormShow();
}

bool TFmCalendario::eventFilter(QObject *obj, QEvent *e)
{
    if (e->type() == QEvent::KeyRelease) {
        auto *k = static_cast<QKeyEvent *>(e);
        // Every widget of the form reports the same release; take it once.
        QWidget *destino = QApplication::focusWidget();
        if (!destino || destino->window() != this)
            destino = this;
        if (!k->isAutoRepeat() && obj == destino)
            FormKeyUp(k->key(), k->modifiers());
    }
    return QDialog::eventFilter(obj, e);
}

void TFmCalendario::FormShow()
{
    m_listClick = true;
}

void TFmCalendario::FormActivate()
{
    BtnFechaHoy->setText(QStringLiteral("Fecha de Hoy: ") + Formatos::Formatear_Fecha(QDate::currentDate()));
}

void TFmCalendario::CalendarioChange()
{
    LblFecha->setText(Calendario::Fecha_Larga(Cal2000->date()));
}

void TFmCalendario::BtnMesAntClick()
{
    cerrarListas();
    Cal2000->PrevMonth();
}

void TFmCalendario::BtnMesSigClick()
{
    cerrarListas();
    Cal2000->NextMonth();
}

void TFmCalendario::BtnAnoAntClick()
{
    cerrarListas();
    Cal2000->PrevYear();
}

void TFmCalendario::BtnAnoSigClick()
{
    cerrarListas();
    Cal2000->NextYear();
}

void TFmCalendario::BtnFechaHoyClick()
{
    cerrarListas();
    Cal2000->setDate(QDate::currentDate());
}

void TFmCalendario::BtnMesClick()
{
    cerrarListaAnios();
    if (BtnMes->isChecked()) {
        {
            const QSignalBlocker sinAvisos(lbMeses);
            lbMeses->setCurrentRow(Cal2000->date().month() - 1);
        }
        lbMeses->resize(lbMeses->width(), Alto_Item * 12 + Alto_Item / 2);
        lbMeses->show();
        lbMeses->raise();
        lbMeses->setFocus();
    } else {
        cerrarListaMeses();
    }
}

void TFmCalendario::BtnAnioClick()
{
    cerrarListaMeses();
    if (BtnAnio->isChecked()) {
        const int fila = Cal2000->date().year() - Primer_Anio;
        {
            const QSignalBlocker sinAvisos(lbAnios);
            if (fila >= 0 && fila < lbAnios->count())
                lbAnios->setCurrentRow(fila);
            else
                lbAnios->setCurrentRow(-1); // a year the list does not hold
        }
        lbAnios->resize(lbAnios->width(), Alto_Item * 12 + Alto_Item / 2);
        lbAnios->show();
        lbAnios->raise();
        if (lbAnios->currentItem())
            lbAnios->scrollToItem(lbAnios->currentItem(), QAbstractItemView::PositionAtCenter);
        lbAnios->setFocus();
    } else {
        cerrarListaAnios();
    }
}

void TFmCalendario::lbMesesClick()
{
    if (!m_listClick) {
        m_listClick = true;
        return;
    }
    const int fila = lbMeses->currentRow();
    if (fila >= 0)
        Cal2000->setDate(Calendario::Pasar_A_Mes(Cal2000->date(), fila + 1));
    cerrarListaMeses();
}

void TFmCalendario::lbAniosClick()
{
    if (!m_listClick) {
        m_listClick = true;
        return;
    }
    const int fila = lbAnios->currentRow();
    if (fila >= 0)
        Cal2000->setDate(Calendario::Pasar_A_Anio(Cal2000->date(), fila + Primer_Anio));
    cerrarListaAnios();
}

void TFmCalendario::lbMesesKeyDown()
{
    m_listClick = false;
}

void TFmCalendario::lbMesesExit()
{
    m_listClick = true;
    lbMesesClick();
    Cal2000->setFocus();
}

void TFmCalendario::lbAniosExit()
{
    m_listClick = true;
    lbAniosClick();
    Cal2000->setFocus();
}

void TFmCalendario::FormKeyUp(int key, Qt::KeyboardModifiers mods)
{
    // With Alt the key is the button's own accelerator, which already toggled it.
    if (mods & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))
        return;
    if (key == Qt::Key_M && !lbMeses->isVisible()) {
        BtnMes->setChecked(true);
        BtnMesClick();
    } else if (key == Qt::Key_O && !lbAnios->isVisible()) {
        BtnAnio->setChecked(true);
        BtnAnioClick();
    }
}

void TFmCalendario::Cal2000DblClick(const QPoint &pos)
{
    const QPoint celda = Cal2000->MouseToCell(pos);
    if (celda.x() >= 0 && celda.y() >= 1 && Cal2000->DiaEnCelda(celda.x(), celda.y()) != 0)
        BtnAceptar->click();
}

void TFmCalendario::BtnAceptarClick()
{
    // With a list open, taking the focus makes the list apply its choice and hand
    // the focus to the grid; the dialog then stays open for a second press.
    // focusWidget() rather than hasFocus(): a dialog not yet activated by the
    // window manager still knows which of its controls holds the focus.
    BtnAceptar->setFocus();
    if (focusWidget() == BtnAceptar)
        accept();
}

void TFmCalendario::cerrarListaMeses()
{
    BtnMes->setChecked(false);
    if (lbMeses->isVisible())
        lbMeses->hide();
}

void TFmCalendario::cerrarListaAnios()
{
    BtnAnio->setChecked(false);
    if (lbAnios->isVisible())
        lbAnios->hide();
}

void TFmCalendario::cerrarListas()
{
    cerrarListaMeses();
    cerrarListaAnios();
}

#include "Calendario.moc"
