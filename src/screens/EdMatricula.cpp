// The vehicle editor.
#include "EdMatricula.h"

#include "DBControles.h"
#include "DataModulo.h"
#include "Marcas.h"
#include "Modelos.h"
#include "Protegido.h"
#include "Table.h"
#include "Validadores.h"

#include <QGridLayout>
#include <QPushButton>
#include <QToolButton>

namespace {

QToolButton *Boton_Lista(QWidget *padre, const char *nombre, const QString &ayuda)
{
    auto *b = new QToolButton(padre);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setText(QStringLiteral("..."));
    b->setToolTip(ayuda);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(26, 24);
    return b;
}

// Lifts the state filter a window may have left on a table, and puts it back.
class TSinFiltro
{
public:
    explicit TSinFiltro(TTable *t) : fTabla(t), fFiltrada(t->filtered())
    {
        if (fFiltrada)
            fTabla->setFiltered(false);
    }
    ~TSinFiltro()
    {
        if (!fFiltrada)
            return;
        try {
            fTabla->setFiltered(true);
        } catch (...) {
            // The deletion's own failure, if any, is the one reported.
        }
    }

private:
    TTable *fTabla;
    bool fFiltrada;
};

void Vaciar(TTable *t)
{
    while (!t->isEmpty()) {
        t->first();
        t->deleteRecord();
    }
}

} // namespace

TFormEdMatricula::TFormEdMatricula(QWidget *parent) : TFormEdicionBase(TTipoRegistro::Vehiculos, parent)
{
    EditMatricula = Anadir_Campo("EditMatricula", QStringLiteral("Matricula"), QStringLiteral("MATRICULA"), 120);
    EditMatricula->setUpperCase(true);

    DBLCBMarca = Crear_Campo<TDBLookupComboBox>("DBLCBMarca", QStringLiteral("sMarca"));
    SbMarca = Boton_Lista(PnlDatos, "SbMarca", QStringLiteral("Marcas"));
    Anadir_Fila("LblMarca", QStringLiteral("Marca"), DBLCBMarca, SbMarca);

    DBLCBModelo = Crear_Campo<TDBLookupComboBox>("DBLCBModelo", QStringLiteral("sModelo"));
    SbModelo = Boton_Lista(PnlDatos, "SbModelo", QStringLiteral("Modelos"));
    Anadir_Fila("LblModelo", QStringLiteral("Modelo"), DBLCBModelo, SbModelo);

    EditKilometros = Anadir_Campo("EditKilometros", QStringLiteral("Kilómetros"), QStringLiteral("KILOMETROS"), 120);
    EditKilometros->setValidator(new TValidadorKilometros(EditKilometros));

    // The rule reads and filters the tables, and a read can fail: every handler
    // hands its failure to the central handler where it runs.
    const auto Regla = Protegido([this] { Actualizar_Boton_Aceptar(); });
    connect(EditMatricula, &QLineEdit::textChanged, this, Regla);
    connect(DBLCBMarca, &TDBLookupComboBox::choiceMade, this, Protegido([this] { Cambio_De_Marca(); }));
    connect(DBLCBModelo, &TDBLookupComboBox::choiceMade, this, Regla);
    connect(SbMarca, &QToolButton::clicked, this, &TFormEdMatricula::SbMarcaClick);
    connect(SbModelo, &QToolButton::clicked, this, &TFormEdMatricula::SbModeloClick);
    setFixedSize(380, 200);
}

void TFormEdMatricula::Actualizar_Boton_Aceptar()
{
    // Only the chosen brand's models are offered.
    const qint32 Marca = ModuloDatos->TableMatriculas->fieldByName(QStringLiteral("MARCA"))->asInteger();
    TTable *Modelos = ModuloDatos->TableModelos;
    Modelos->setFilter(QStringLiteral("OrdenMarca = ") + QString::number(Marca));
    Modelos->setFiltered(true);
    DBLCBModelo->refreshList();

    // Looked at once the list has narrowed: a model it no longer offers shows blank.
    BtnAceptar->setEnabled(!EditMatricula->text().isEmpty() && !DBLCBMarca->shownText().isEmpty()
                           && !DBLCBModelo->shownText().isEmpty());
}

// Another brand chosen: the model chosen before belongs to the former one, and
// kept it would be stored with the new brand. A brand chosen again keeps it.
void TFormEdMatricula::Cambio_De_Marca()
{
    Actualizar_Boton_Aceptar();
    TTable *Vehiculos = ModuloDatos->TableMatriculas;
    TField *Modelo = Vehiculos->fieldByName(QStringLiteral("MODELO"));
    if (Modelo->isNull() || Modelo_De_La_Marca(Modelo->value()))
        return;
    Modelo->clear();
    Actualizar_Boton_Aceptar();
}

// Whether the model numbered `Modelo` is among those the model table shows,
// which are the chosen brand's.
bool TFormEdMatricula::Modelo_De_La_Marca(const QVariant &Modelo) const
{
    const TTable *Modelos = ModuloDatos->TableModelos;
    const TField *Orden = Modelos->fieldByName(QStringLiteral("ORDENMODELO"));
    const qint64 Buscado = Modelo.toLongLong();
    for (int Fila = 0; Fila < Modelos->recordCount(); ++Fila)
        if (Modelos->valueAt(Fila, Orden).toLongLong() == Buscado)
            return true;
    return false;
}

void TFormEdMatricula::SbMarcaClick()
{
    Proteger([this] {
        TFormMarcas Marcas(this);
        Marcas.exec();
    });
}

void TFormEdMatricula::SbModeloClick()
{
    Proteger([this] {
        TFormModelos Modelos(this);
        Modelos.exec();
    });
}

// The names kept with the vehicle are those of the brand and model chosen for it.
void TFormEdMatricula::Antes_De_Grabar()
{
    TTable *t = ModuloDatos->TableMatriculas;
    t->fieldByName(QStringLiteral("MARCA_S"))->setAsString(t->fieldByName(QStringLiteral("sMarca"))->asString());
    t->fieldByName(QStringLiteral("MODELO_S"))->setAsString(t->fieldByName(QStringLiteral("sModelo"))->asString());
}

QString TFormEdMatricula::Texto_Eliminar() const
{
    return QStringLiteral("Se van a eliminar la Matricula, Mantenimientos, Averias, Ruedas, Ficha Técnica de este "
                          "Vehículo.\r¿Desea continuar?");
}

// The vehicle's records go first, then the vehicle; a failure stops the walk
// where it happened and what was deleted stays deleted.
void TFormEdMatricula::Eliminar()
{
    Vaciar(ModuloDatos->TableMantto);
    {
        TSinFiltro Todas(ModuloDatos->TableAverias);
        Vaciar(ModuloDatos->TableAverias);
    }
    Vaciar(ModuloDatos->TableRuedas);
    if (!ModuloDatos->TableFichaTec->isEmpty())
        ModuloDatos->TableFichaTec->deleteRecord();
    ModuloDatos->TableMatriculas->deleteRecord();
}

// After the dialog the model window lists every brand's models, and the
// vehicles are read again so their lookups show current names.
void TFormEdMatricula::Al_Cerrar()
{
    ModuloDatos->TableModelos->setFiltered(false);
    ModuloDatos->TableMatriculas->refresh();
}
