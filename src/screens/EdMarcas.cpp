// The brand editor.
#include "EdMarcas.h"

#include "DBControles.h"
#include "DataModulo.h"

#include <QPushButton>

TFormEdMarcas::TFormEdMarcas(QWidget *parent) : TFormEdicionBase(TTipoRegistro::Marcas, parent)
{
    EditMarca = new TDBEdit(PnlDatos);
    EditMarca->setObjectName(QStringLiteral("EditMarca"));
    EditMarca->setUpperCase(true);
    EditMarca->setDataSource(ModuloDatos->DSMarcas);
    EditMarca->setDataField(QStringLiteral("MARCA"));
    Anadir_Fila("LblMarca", QStringLiteral("Marca"), EditMarca);
    connect(EditMarca, &QLineEdit::textChanged, this, &TFormEdMarcas::Actualizar_Boton_Aceptar);
    setFixedSize(340, 120);
}

TTable *TFormEdMarcas::Tabla() const
{
    return ModuloDatos->TableMarcas;
}

void TFormEdMarcas::Actualizar_Boton_Aceptar()
{
    BtnAceptar->setEnabled(!EditMarca->text().isEmpty());
}
