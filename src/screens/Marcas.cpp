// The brand list window.
#include "Marcas.h"

#include "DBGrid.h"
#include "DataModulo.h"
#include "EdMarcas.h"

#include <QHeaderView>
#include <QVBoxLayout>

TFormMarcas::TFormMarcas(QWidget *parent) : TFormListaBase(TTipoRegistro::Marcas, parent)
{
    DBGrid = new TDBGrid(this);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    DBGrid->setColumns({{QStringLiteral("MARCA"), QString(), 320, {}, Qt::AlignCenter}});
    DBGrid->setDataSource(ModuloDatos->DSMarcas);
    DBGrid->horizontalHeader()->setStretchLastSection(true);
    DBGrid->setToolTip(QStringLiteral("Contenido de la base de datos (DOBLE CLICK para editar)"));
    Cuerpo()->addWidget(DBGrid);
    Fijar_Navegador(ModuloDatos->DSMarcas);
    connect(DBGrid, &TDBGrid::dblClick, this, &TFormMarcas::BtnEditarClick);
    setFixedSize(420, 380);
}

TTable *TFormMarcas::Tabla_Lista() const
{
    return ModuloDatos->TableMarcas;
}

QDialog *TFormMarcas::Crear_Editor()
{
    return new TFormEdMarcas(this);
}
