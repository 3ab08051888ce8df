// The vehicle editor: plate, brand and model from the catalogues (with their
// list windows at hand), and the current reading. Deleting a vehicle deletes
// everything recorded for it.
#pragma once

#include "EdicionBase.h"

class QToolButton;
class QVariant;
class TDBEdit;
class TDBLookupComboBox;

class TFormEdMatricula : public TFormEdicionBase
{
    Q_OBJECT
public:
    explicit TFormEdMatricula(QWidget *parent = nullptr);

    TDBEdit *EditMatricula;
    TDBLookupComboBox *DBLCBMarca;
    QToolButton *SbMarca;
    TDBLookupComboBox *DBLCBModelo;
    QToolButton *SbModelo;
    TDBEdit *EditKilometros;

public slots:
    void Actualizar_Boton_Aceptar() override;
    void SbMarcaClick();
    void SbModeloClick();

protected:
    void Antes_De_Grabar() override;
    QString Texto_Eliminar() const override;
    void Eliminar() override;
    void Al_Cerrar() override;

private:
    void Cambio_De_Marca();
    bool Modelo_De_La_Marca(const QVariant &Modelo) const;
};
