// The tyre list window.
#include "Ruedas.h"

#include "DBControles.h"
#include "DBGrid.h"
#include "DataModulo.h"
#include "EdRuedas.h"
#include "Table.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TFormRuedas::TFormRuedas(QWidget *parent) : TFormListaBase(TTipoRegistro::Ruedas, parent)
{
    QHBoxLayout *fila = Anadir_Fila_Cuerpo();
    DBGridMatriculas = Crear_Rejilla_Vehiculos(fila, true);
    const QList<TDBGridColumn> columnas{
        {QStringLiteral("FECHA"), QStringLiteral("Fecha"), 80, Qt::AlignCenter, Qt::AlignCenter},
        {QStringLiteral("KILOMETROS"), QStringLiteral("Km. Cambio"), 80, {}, Qt::AlignCenter},
        {QStringLiteral("MARCA"), QStringLiteral("Marca"), 150, {}, Qt::AlignCenter},
        {QStringLiteral("Medida"), QString(), 150, {}, Qt::AlignCenter},
        {QStringLiteral("KmRueda"), QStringLiteral("Km. Uso"), 80, {}, Qt::AlignCenter},
    };
    DBGrid6 = Crear_Rejilla("DBGrid6", Fuente_Lista(), columnas, Texto_Doble_Click());
    fila->addWidget(DBGrid6, 1);

    LblObservaciones = new QLabel(QStringLiteral("Observaciones"), this);
    LblObservaciones->setObjectName(QStringLiteral("LblObservaciones"));
    Cuerpo()->addWidget(LblObservaciones);
    DBMemoObservaci = Crear_Control_Enlazado<TDBMemo>(this, QStringLiteral("DBMemoObservaci"), Fuente_Lista(),
                                                      QStringLiteral("OBSERVACIONES"));
    DBMemoObservaci->setReadOnly(true);
    DBMemoObservaci->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemoObservaci->setFixedHeight(80);
    LblObservaciones->setBuddy(DBMemoObservaci);
    Cuerpo()->addWidget(DBMemoObservaci);

    int ancho = 0;
    for (int c = 0; c < columnas.size(); ++c)
        ancho += DBGrid6->columnWidth(c);
    setFixedSize(qMax(640, 120 + ancho + 40), 440);
}

QDialog *TFormRuedas::Crear_Editor()
{
    return new TFormEdRuedas(this);
}

// The distance run and the size are worked out from the vehicle's reading and
// its sheet, which other windows change without touching the tyre table: what
// the table worked out before they did is read again.
void TFormRuedas::Al_Mostrar()
{
    TTable *t = Tabla_Lista();
    if (t && t->active() && t->state() == TDataSetState::Browse)
        t->refresh();
}
