// The breakdowns list window: the vehicles on the left and, beside them, the
// current vehicle's breakdowns as a column of record panels, in one of three
// views (pending, repaired, all). It always opens on the pending ones.
#pragma once

#include "ListaBase.h"

class TDBCtrlGrid;
class TDBGrid;
class QToolButton;

class TFormAverias : public TFormListaBase
{
    Q_OBJECT
public:
    explicit TFormAverias(QWidget *parent = nullptr);

    // The views, in the order of their buttons.
    enum class TVista { Pendientes, Reparadas, Todas };

    TDBGrid *DBGridMatriculas;
    TDBCtrlGrid *GridAverias;
    QToolButton *SpeedButton1; // "&Pendientes"
    QToolButton *SpeedButton2; // "&Reparadas"
    QToolButton *SpeedButton3; // "Ver &Todas"

public slots:
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();

protected:
    QDialog *Crear_Editor() override;
    void Al_Mostrar() override;

private:
    // A view button: the view, then the caption.
    void Cambiar_Vista(TVista Vista);
    // Sets the view on TableAverias and marks its button; may raise.
    void Fijar_Vista(TVista Vista);
};
