// The maintenance interval list window.
#include "Intervalos.h"

#include "Avisos.h"
#include "DBControles.h"
#include "DBGrid.h"
#include "DataModulo.h"
#include "EdIntervalos.h"
#include "PantallasMantto.h"
#include "Table.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

QString TFormIntervalos::Nombre_Campo(int tarea)
{
    return QStringLiteral("DBEdit") + Sufijo_Tarea(tarea);
}

TFormIntervalos::TFormIntervalos(QWidget *parent) : TFormListaBase(TTipoRegistro::Intervalos, parent)
{
    auto *fila = new QHBoxLayout;
    fila->setSpacing(6);
    Cuerpo()->addLayout(fila, 1);

    DBGrid = new TDBGrid(this);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    DBGrid->setColumns({{QStringLiteral("MARCA"), QString(), 170, Qt::AlignCenter, Qt::AlignCenter}});
    DBGrid->setDataSource(ModuloDatos->DSMarcas);
    DBGrid->setFixedWidth(190);
    DBGrid->horizontalHeader()->setStretchLastSection(true);
    fila->addWidget(DBGrid);
    Fijar_Navegador(ModuloDatos->DSMarcas);
    connect(DBGrid, &TDBGrid::dblClick, this, &TFormIntervalos::BtnEditarClick);

    PnlIntervalos = new QFrame(this);
    PnlIntervalos->setObjectName(QStringLiteral("PnlIntervalos"));
    PnlIntervalos->setFrameShape(QFrame::Panel);
    PnlIntervalos->setFrameShadow(QFrame::Sunken);
    PnlIntervalos->setToolTip(QStringLiteral("Doble Click para editar"));
    PnlIntervalos->installEventFilter(this);
    auto *g = new QGridLayout(PnlIntervalos);
    g->setContentsMargins(14, 8, 14, 8);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(3);
    for (int i = 0; i < Num_Tareas; ++i) {
        const tTarea &t = Tareas()[std::size_t(i)];
        auto *e = new TDBEdit(PnlIntervalos);
        e->setObjectName(Nombre_Campo(i));
        e->setDataSource(ModuloDatos->DSKmCambios);
        e->setDataField(t.Campo);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::ClickFocus);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setFixedWidth(90);
        e->installEventFilter(this);
        Campos[std::size_t(i)] = e;
        auto *l = new QLabel(t.Etiqueta_Intervalo, PnlIntervalos);
        l->setObjectName(QStringLiteral("Lbl") + Sufijo_Tarea(i));
        l->installEventFilter(this);
        g->addWidget(l, i, 0);
        g->addWidget(e, i, 1);
        g->addWidget(new QLabel(QStringLiteral("Km"), PnlIntervalos), i, 2);
    }
    g->setColumnStretch(3, 1);
    fila->addWidget(PnlIntervalos, 1);

    setFixedSize(440, 460);
}

TTable *TFormIntervalos::Tabla_Lista() const
{
    return ModuloDatos->TableKmCambios;
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

bool TFormIntervalos::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        BtnEditarClick();
        return true;
    case QEvent::FocusIn:
        if (watched != PnlIntervalos)
            QMetaObject::invokeMethod(this, &TFormIntervalos::Controlar_Foco, Qt::QueuedConnection);
        break;
    default: break;
    }
    return TFormListaBase::eventFilter(watched, event);
}

void TFormIntervalos::Controlar_Foco()
{
    if (isVisible())
        DBGrid->setFocus(Qt::OtherFocusReason);
}

void Abrir_Intervalos(QWidget *parent)
{
    TFormIntervalos Forma(parent);
    Forma.exec();
}
