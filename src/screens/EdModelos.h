// The model editor: one name, typed in capitals; the model joins the brand of
// the vehicle that is current when it is saved.
#pragma once

#include "EdicionBase.h"

class TDBEdit;

class TFormEdModelos : public TFormEdicionBase
{
    Q_OBJECT
public:
    explicit TFormEdModelos(QWidget *parent = nullptr);

    TDBEdit *EditModelo;

public slots:
    void Actualizar_Boton_Aceptar() override;

protected:
    void Antes_De_Grabar() override;
};
