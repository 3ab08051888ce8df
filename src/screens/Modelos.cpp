// The model list window.
#include "Modelos.h"

#include "DBGrid.h"
#include "EdModelos.h"

TFormModelos::TFormModelos(QWidget *parent) : TFormListaBase(TTipoRegistro::Modelos, parent)
{
    DBGrid = Crear_Rejilla_Catalogo({{QStringLiteral("MODELO"), QString(), 320, {}, Qt::AlignCenter}});
    setFixedSize(420, 380);
}

QDialog *TFormModelos::Crear_Editor()
{
    return new TFormEdModelos(this);
}
