// The model list window: one grid of model names.
#pragma once

#include "ListaBase.h"

class TFormModelos : public TFormListaBase
{
    Q_OBJECT
public:
    explicit TFormModelos(QWidget *parent = nullptr);

    TDBGrid *DBGrid;

protected:
    QDialog *Crear_Editor() override;
};
