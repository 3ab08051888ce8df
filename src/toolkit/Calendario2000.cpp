// The month grid of the calendar dialog and its date arithmetic.
#include "Calendario2000.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace Calendario {

namespace {
// Kept here rather than taken from the locale: the machine may have no Spanish locale data.
const char *const Meses[12] = {"enero", "febrero", "marzo", "abril", "mayo", "junio",
                               "julio", "agosto", "septiembre", "octubre", "noviembre", "diciembre"};
const char *const DiasCortos[7] = {"lun", "mar", "mié", "jue", "vie", "sáb", "dom"};
constexpr int Grosor_Linea = 1;
const QColor Gris_Cabecera(199, 199, 199);
const QColor Rojo_Hoy(255, 0, 0);
}

QString Nombre_Mes(int mes)
{
    return mes >= 1 && mes <= 12 ? QString::fromUtf8(Meses[mes - 1]) : QString();
}

QString Nombre_Dia_Corto(int dia)
{
    return dia >= 1 && dia <= 7 ? QString::fromUtf8(DiasCortos[dia - 1]) : QString();
}

QString Fecha_Larga(const QDate &fecha)
{
    if (!fecha.isValid())
        return QString();
    QString mes = Nombre_Mes(fecha.month());
    mes[0] = mes[0].toUpper();
    return QStringLiteral("%1 de %2 de %3").arg(fecha.day()).arg(mes).arg(fecha.year(), 4, 10, QLatin1Char('0'));
}

int Desfase_Primer_Dia(int anio, int mes)
{
    return QDate(anio, mes, 1).dayOfWeek() - 1;
}

int Dia_En_Celda(int anio, int mes, int columna, int fila)
{
    if (fila < 1 || fila > 6 || columna < 0 || columna > 6)
        return 0;
    const QDate primero(anio, mes, 1);
    if (!primero.isValid())
        return 0;
    const int dia = (fila - 1) * 7 + columna - Desfase_Primer_Dia(anio, mes) + 1;
    return dia >= 1 && dia <= primero.daysInMonth() ? dia : 0;
}

QPoint Celda_De_Fecha(const QDate &fecha)
{
    const int indice = Desfase_Primer_Dia(fecha.year(), fecha.month()) + fecha.day() - 1;
    return QPoint(indice % 7, indice / 7 + 1);
}

QDate Mover_Mes(const QDate &fecha, int pasos)
{
    return fecha.addMonths(pasos); // keeps the day or clamps it to the month's length
}

QDate Mover_Anio(const QDate &fecha, int pasos)
{
    QDate d = fecha;
    if (d.month() == 2 && d.day() == 29)
        d = d.addDays(-1);
    return d.addYears(pasos);
}

QDate Pasar_A_Mes(const QDate &fecha, int mes)
{
    if (!fecha.isValid() || mes < 1 || mes > 12)
        return fecha;
    QDate d = fecha;
    const int paso = mes > d.month() ? 1 : -1;
    while (d.month() != mes)
        d = Mover_Mes(d, paso);
    return d;
}

QDate Pasar_A_Anio(const QDate &fecha, int anio)
{
    if (!fecha.isValid() || anio == 0)
        return fecha;
    QDate d = fecha;
    const int paso = anio > d.year() ? 1 : -1;
    while (d.year() != anio)
        d = Mover_Anio(d, paso);
    return d;
}

EstiloCelda Estilo_Celda(int columna, int fila, const QDate &fecha, const QDate &hoy,
                         bool marcarDiaSelec, const Colores &colores)
{
    EstiloCelda s;
    s.fondo = colores.rejilla;
    s.texto = colores.fuente;
    if (fila == 0) {
        s.fondo = Gris_Cabecera;
        s.negrita = false;
        return s;
    }
    const int dia = Dia_En_Celda(fecha.year(), fecha.month(), columna, fila);
    const bool seleccionado = dia != 0 && dia == fecha.day();
    if (seleccionado) { // the grid's own selection highlight
        s.fondo = colores.resalte;
        s.texto = colores.textoResalte;
    }
    const bool finDeSemana = columna >= 5;
    if (finDeSemana)
        s.texto = colores.fiesta;
    if (!marcarDiaSelec && seleccionado) {
        s.fondo = colores.rejilla;
        if (!finDeSemana)
            s.texto = colores.fuente;
    }
    s.anillo = dia != 0 && QDate(fecha.year(), fecha.month(), dia) == hoy;
    return s;
}

} // namespace Calendario

using namespace Calendario;

tCalendario2000::tCalendario2000(QWidget *parent)
    : QWidget(parent), m_fecha(QDate::currentDate())
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(sizeHint());
}

void tCalendario2000::setDate(const QDate &fecha)
{
    if (!fecha.isValid() || fecha == m_fecha)
        return;
    m_fecha = fecha;
    update();
    emit Change();
}

void tCalendario2000::setColorFontFiesta(const QColor &c)
{
    m_fiesta = c;
    update();
}

void tCalendario2000::setFMarcarDiaSelec(bool on)
{
    m_marcarDiaSelec = on;
    update();
}

int tCalendario2000::anchoCelda() const
{
    return qMax(1, (width() - 6 * Grosor_Linea) / 7);
}

int tCalendario2000::altoCelda() const
{
    return qMax(1, (height() - 6 * Grosor_Linea) / 7);
}

QRect tCalendario2000::CellRect(int columna, int fila) const
{
    const int w = anchoCelda(), h = altoCelda();
    return QRect(columna * (w + Grosor_Linea), fila * (h + Grosor_Linea), w, h);
}

QPoint tCalendario2000::MouseToCell(const QPoint &pos) const
{
    for (int f = 0; f < 7; ++f)
        for (int c = 0; c < 7; ++c)
            if (CellRect(c, f).contains(pos))
                return QPoint(c, f);
    return QPoint(-1, -1);
}

int tCalendario2000::DiaEnCelda(int columna, int fila) const
{
    return Dia_En_Celda(m_fecha.year(), m_fecha.month(), columna, fila);
}

void tCalendario2000::seleccionarCelda(int columna, int fila)
{
    const int dia = DiaEnCelda(columna, fila);
    if (dia != 0) // empty cells cannot be selected
        setDate(QDate(m_fecha.year(), m_fecha.month(), dia));
}

void tCalendario2000::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Mid)); // the grid lines show between cells
    for (int f = 0; f < 7; ++f)
        for (int c = 0; c < 7; ++c)
            DrawCell(p, c, f, CellRect(c, f));
}

void tCalendario2000::DrawCell(QPainter &p, int columna, int fila, const QRect &r)
{
    Colores colores;
    colores.rejilla = palette().color(QPalette::Base);
    colores.fuente = palette().color(QPalette::Text);
    colores.fiesta = m_fiesta;
    colores.resalte = palette().color(QPalette::Active, QPalette::Highlight);
    colores.textoResalte = palette().color(QPalette::Active, QPalette::HighlightedText);
    const EstiloCelda s = Estilo_Celda(columna, fila, m_fecha, QDate::currentDate(), m_marcarDiaSelec, colores);

    p.fillRect(r, s.fondo);
    QFont fuente = font();
    fuente.setBold(s.negrita);
    p.setFont(fuente);
    p.setPen(s.texto);
    QString texto;
    if (fila == 0) {
        texto = Nombre_Dia_Corto(columna + 1);
    } else if (const int dia = DiaEnCelda(columna, fila)) {
        texto = QString::number(dia);
    }
    p.drawText(r, Qt::AlignCenter, texto);

    if (s.anillo) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Rojo_Hoy, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(r).adjusted(2, 2, -2, -2)); // 1 pixel in, plus half the pen
        p.restore();
    }
    if (hasFocus() && fila > 0 && DiaEnCelda(columna, fila) == m_fecha.day()) {
        p.save();
        p.setPen(QPen(s.texto, 1, Qt::DotLine));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.restore();
    }
}

void tCalendario2000::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton) {
        const QPoint celda = MouseToCell(e->position().toPoint());
        if (celda.x() >= 0)
            seleccionarCelda(celda.x(), celda.y());
        emit Change(); // also when the day did not change
    }
    QWidget::mousePressEvent(e);
}

void tCalendario2000::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton) {
        // The second press of a double click selects like the first one.
        const QPoint celda = MouseToCell(e->position().toPoint());
        if (celda.x() >= 0)
            seleccionarCelda(celda.x(), celda.y());
        emit Change();
        emit DblClick(e->position().toPoint());
    } else
        QWidget::mouseDoubleClickEvent(e);
}

void tCalendario2000::keyPressEvent(QKeyEvent *e)
{
    const QPoint actual = Celda_De_Fecha(m_fecha);
    QPoint destino = actual;
    switch (e->key()) {
    case Qt::Key_Left: destino.rx() -= 1; break;
    case Qt::Key_Right: destino.rx() += 1; break;
    case Qt::Key_Up: destino.ry() -= 1; break;
    case Qt::Key_Down: destino.ry() += 1; break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    seleccionarCelda(destino.x(), destino.y()); // stays put when the cell is empty or outside
    e->accept();
}
