// The technical sheet editor: the sheet's thirty-four fields in two columns of
// seventeen, typed down the left column and then the right one. A new sheet
// starts with the vehicle's brand and model.
#pragma once

#include "EdicionBase.h"

#include <array>

class TDBEdit;

// One field of the sheet as both sheet windows show it.
struct TCampoFicha
{
    const char *Campo;    // field of "FichaTecnica.DAT"
    const char *Control;  // objectName of its field in both windows
    const char *Etiqueta; // its label
    const char *Etiqueta_Lista; // the list window's, when it says it otherwise
    bool Mayusculas;      // letters typed become capitals
};

constexpr int Filas_Ficha = 17;
// Down the left column, then down the right one.
const std::array<TCampoFicha, 2 * Filas_Ficha> &Campos_Ficha();
// Whether the field holds a number (the others hold texts).
bool Es_Numero_Ficha(const TCampoFicha &Campo);

class TFormEdFichaTec : public TFormEdicionBase
{
    Q_OBJECT
public:
    explicit TFormEdFichaTec(QWidget *parent = nullptr);

    // In the order of Campos_Ficha().
    std::array<TDBEdit *, 2 * Filas_Ficha> Campos{};
    TDBEdit *DBEditMarca;
    TDBEdit *DbEditClase;

public slots:
    void Actualizar_Boton_Aceptar() override;

protected:
    void Despues_De_Anadir() override;
    bool Aceptar_Desactivado_Al_Anadir() const override { return false; }
};
