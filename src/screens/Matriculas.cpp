// The vehicle list window.
#include "Matriculas.h"

#include "DBGrid.h"
#include "DataModulo.h"
#include "EdMatricula.h"

#include <QHeaderView>
#include <QVBoxLayout>

TFormMatriculas::TFormMatriculas(QWidget *parent) : TFormListaBase(TTipoRegistro::Vehiculos, parent)
{
    DBGrid = new TDBGrid(this);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    DBGrid->setColumns({
        {QStringLiteral("MATRICULA"), QString(), 130, {}, Qt::AlignCenter},
        {QStringLiteral("sMarca"), QStringLiteral("MARCA"), 175, {}, Qt::AlignCenter},
        {QStringLiteral("sModelo"), QStringLiteral("MODELO"), 175, {}, Qt::AlignCenter},
    });
    DBGrid->setDataSource(ModuloDatos->DSMatriculas);
    DBGrid->horizontalHeader()->setStretchLastSection(true);
    DBGrid->setToolTip(QStringLiteral("Contenido de la base de datos (DOBLE CLICK para editar)"));
    Cuerpo()->addWidget(DBGrid);
    Fijar_Navegador(ModuloDatos->DSMatriculas);
    connect(DBGrid, &TDBGrid::dblClick, this, &TFormMatriculas::BtnEditarClick);
    setFixedSize(520, 420);
}

TTable *TFormMatriculas::Tabla_Lista() const
{
    return ModuloDatos->TableMatriculas;
}

QDialog *TFormMatriculas::Crear_Editor()
{
    return new TFormEdMatricula(this);
}
