// The tyre list window: the vehicles on the left, the current vehicle's tyre
// fittings beside them with the distance each set has run and its size, and
// the remarks of the current fitting across the bottom.
#pragma once

#include "ListaBase.h"

class QLabel;
class TDBGrid;
class TDBMemo;

class TFormRuedas : public TFormListaBase
{
    Q_OBJECT
public:
    explicit TFormRuedas(QWidget *parent = nullptr);

    TDBGrid *DBGridMatriculas;
    TDBGrid *DBGrid6;
    QLabel *LblObservaciones;
    TDBMemo *DBMemoObservaci;

protected:
    QDialog *Crear_Editor() override;
    void Al_Mostrar() override;
};
