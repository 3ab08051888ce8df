// The brand list window.
#include "Marcas.h"

#include "DBGrid.h"
#include "EdMarcas.h"

TFormMarcas::TFormMarcas(QWidget *parent) : TFormListaBase(TTipoRegistro::Marcas, parent)
{
    DBGrid = Crear_Rejilla_Catalogo({{QStringLiteral("MARCA"), QString(), 320, {}, Qt::AlignCenter}});
    setFixedSize(420, 380);
}

QDialog *TFormMarcas::Crear_Editor()
{
    return new TFormEdMarcas(this);
}
