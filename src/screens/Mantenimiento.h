// The maintenance list window: the vehicles on the left, the current vehicle's
// maintenance records beside them, and below, for every task, the reading at
// which it falls due next, maroon once the vehicle has passed it.
#pragma once

#include "ListaBase.h"
#include "Tareas.h"

#include <array>

class QLabel;
class TDBGrid;

class TFormMantenimiento : public TFormListaBase
{
    Q_OBJECT
public:
    explicit TFormMantenimiento(QWidget *parent = nullptr);

    TDBGrid *DBGridMatriculas;
    TDBGrid *DBGrid1;
    QLabel *LblProximo;
    QFrame *PnlProximo;
    // The due boxes in task order (PAceite, PF_Aceite, ...).
    std::array<QLabel *, Num_Tareas> Paneles{};

    void Mostrar_Proximo_Mantenimiento() override;

protected:
    QDialog *Crear_Editor() override;
    void Despues_Del_Editor() override;
    void Despues_De_Mostrar() override;

private:
    // Computes the due readings of the current vehicle and shows them.
    void Refrescar_Proximo();
};
