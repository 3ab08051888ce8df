// The maintenance interval editor: the thirteen distances of one brand, in
// three columns. Only the oil change distance is required.
#pragma once

#include "EdicionBase.h"
#include "Tareas.h"

#include <array>

class TDBEdit;

class TFormEdIntervalos : public TFormEdicionBase
{
    Q_OBJECT
public:
    explicit TFormEdIntervalos(QWidget *parent = nullptr);

    // One per task, in task order; the first is EditC_Aceite.
    std::array<TDBEdit *, Num_Tareas> Campos{};
    TDBEdit *EditC_Aceite = nullptr;

    // The objectName of a task's field ("EditC_Aceite", "EditAtf_Caja").
    static QString Nombre_Campo(int tarea);

public slots:
    void Actualizar_Boton_Aceptar() override;

};

// The part of a task's control names after the prefix ("C_Aceite", "Atf_Caja").
QString Sufijo_Tarea(int tarea);
