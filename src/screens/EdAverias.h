// The breakdowns editor: start date, reading, repair date and amount in one
// row, the three texts below. The repair and materials texts are open only
// while a repair date is filled, and the record's state (pending "P" or
// repaired "C") follows the repair date at every save.
#pragma once

#include "EdicionBase.h"

class TDBEdit;
class TDBMemo;
class tBotonFecha;

class TFormEdAverias : public TFormEdicionBase
{
    Q_OBJECT
public:
    explicit TFormEdAverias(QWidget *parent = nullptr);

    TDBEdit *DbEFeAveria;
    tBotonFecha *BotonFechaAveria;
    TDBEdit *DbEKm;
    TDBEdit *DbEFeRep;
    tBotonFecha *BotonFechaRep;
    TDBEdit *DBEditImporte;
    TDBMemo *DbMAveria;
    TDBMemo *DbMReparacion;
    TDBMemo *MMateriales;

public slots:
    void Actualizar_Boton_Aceptar() override;
    void Actualizar_Reparacion_Materiales();

protected:
    void Despues_De_Anadir() override;
    void Despues_De_Editar() override;
    void Antes_De_Grabar() override;
};
