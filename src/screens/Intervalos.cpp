// The maintenance interval list window.
#include "Intervalos.h"

#include "Avisos.h"
#include "DBControles.h"
#include "DBGrid.h"
#include "DataModulo.h"
#include "EdIntervalos.h"
#include "Table.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

QString TFormIntervalos::Nombre_Campo(int tarea)
{
    return QStringLiteral("DBEdit") + Sufijo_Tarea(tarea);
}

TFormIntervalos::TFormIntervalos(QWidget *parent) : TFormListaBase(TTipoRegistro::Intervalos, parent)
{
    QHBoxLayout *fila = Anadir_Fila_Cuerpo(6);
    DBGrid = Crear_Rejilla_Lateral(fila, "DBGrid", ModuloDatos->DSMarcas, QStringLiteral("MARCA"), 170, true);

    PnlIntervalos = new QFrame(this);
    PnlIntervalos->setObjectName(QStringLiteral("PnlIntervalos"));
    PnlIntervalos->setFrameShape(QFrame::Panel);
    PnlIntervalos->setFrameShadow(QFrame::Sunken);
    PnlIntervalos->setToolTip(Texto_Doble_Click());
    Detalle_Del_Registro(PnlIntervalos);
    auto *g = new QGridLayout(PnlIntervalos);
    g->setContentsMargins(14, 8, 14, 8);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(3);
    for (int i = 0; i < Num_Tareas; ++i) {
        const tTarea &t = Tareas()[std::size_t(i)];
        auto *e = Crear_Control_Enlazado<TDBEdit>(PnlIntervalos, Nombre_Campo(i), ModuloDatos->DSKmCambios, t.Campo);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::ClickFocus);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setFixedWidth(90);
        Detalle_Del_Registro(e, DBGrid);
        Campos[std::size_t(i)] = e;
        auto *l = new QLabel(t.Etiqueta_Intervalo, PnlIntervalos);
        l->setObjectName(QStringLiteral("Lbl") + Sufijo_Tarea(i));
        Detalle_Del_Registro(l, DBGrid);
        g->addWidget(l, i, 0);
        g->addWidget(e, i, 1);
        g->addWidget(new QLabel(QStringLiteral("Km"), PnlIntervalos), i, 2);
    }
    g->setColumnStretch(3, 1);
    fila->addWidget(PnlIntervalos, 1);

    setFixedSize(440, 460);
}

QDialog *TFormIntervalos::Crear_Editor()
{
    return new TFormEdIntervalos(this);
}

// One interval per brand: the table follows the current brand, so any record
// it shows is that brand's.
bool TFormIntervalos::Permitir_Anadir()
{
    const TTable *t = ModuloDatos->TableKmCambios;
    if (t->active() && !t->isEmpty()) {
        Aviso(QStringLiteral("Error"), QStringLiteral("Sólo se permite un Intervalo de mantenimiento"), avError);
        return false;
    }
    return true;
}

// The editor may close with the focus in a distance, whose display format it
// had lifted while typing; the format is back once the editor is gone, and the
// values are shown again with it.
void TFormIntervalos::Despues_Del_Editor()
{
    for (TDBEdit *e : Campos)
        e->dbRefreshText();
}
