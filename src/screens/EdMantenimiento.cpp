// The maintenance editor.
#include "EdMantenimiento.h"

#include "DBControles.h"
#include "DataModulo.h"
#include "FechaEntrada.h"
#include "Protegido.h"
#include "Table.h"
#include "Validadores.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {
// Tasks in the left column; the rest go to the right one.
constexpr int Tareas_Izquierda = 7;
const QString Hecha = QStringLiteral("X");
} // namespace

TFormEdMantenimiento::TFormEdMantenimiento(QWidget *parent) : TFormEdicionBase(TTipoRegistro::Mantenimiento, parent)
{
    const TCampoFecha fecha =
        Anadir_Campo_Fecha("DBEditFecha", "BotonFecha", QStringLiteral("Fecha"), QStringLiteral("FECHA"));
    DBEditFecha = fecha.Edit;
    BotonFecha = fecha.Boton;
    DBEditKilometros =
        Anadir_Campo("DBEditKilometros", QStringLiteral("Kilometros"), QStringLiteral("KILOMETROS"), 90);
    DBEditKilometros->setValidator(new TValidadorKmAgrupados(DBEditKilometros));

    auto *tareas = new QGroupBox(QStringLiteral("Tareas realizadas"), PnlDatos);
    tareas->setObjectName(QStringLiteral("GBTareas"));
    auto *gt = new QGridLayout(tareas);
    gt->setHorizontalSpacing(24);
    gt->setVerticalSpacing(4);
    for (int i = 0; i < Num_Tareas; ++i) {
        const tTarea &t = Tareas()[std::size_t(i)];
        auto *cb = new QCheckBox(t.Texto_Casilla, tareas);
        cb->setObjectName(t.Casilla);
        Casillas[std::size_t(i)] = cb;
        if (i < Tareas_Izquierda)
            gt->addWidget(cb, i, 0);
        else
            gt->addWidget(cb, i - Tareas_Izquierda, 1);
    }
    Rejilla()->addWidget(tareas, Rejilla()->rowCount(), 0, 1, 3);
    Rejilla()->setColumnStretch(2, 1);
    Rejilla()->setRowStretch(Rejilla()->rowCount(), 1);

    connect(DBEditFecha, &QLineEdit::textChanged, this, Protegido([this] { Actualizar_Boton_Aceptar(); }));
    connect(DBEditKilometros, &QLineEdit::textChanged, this, Protegido([this] { Actualizar_Boton_Aceptar(); }));
    setFixedSize(360, 340);
}

void TFormEdMantenimiento::Actualizar_Boton_Aceptar()
{
    // A partly typed date counts: its check comes when the field is left.
    BtnAceptar->setEnabled(!Fecha_En_Blanco(DBEditFecha->shownText()) && !DBEditKilometros->text().isEmpty());
}

void TFormEdMantenimiento::Limpiar_Tareas()
{
    for (QCheckBox *cb : Casillas)
        cb->setChecked(false);
}

void TFormEdMantenimiento::Cargar_Tareas()
{
    const TTable *t = Tabla();
    for (std::size_t i = 0; i < Casillas.size(); ++i)
        if (t->fieldByName(Tareas()[i].Campo)->asString() == Hecha)
            Casillas[i]->setChecked(true);
}

void TFormEdMantenimiento::Guardar_Tareas()
{
    const TTable *t = Tabla();
    for (std::size_t i = 0; i < Casillas.size(); ++i) {
        TField *f = t->fieldByName(Tareas()[i].Campo);
        if (Casillas[i]->isChecked())
            f->setAsString(Hecha);
        else
            f->clear();
    }
}

void TFormEdMantenimiento::Antes_De_Anadir()
{
    Limpiar_Tareas();
}

void TFormEdMantenimiento::Antes_De_Editar()
{
    Limpiar_Tareas();
}

void TFormEdMantenimiento::Despues_De_Editar()
{
    Cargar_Tareas();
}

void TFormEdMantenimiento::Preparar_Eliminar()
{
    Limpiar_Tareas();
    Cargar_Tareas();
}

void TFormEdMantenimiento::Antes_De_Grabar()
{
    Guardar_Tareas();
}
