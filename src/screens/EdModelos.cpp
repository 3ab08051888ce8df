// The model editor.
#include "EdModelos.h"

#include "DataModulo.h"
#include "Protegido.h"
#include "Table.h"

#include <QPushButton>

TFormEdModelos::TFormEdModelos(QWidget *parent) : TFormEdicionBase(TTipoRegistro::Modelos, parent)
{
    EditModelo = Anadir_Campo("EditModelo", QStringLiteral("Modelo"), QStringLiteral("MODELO"));
    EditModelo->setUpperCase(true);
    connect(EditModelo, &QLineEdit::textChanged, this, Protegido([this] { Actualizar_Boton_Aceptar(); }));
    setFixedSize(340, 120);
}

void TFormEdModelos::Actualizar_Boton_Aceptar()
{
    BtnAceptar->setEnabled(!EditModelo->text().isEmpty());
}

// Opened from the vehicle editor, the current vehicle is the one being edited,
// whose brand was just chosen there; an empty brand reads as 0 (no brand).
void TFormEdModelos::Antes_De_Grabar()
{
    const qint32 Marca = ModuloDatos->TableMatriculas->active()
        ? ModuloDatos->TableMatriculas->fieldByName(QStringLiteral("MARCA"))->asInteger()
        : 0;
    Tabla()->fieldByName(QStringLiteral("ORDENMARCA"))->setAsInteger(Marca);
}
