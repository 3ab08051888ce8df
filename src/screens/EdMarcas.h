// The brand editor: one name, typed in capitals.
#pragma once

#include "EdicionBase.h"

class TDBEdit;

class TFormEdMarcas : public TFormEdicionBase
{
    Q_OBJECT
public:
    explicit TFormEdMarcas(QWidget *parent = nullptr);

    TDBEdit *EditMarca;

public slots:
    void Actualizar_Boton_Aceptar() override;

};
