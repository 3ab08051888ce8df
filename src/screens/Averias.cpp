// The breakdowns list window.
#include "Averias.h"

#include "DBCtrlGrid.h"
#include "DBGrid.h"
#include "DataModulo.h"
#include "EdAverias.h"
#include "Protegido.h"
#include "Table.h"

#include <QHBoxLayout>
#include <QToolButton>

TFormAverias::TFormAverias(QWidget *parent) : TFormListaBase(TTipoRegistro::Averias, parent)
{
    SpeedButton1 = Anadir_Boton_Barra(QStringLiteral("SpeedButton1"), QStringLiteral("&Pendientes"),
                                      QStyle::SP_MessageBoxWarning);
    SpeedButton2 = Anadir_Boton_Barra(QStringLiteral("SpeedButton2"), QStringLiteral("&Reparadas"),
                                      QStyle::SP_DialogApplyButton);
    SpeedButton3 = Anadir_Boton_Barra(QStringLiteral("SpeedButton3"), QStringLiteral("Ver &Todas"),
                                      QStyle::SP_FileDialogListView);
    // The view on show stays pressed, so the user always knows which breakdowns are listed.
    for (QToolButton *b : {SpeedButton1, SpeedButton2, SpeedButton3}) {
        b->setCheckable(true);
        b->setAutoExclusive(true);
    }

    QHBoxLayout *fila = Anadir_Fila_Cuerpo();
    DBGridMatriculas = Crear_Rejilla_Vehiculos(fila, true);

    GridAverias = new TDBCtrlGrid(this);
    GridAverias->setObjectName(QStringLiteral("GridAverias"));
    GridAverias->setToolTip(Texto_Doble_Click());
    GridAverias->setPanelCount(3);
    GridAverias->setItems({
        {QStringLiteral("FECHAINICIO"), QStringLiteral("Fecha Inicio"), QStringLiteral("Fecha Inicio"), false},
        {QStringLiteral("KILOMETROS"), QStringLiteral("Kilometros"), QStringLiteral("Kilometros"), false},
        {QStringLiteral("FECHAFIN"), QStringLiteral("Fecha Fin"), QStringLiteral("Fecha Fin"), false},
        {QStringLiteral("IMPORTE"), QStringLiteral("Importe"), QStringLiteral("Importe"), false},
        {QStringLiteral("AVERIA"), QString(), QStringLiteral("Descripción de la averia"), true},
        {QStringLiteral("REPARACION"), QString(), QStringLiteral("Descripción de la reparación"), true},
        {QStringLiteral("MATERIALES"), QString(), QStringLiteral("Repuestos empleados"), true},
    });
    GridAverias->setDataSource(Fuente_Lista());
    fila->addWidget(GridAverias, 1);

    connect(GridAverias, &TDBCtrlGrid::dblClick, this, &TFormAverias::BtnEditarClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFormAverias::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TFormAverias::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TFormAverias::SpeedButton3Click);

    setFixedSize(900, 560);
}

QDialog *TFormAverias::Crear_Editor()
{
    return new TFormEdAverias(this);
}

// Whatever view was used last, the window opens on the pending breakdowns.
void TFormAverias::Al_Mostrar()
{
    Fijar_Vista(TVista::Pendientes);
}

void TFormAverias::SpeedButton1Click()
{
    Cambiar_Vista(TVista::Pendientes);
}

void TFormAverias::SpeedButton2Click()
{
    Cambiar_Vista(TVista::Reparadas);
}

void TFormAverias::SpeedButton3Click()
{
    Cambiar_Vista(TVista::Todas);
}

// The filter and the count both read the table: a failure stops the click
// there and is told once, never through the button's signal.
void TFormAverias::Cambiar_Vista(TVista Vista)
{
    Proteger([this, Vista] {
        Fijar_Vista(Vista);
        Actualizar_Titulo();
    });
}

void TFormAverias::Fijar_Vista(TVista Vista)
{
    QToolButton *const Botones[] = {SpeedButton1, SpeedButton2, SpeedButton3};
    Botones[int(Vista)]->setChecked(true);
    TTable *t = ModuloDatos->TableAverias;
    switch (Vista) {
    case TVista::Pendientes:
        t->setFilter(QStringLiteral("Estado = 'P'"));
        t->setFiltered(true);
        break;
    case TVista::Reparadas:
        t->setFilter(QStringLiteral("Estado = 'C'"));
        t->setFiltered(true);
        break;
    case TVista::Todas:
        t->setFiltered(false);
        break;
    }
}
