// The maintenance editor: date, reading and the thirteen tasks done. The task
// boxes are not bound to the table; Cargar_Tareas and Guardar_Tareas move
// their state to and from the record.
#pragma once

#include "EdicionBase.h"
#include "Tareas.h"

#include <array>

class QCheckBox;
class TDBEdit;
class tBotonFecha;

class TFormEdMantenimiento : public TFormEdicionBase
{
    Q_OBJECT
public:
    explicit TFormEdMantenimiento(QWidget *parent = nullptr);

    TDBEdit *DBEditFecha;
    tBotonFecha *BotonFecha;
    TDBEdit *DBEditKilometros;
    // The task boxes in task order (CBCAceite ... CBEngrase).
    std::array<QCheckBox *, Num_Tareas> Casillas{};

    void Limpiar_Tareas();
    void Cargar_Tareas();
    void Guardar_Tareas();

public slots:
    void Actualizar_Boton_Aceptar() override;

protected:
    void Antes_De_Anadir() override;
    void Antes_De_Editar() override;
    void Despues_De_Editar() override;
    void Preparar_Eliminar() override;
    void Antes_De_Grabar() override;
};
