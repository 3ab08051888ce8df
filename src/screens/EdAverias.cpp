// The breakdowns editor.
#include "EdAverias.h"

#include "BotonFecha.h"
#include "DBControles.h"
#include "FechaEntrada.h"
#include "Protegido.h"
#include "Table.h"
#include "Validadores.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

// A label named `Nombre` for `Campo`; the caller places both.
QLabel *Etiqueta(QWidget *Padre, const QString &Nombre, const QString &Texto, QWidget *Campo)
{
    auto *l = new QLabel(Texto, Padre);
    l->setObjectName(Nombre);
    l->setBuddy(Campo);
    return l;
}

} // namespace

TFormEdAverias::TFormEdAverias(QWidget *parent) : TFormEdicionBase(TTipoRegistro::Averias, parent)
{
    const TCampoFecha averia =
        Crear_Campo_Fecha(QStringLiteral("DbEFeAveria"), QStringLiteral("BotonFechaAveria"), QStringLiteral("FECHAINICIO"));
    DbEFeAveria = averia.Edit;
    BotonFechaAveria = averia.Boton;
    DbEKm = Crear_Campo(QStringLiteral("DbEKm"), QStringLiteral("KILOMETROS"), 90);
    DbEKm->setValidator(new TValidadorKmAgrupados(DbEKm));
    const TCampoFecha reparacion =
        Crear_Campo_Fecha(QStringLiteral("DbEFeRep"), QStringLiteral("BotonFechaRep"), QStringLiteral("FECHAFIN"));
    DbEFeRep = reparacion.Edit;
    BotonFechaRep = reparacion.Boton;
    DBEditImporte = Crear_Campo(QStringLiteral("DBEditImporte"), QStringLiteral("IMPORTE"), 120);
    DBEditImporte->setValidator(new TValidadorImporte(DBEditImporte));

    // The four single-line fields in one row, each under its label.
    QGridLayout *g = Rejilla();
    g->setColumnMinimumWidth(0, 0);
    g->setColumnStretch(1, 0);
    auto *fila = new QGridLayout;
    fila->setHorizontalSpacing(16);
    fila->setVerticalSpacing(2);
    const struct
    {
        const char *Nombre;
        const char *Texto;
        QWidget *Campo;
        QWidget *Celda;
    } Arriba[] = {
        {"LblFeAveria", "Fecha Averia", DbEFeAveria, averia.Fila},
        {"LblKm", "Kilometros", DbEKm, DbEKm},
        {"LblFeRep", "Fecha Rep.", DbEFeRep, reparacion.Fila},
        {"LblImporte", "Importe factura", DBEditImporte, DBEditImporte},
    };
    int c = 0;
    for (const auto &a : Arriba) {
        fila->addWidget(Etiqueta(PnlDatos, QString::fromLatin1(a.Nombre), QString::fromUtf8(a.Texto), a.Campo), 0, c);
        fila->addWidget(a.Celda, 1, c, Qt::AlignLeft);
        ++c;
    }
    fila->setColumnStretch(c, 1);
    g->addLayout(fila, 0, 0, 1, 3);

    // The three texts fill the rest, each under its red bold label.
    QPalette rojo = PnlDatos->palette();
    rojo.setColor(QPalette::Active, QPalette::WindowText, Qt::red);
    rojo.setColor(QPalette::Inactive, QPalette::WindowText, Qt::red);
    QFont negrita = font();
    negrita.setBold(true);
    const struct
    {
        const char *Nombre;
        const char *Etiqueta;
        const char *Texto;
        const char *Campo;
        TDBMemo **Memo;
    } Textos[] = {
        {"DbMAveria", "LblAveria", "Descripción de la Averia", "AVERIA", &DbMAveria},
        {"DbMReparacion", "LblReparacion", "Descripción de la Reparación", "REPARACION", &DbMReparacion},
        {"MMateriales", "LblMateriales", "Materiales", "MATERIALES", &MMateriales},
    };
    int r = 1;
    for (const auto &t : Textos) {
        TDBMemo *m = Crear_Campo<TDBMemo>(QString::fromLatin1(t.Nombre), QString::fromLatin1(t.Campo));
        m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m->setTabChangesFocus(true);
        *t.Memo = m;
        QLabel *l = Etiqueta(PnlDatos, QString::fromLatin1(t.Etiqueta), QString::fromUtf8(t.Texto), m);
        l->setPalette(rojo);
        l->setFont(negrita);
        g->addWidget(l, r++, 0, 1, 3);
        g->addWidget(m, r, 0, 1, 3);
        g->setRowStretch(r++, 1);
    }

    setTabOrder(DbEFeAveria, DbEKm);
    setTabOrder(DbEKm, DbEFeRep);
    setTabOrder(DbEFeRep, DBEditImporte);
    setTabOrder(DBEditImporte, DbMAveria);
    setTabOrder(DbMAveria, DbMReparacion);
    setTabOrder(DbMReparacion, MMateriales);

    connect(DbEFeAveria, &QLineEdit::textChanged, this, Protegido([this] { Actualizar_Boton_Aceptar(); }));
    connect(DbEKm, &QLineEdit::textChanged, this, Protegido([this] { Actualizar_Boton_Aceptar(); }));
    connect(DbMAveria, &QPlainTextEdit::textChanged, this, Protegido([this] { Actualizar_Boton_Aceptar(); }));
    connect(DbEFeRep, &QLineEdit::textChanged, this, Protegido([this] { Actualizar_Reparacion_Materiales(); }));
    Actualizar_Reparacion_Materiales();
    setFixedSize(620, 520);
}

void TFormEdAverias::Actualizar_Boton_Aceptar()
{
    // The description is not required; a partly typed date counts, its check
    // comes when the field is left.
    BtnAceptar->setEnabled(!Fecha_En_Blanco(DbEFeAveria->shownText()) && !DbEKm->text().isEmpty());
}

// Erasing the date closes both texts again, but what was typed in them stays
// in the record.
void TFormEdAverias::Actualizar_Reparacion_Materiales()
{
    const bool Reparada = !Fecha_En_Blanco(DbEFeRep->shownText());
    DbMReparacion->setEnabled(Reparada);
    MMateriales->setEnabled(Reparada);
}

void TFormEdAverias::Despues_De_Anadir()
{
    DbMReparacion->setEnabled(false);
    MMateriales->setEnabled(false);
}

void TFormEdAverias::Despues_De_Editar()
{
    Actualizar_Reparacion_Materiales();
}

void TFormEdAverias::Antes_De_Grabar()
{
    TTable *t = Tabla();
    t->fieldByName(QStringLiteral("ESTADO"))
        ->setAsString(t->fieldByName(QStringLiteral("FECHAFIN"))->isNull() ? QStringLiteral("P") : QStringLiteral("C"));
}
