// The base form of the program's own dialogs and the placement of a window on
// its monitor. The arithmetic is kept in plain functions so it can be checked
// for any screen size without one.
#pragma once

#include <QColor>
#include <QDialog>
#include <QRect>
#include <QSize>
#include <QtGlobal>

// Silver: the colour of the data panels.
inline const QColor Color_Datos{192, 192, 192};
// Light cyan: the input control that has the focus.
inline const QColor Color_Resalte{224, 255, 255};

// Screens narrower than this get their oversized forms shrunk.
constexpr int Ancho_Pantalla_Pequena = 700;

// How much a form of `forma` overshoots a screen of `pantalla`, in percent, as the
// larger of width and height; 0 when it fits with a pixel to spare. A form 800
// wide on a screen 640 wide overshoots by 26.
double Exceso_Formulario(QSize forma, QSize pantalla);
// The scale (percent) a form of `forma` is shown at on a screen of `pantalla`:
// 100 - round(overshoot), or 100 when it does not overshoot. A form twice the
// screen's size or more would come out at zero or less; it gets the largest
// scale at which it fits instead.
int Porcentaje_Escala(QSize forma, QSize pantalla);
// Where a form of `forma` goes on a monitor with bounds `monitor` for a given
// percentage: 100 or more the whole monitor, 1..99 that share of it centred,
// 0 centred at its own size when it fits, else the whole monitor.
QRect Geometria_Ajustada(QSize forma, const QRect &monitor, int porcentaje);

// Sizes and places `Form` on the monitor that shows it (see Geometria_Ajustada);
// a maximised or minimised form is first set back to normal.
void Ajustar_Ventana(QWidget *Form, quint8 Porcentaje);
// Scales a form and everything on it (positions, sizes, fonts) to `porcentaje`.
void Escalar_Formulario(QWidget *Form, int porcentaje);

// The shell names its main window here so that the small-screen rule can tell it apart.
void Fijar_Ventana_Principal(QWidget *ventana);
QWidget *Ventana_Principal();

// Base of the program's own dialogs. Its design sizes are pixels and are kept;
// on a screen narrower than 700 pixels a form that does not fit is shrunk (the
// main window is instead fitted to 95 % of its monitor); a child named
// "PanelDatos" is painted in Color_Datos. This runs once, when the form is first
// shown, after the derived class has built and sized itself.
class tFormBase : public QDialog
{
    Q_OBJECT
public:
    explicit tFormBase(QWidget *parent = nullptr, Qt::WindowFlags f = Qt::WindowFlags());

    // The steps above, for a given screen size; idempotent. Exposed so a test
    // can run them against a screen it does not have.
    void Adaptar_A_Pantalla(QSize pantalla);
    // The scale applied by Adaptar_A_Pantalla (100 when none).
    int Escala_Aplicada() const { return m_escala; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool m_adaptado = false;
    int m_escala = 100;
};
