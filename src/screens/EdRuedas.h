// The tyre editor: the date of the fitting with its date button, the reading
// at the change, the tyre brand in capitals and the remarks.
#pragma once

#include "EdicionBase.h"

class QLabel;
class TDBEdit;
class TDBMemo;
class tBotonFecha;

class TFormEdRuedas : public TFormEdicionBase
{
    Q_OBJECT
public:
    explicit TFormEdRuedas(QWidget *parent = nullptr);

    TDBEdit *DBEditFecha;
    tBotonFecha *BotonFechaRuedas;
    TDBEdit *DBEditKm;
    TDBEdit *DBEditMarcaRuedas;
    QLabel *LblObservaci;
    TDBMemo *DBMemoObservaci;

public slots:
    void Actualizar_Boton_Aceptar() override;
};
