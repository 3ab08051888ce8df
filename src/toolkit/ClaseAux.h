// Highlighting of the input control that has the focus in the editor dialogs,
// and the helper object whose operations serve as the controls' handlers.
#pragma once

#include <QObject>
#include <QWidget>

// Dynamic properties (bool) a form sets on a control whose design has its own
// enter or exit handler; Preparar_Campos then leaves that handler in place.
inline constexpr const char *Propiedad_OnEnter = "OnEnter";
inline constexpr const char *Propiedad_OnExit = "OnExit";

class tClaseAux : public QObject
{
    Q_OBJECT
public:
    tClaseAux();
    ~tClaseAux() override;

    // Cleared by the date entry when it rejects a typed date; Restaurar_Control
    // reads it, sets it back and returns the focus to the control.
    bool Fecha_Valida = true;

    // Enter handler: suspends a data-bound number's display format while the
    // control has the focus, and paints an editable control in Color_Resalte.
    void Resaltar_Control(QWidget *Control);
    // Exit handler: puts the display format back, restores the colour and,
    // after a rejected date, moves the focus back into the control.
    void Restaurar_Control(QWidget *Control);

    // Attaches the handlers above to `Control` (the ones its design lacks).
    void Enganchar(QWidget *Control, bool entrada, bool salida);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reponerFormato();
};

// The application's one instance, made on first use and kept to the end.
tClaseAux &Clase_Aux();

// Attaches the highlighting handlers to the editable input controls inside
// `Contenedor`, going into panels and group boxes.
void Preparar_Campos(QWidget *Contenedor);

// Whether `Control` takes input now (see the rules per kind of control).
bool Control_Editable(const QWidget *Control);
// Whether Preparar_Campos treats `w` as an input control, and whether it skips it.
bool Es_Control_Entrada(const QWidget *w);
