// tCalendario2000: a month grid with the week starting on Monday, weekends in
// their own colour and a red ring on today; plus the date arithmetic it uses,
// kept in plain functions.
#pragma once

#include <QColor>
#include <QDate>
#include <QFont>
#include <QPoint>
#include <QString>
#include <QWidget>

namespace Calendario {

// Spanish names, index 1..12 for months and 1..7 (Monday first) for days.
QString Nombre_Mes(int mes);        // "enero"
QString Nombre_Dia_Corto(int dia);  // "lun"
// "15 de Marzo de 2024": day, full month name with a capital first letter, year.
QString Fecha_Larga(const QDate &fecha);

// Column (0 = Monday) of the first day of the month.
int Desfase_Primer_Dia(int anio, int mes);
// Day shown at a cell of rows 1..6, or 0 when the cell is empty (row 0 holds the day names).
int Dia_En_Celda(int anio, int mes, int columna, int fila);
// Cell (x = column, y = row) that shows the day of `fecha` in its month.
QPoint Celda_De_Fecha(const QDate &fecha);

// One month back or forward: the day is kept, or clamped to the month's last day.
QDate Mover_Mes(const QDate &fecha, int pasos);
// One year back or forward; 29 February becomes 28 February first.
QDate Mover_Anio(const QDate &fecha, int pasos);
// Step month by month (each step clamping the day) until the month is `mes`,
// staying in the same year; 31 March towards December ends on 30 December.
QDate Pasar_A_Mes(const QDate &fecha, int mes);
// Step year by year until the year is `anio`.
QDate Pasar_A_Anio(const QDate &fecha, int anio);

// How one cell is drawn.
struct EstiloCelda
{
    QColor fondo;
    QColor texto;
    bool negrita = true;
    bool anillo = false; // today's red ring
};
struct Colores
{
    QColor rejilla = Qt::white;        // the grid's background
    QColor fuente = Qt::black;         // the grid font's colour
    QColor fiesta = Qt::red;           // Saturday and Sunday
    QColor resalte = QColor(0, 0, 128);
    QColor textoResalte = Qt::white;
};
EstiloCelda Estilo_Celda(int columna, int fila, const QDate &fecha, const QDate &hoy,
                         bool marcarDiaSelec, const Colores &colores);

} // namespace Calendario

class tCalendario2000 : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor ColorFontFiesta READ colorFontFiesta WRITE setColorFontFiesta)
    Q_PROPERTY(bool fMarcarDiaSelec READ fMarcarDiaSelec WRITE setFMarcarDiaSelec)
    Q_PROPERTY(QDate date READ date WRITE setDate NOTIFY Change)

public:
    explicit tCalendario2000(QWidget *parent = nullptr);

    QDate date() const { return m_fecha; }
    void setDate(const QDate &fecha); // an invalid date is ignored

    QColor colorFontFiesta() const { return m_fiesta; }
    void setColorFontFiesta(const QColor &c);
    bool fMarcarDiaSelec() const { return m_marcarDiaSelec; }
    void setFMarcarDiaSelec(bool on);

    void PrevMonth() { setDate(Calendario::Mover_Mes(m_fecha, -1)); }
    void NextMonth() { setDate(Calendario::Mover_Mes(m_fecha, 1)); }
    void PrevYear() { setDate(Calendario::Mover_Anio(m_fecha, -1)); }
    void NextYear() { setDate(Calendario::Mover_Anio(m_fecha, 1)); }

    // Cell under a point of the widget (x = column, y = row); (-1, -1) outside.
    QPoint MouseToCell(const QPoint &pos) const;
    // Day number of a cell in the month shown, 0 for an empty cell or row 0.
    int DiaEnCelda(int columna, int fila) const;
    QRect CellRect(int columna, int fila) const;

    QSize sizeHint() const override { return QSize(318, 143); }

signals:
    // Raised whenever the date changes, and after every click on the grid.
    void Change();
    void DblClick(const QPoint &pos);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    // The day's cell is drawn by the grid's default painting (background,
    // selection, centred text); the hook then adds the decorations.
    virtual void DrawCell(QPainter &p, int columna, int fila, const QRect &r);

private:
    void seleccionarCelda(int columna, int fila);
    int anchoCelda() const;
    int altoCelda() const;

    QDate m_fecha;
    QColor m_fiesta = Qt::red;
    bool m_marcarDiaSelec = true;
};
