// The technical sheet editor, and the sheet's fields as both windows show them.
#include "EdFichaTec.h"

#include "DBControles.h"
#include "DataModulo.h"
#include "Esquema.h"
#include "Protegido.h"
#include "Table.h"
#include "Validadores.h"

#include <QGridLayout>
#include <QPushButton>

const std::array<TCampoFicha, 2 * Filas_Ficha> &Campos_Ficha()
{
    static const std::array<TCampoFicha, 2 * Filas_Ficha> Campos{{
        {"MARCAMODELO", "DBEditMarca", "Marca y Modelo", nullptr, true},
        {"CLASE", "DbEditClase", "Clase", nullptr, true},
        {"TIPO", "DBEditTipo", "Tipo", nullptr, true},
        {"VARIANTE", "DBEditVariante", "Variante", nullptr, true},
        {"DENOMINACIONCOM", "DBEditDenominacion", "Denomin. Comercial", nullptr, true},
        {"TARA", "DBEditTara", "Tara (Kg)", nullptr, false},
        {"MTMA_MMA", "DBEditMtma", "MTMA/MMA", nullptr, false},
        {"MTMA_MMA1E", "DBEditMtma1E", "MTMA/MMA 1º E (Kg)", nullptr, false},
        {"MTMA_MMA2E", "DBEditMtma2E", "MTMA/MMA 2º E (Kg)", nullptr, false},
        {"MTMA_MMA3E", "DBEditMtma3E", "MTMA/MMA 3º E (Kg)", nullptr, false},
        {"MTMA_MMA4E", "DBEditMtma4E", "MTMA/MMA 4º E (Kg)", nullptr, false},
        {"MMR", "DBEditMmr", "MMR S/F, c/F (Kg)", nullptr, false},
        {"NEUMATICOS", "DBEditNeumaticos", "Neumáticos", nullptr, true},
        {"NUMASIENTOS", "DBEditAsientos", "Nº asientos", nullptr, false},
        {"VOLBODEGA", "DBEditBodega", "Volumen Bodega (cc)", nullptr, false},
        {"ALTURA", "DBEditAltura", "Altura total (mm)", nullptr, false},
        {"ANCHURA", "DBEditAnchura", "Anchura total (mm)", nullptr, false},

        {"VIAANT_POST", "DBEditVia", "Via ant./post. (mm)", nullptr, false},
        {"LONGITUD", "DBEditLongitud", "Long. total (mm)", nullptr, false},
        {"VOLADIZOPOST", "DBEditVoladizo", "Voladizo post. (mm)", nullptr, false},
        {"DISTANCIA12E", "DBEditDistancia12E", "Distancia eje 1º/2º (mm)", nullptr, false},
        {"DISTANCIA23E", "DBEditDistancia23E", "Distancia eje 2º/3º (mm)", nullptr, false},
        {"DISTANCIA34E", "DBEditDistancia34E", "Distancia eje 3º/4º (mm)", nullptr, false},
        {"DISTANCIA5R", "DBEditDistancia5R", "Distancia 5º rueda/ult (mm)", nullptr, false},
        {"MARCAMOTOR", "DBEditMarcaMotor", "Motor marca", nullptr, true},
        {"TIPOMOTOR", "DBEditTipoMotor", "Motor tipo", nullptr, true},
        {"CILINDRADA", "DBEditCilindrada", "Nº Cilindros/Cilindrada (cc) ", nullptr, false},
        {"POTENCIA_F_R", "DBEditPotencia", "Potencia fiscal/real (C.V.F./kW)", nullptr, false},
        {"CARTER", "DBEditCarter", "Depósito Aceite (L)", nullptr, false},
        {"COMBUSTIBLE", "DBEditCombustible", "Depósito Combust. (L)", nullptr, false},
        {"REFRIGERANTE", "DBEditRefrigerante", "Liquido refrigerante (L)", "Liquido Refrigerante (L)", false},
        {"CAJA", "DBEditCaja", "Caja de cambios (L)", nullptr, false},
        {"DIFERENCIAL", "DBEditDiferencial", "Diferencia (L)", "Diferencial (L)", false},
        {"BATERIA", "DBEditBateria", "Bateria", nullptr, false},
    }};
    return Campos;
}

bool Es_Numero_Ficha(const TCampoFicha &Campo)
{
    static const TTableDef *Ficha = Definicion_Tabla(QStringLiteral("FichaTecnica.DAT"));
    for (const TFieldDef &f : Ficha->fields)
        if (f.name == QLatin1String(Campo.Campo))
            return f.type == TFieldType::Float;
    return false;
}

TFormEdFichaTec::TFormEdFichaTec(QWidget *parent) : TFormEdicionBase(TTipoRegistro::FichaTec, parent)
{
    QGridLayout *g = Rejilla();
    g->setVerticalSpacing(3);
    g->setColumnMinimumWidth(2, 16);
    g->setColumnStretch(1, 0);
    // Made in input order, which is the order Tab follows.
    for (std::size_t i = 0; i < Campos.size(); ++i) {
        const TCampoFicha &c = Campos_Ficha()[i];
        const int columna = i < std::size_t(Filas_Ficha) ? 0 : 1;
        TDBEdit *e = Anadir_Campo(QLatin1String(c.Control), QString::fromUtf8(c.Etiqueta),
                                  QLatin1String(c.Campo), 0, nullptr, columna);
        e->setUpperCase(c.Mayusculas);
        if (Es_Numero_Ficha(c))
            e->setValidator(new TValidadorNumero(e));
        Campos[i] = e;
    }
    DBEditMarca = Campos[0];
    DbEditClase = Campos[1];
    connect(DBEditMarca, &QLineEdit::textChanged, this, Protegido([this] { Actualizar_Boton_Aceptar(); }));
    setFixedSize(760, 560);
}

void TFormEdFichaTec::Actualizar_Boton_Aceptar()
{
    BtnAceptar->setEnabled(!DBEditMarca->text().isEmpty());
}

// A new sheet starts with the vehicle's brand and model, cut to what the field
// holds: the user may then write it otherwise.
void TFormEdFichaTec::Despues_De_Anadir()
{
    const TTable *v = ModuloDatos->TableMatriculas;
    TField *f = Tabla()->fieldByName(QStringLiteral("MARCAMODELO"));
    const QString MarcaModelo = v->fieldByName(QStringLiteral("sMarca"))->asString() + QLatin1Char(' ')
        + v->fieldByName(QStringLiteral("sModelo"))->asString();
    f->setAsString(MarcaModelo.left(f->size()).trimmed());
}
