// The technical sheet list window: the vehicles on the left and, beside them,
// the current vehicle's sheet in read-only fields (empty without one).
#pragma once

#include "EdFichaTec.h"
#include "ListaBase.h"

#include <array>

class QFrame;
class TDBEdit;
class TDBGrid;

class TFormFichaTec : public TFormListaBase
{
    Q_OBJECT
public:
    explicit TFormFichaTec(QWidget *parent = nullptr);

    TDBGrid *DBGridMatriculas;
    QFrame *PnlFicha;
    // In the order of Campos_Ficha().
    std::array<TDBEdit *, 2 * Filas_Ficha> Campos{};

protected:
    QDialog *Crear_Editor() override;
    bool Permitir_Anadir() override;
};
