// The vehicle list window: plate, brand and model of every vehicle.
#pragma once

#include "ListaBase.h"

class TFormMatriculas : public TFormListaBase
{
    Q_OBJECT
public:
    explicit TFormMatriculas(QWidget *parent = nullptr);

    TDBGrid *DBGrid;

protected:
    QDialog *Crear_Editor() override;
};
