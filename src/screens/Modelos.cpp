// The model list window.
#include "Modelos.h"

#include "DBGrid.h"
#include "DataModulo.h"
#include "EdModelos.h"

#include <QHeaderView>
#include <QVBoxLayout>

TFormModelos::TFormModelos(QWidget *parent) : TFormListaBase(TTipoRegistro::Modelos, parent)
{
    DBGrid = new TDBGrid(this);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    DBGrid->setColumns({{QStringLiteral("MODELO"), QString(), 320, {}, Qt::AlignCenter}});
    DBGrid->setDataSource(ModuloDatos->DSModelos);
    DBGrid->horizontalHeader()->setStretchLastSection(true);
    DBGrid->setToolTip(QStringLiteral("Contenido de la base de datos (DOBLE CLICK para editar)"));
    Cuerpo()->addWidget(DBGrid);
    Fijar_Navegador(ModuloDatos->DSModelos);
    connect(DBGrid, &TDBGrid::dblClick, this, &TFormModelos::BtnEditarClick);
    setFixedSize(420, 380);
}

TTable *TFormModelos::Tabla_Lista() const
{
    return ModuloDatos->TableModelos;
}

QDialog *TFormModelos::Crear_Editor()
{
    return new TFormEdModelos(this);
}
