// The brand editor.
#include "EdMarcas.h"

#include "Protegido.h"

#include <QPushButton>

TFormEdMarcas::TFormEdMarcas(QWidget *parent) : TFormEdicionBase(TTipoRegistro::Marcas, parent)
{
    EditMarca = Anadir_Campo("EditMarca", QStringLiteral("Marca"), QStringLiteral("MARCA"));
    EditMarca->setUpperCase(true);
    connect(EditMarca, &QLineEdit::textChanged, this, Protegido([this] { Actualizar_Boton_Aceptar(); }));
    setFixedSize(340, 120);
}

void TFormEdMarcas::Actualizar_Boton_Aceptar()
{
    BtnAceptar->setEnabled(!EditMarca->text().isEmpty());
}
