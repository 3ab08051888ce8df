// The technical sheet list window.
#include "FichaTec.h"

#include "Avisos.h"
#include "DBControles.h"
#include "DBGrid.h"
#include "DataModulo.h"
#include "Table.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

TFormFichaTec::TFormFichaTec(QWidget *parent) : TFormListaBase(TTipoRegistro::FichaTec, parent)
{
    QHBoxLayout *fila = Anadir_Fila_Cuerpo(6);
    DBGridMatriculas = Crear_Rejilla_Vehiculos(fila, true);

    PnlFicha = new QFrame(this);
    PnlFicha->setObjectName(QStringLiteral("PnlFicha"));
    PnlFicha->setFrameShape(QFrame::Panel);
    PnlFicha->setFrameShadow(QFrame::Sunken);
    PnlFicha->setToolTip(Texto_Doble_Click());
    Detalle_Del_Registro(PnlFicha);
    auto *g = new QGridLayout(PnlFicha);
    g->setContentsMargins(10, 8, 10, 8);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(2);
    g->setColumnMinimumWidth(2, 14);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(4, 1);
    for (std::size_t i = 0; i < Campos.size(); ++i) {
        const TCampoFicha &c = Campos_Ficha()[i];
        const int fila = int(i) % Filas_Ficha;
        const int columna = int(i) < Filas_Ficha ? 0 : 3;
        auto *e = Crear_Control_Enlazado<TDBEdit>(PnlFicha, QLatin1String(c.Control), ModuloDatos->DSFichaTec,
                                                  QLatin1String(c.Campo));
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::ClickFocus);
        Detalle_Del_Registro(e, DBGridMatriculas);
        Campos[i] = e;
        auto *l = new QLabel(QString::fromUtf8(c.Etiqueta_Lista ? c.Etiqueta_Lista : c.Etiqueta), PnlFicha);
        l->setObjectName(Nombre_Etiqueta(QLatin1String(c.Control)));
        l->setBuddy(e);
        Detalle_Del_Registro(l, DBGridMatriculas);
        g->addWidget(l, fila, columna);
        g->addWidget(e, fila, columna + 1);
    }
    g->setRowStretch(Filas_Ficha, 1);
    fila->addWidget(PnlFicha, 1);

    setFixedSize(820, 520);
}

QDialog *TFormFichaTec::Crear_Editor()
{
    return new TFormEdFichaTec(this);
}

// One sheet per vehicle: the table follows the current vehicle, so any record
// it shows is that vehicle's.
bool TFormFichaTec::Permitir_Anadir()
{
    const TTable *t = ModuloDatos->TableFichaTec;
    if (t->active() && !t->isEmpty()) {
        Aviso(QStringLiteral("Error"), QStringLiteral("Sólo se permite una Ficha Técnica por vehículo"), avError);
        return false;
    }
    return true;
}
