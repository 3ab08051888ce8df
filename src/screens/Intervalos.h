// The maintenance interval list window: the brands on the left and, beside
// them, the thirteen distances of the current brand's interval, read-only.
#pragma once

#include "ListaBase.h"
#include "Tareas.h"

#include <array>

class QFrame;
class QLabel;
class TDBEdit;
class TDBGrid;

class TFormIntervalos : public TFormListaBase
{
    Q_OBJECT
public:
    explicit TFormIntervalos(QWidget *parent = nullptr);

    TDBGrid *DBGrid;
    QFrame *PnlIntervalos;
    // One per task, in task order.
    std::array<TDBEdit *, Num_Tareas> Campos{};

    // The objectName of a task's read-only field ("DBEditC_Aceite").
    static QString Nombre_Campo(int tarea);

protected:
    QDialog *Crear_Editor() override;
    bool Permitir_Anadir() override;
    void Despues_Del_Editor() override;
};
