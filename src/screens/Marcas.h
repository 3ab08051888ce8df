// The brand list window: one grid of brand names.
#pragma once

#include "ListaBase.h"

class TFormMarcas : public TFormListaBase
{
    Q_OBJECT
public:
    explicit TFormMarcas(QWidget *parent = nullptr);

    TDBGrid *DBGrid;

protected:
    QDialog *Crear_Editor() override;
};
