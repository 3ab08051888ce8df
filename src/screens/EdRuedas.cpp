// The tyre editor.
#include "EdRuedas.h"

#include "DBControles.h"
#include "FechaEntrada.h"
#include "Protegido.h"
#include "Validadores.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

TFormEdRuedas::TFormEdRuedas(QWidget *parent) : TFormEdicionBase(TTipoRegistro::Ruedas, parent)
{
    // One row of three fields, each in a column of its own, and the remarks below.
    const TCampoFecha fecha =
        Anadir_Campo_Fecha("DBEditFecha", "BotonFechaRuedas", QStringLiteral("Fecha"), QStringLiteral("FECHA"));
    DBEditFecha = fecha.Edit;
    BotonFechaRuedas = fecha.Boton;
    DBEditKm = Anadir_Campo("DBEditKm", QStringLiteral("Kilómetros"), QStringLiteral("KILOMETROS"), 90, nullptr, 1);
    DBEditKm->setValidator(new TValidadorKmAgrupados(DBEditKm));
    DBEditMarcaRuedas =
        Anadir_Campo("DBEditMarcaRuedas", QStringLiteral("Marca"), QStringLiteral("MARCA"), 170, nullptr, 2);
    DBEditMarcaRuedas->setUpperCase(true);

    QGridLayout *g = Rejilla();
    g->setColumnMinimumWidth(0, 0);
    g->setColumnStretch(1, 0);
    g->setColumnMinimumWidth(2, 12);
    g->setColumnMinimumWidth(5, 12);
    g->setColumnStretch(7, 1);
    LblObservaci = new QLabel(QStringLiteral("Observaciones"), PnlDatos);
    LblObservaci->setObjectName(QStringLiteral("LblObservaci"));
    DBMemoObservaci = Crear_Campo<TDBMemo>("DBMemoObservaci", QStringLiteral("OBSERVACIONES"));
    DBMemoObservaci->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemoObservaci->setTabChangesFocus(true);
    LblObservaci->setBuddy(DBMemoObservaci);
    g->addWidget(LblObservaci, 1, 0, 1, 9);
    g->addWidget(DBMemoObservaci, 2, 0, 1, 9);
    g->setRowStretch(2, 1);

    connect(DBEditFecha, &QLineEdit::textChanged, this, Protegido([this] { Actualizar_Boton_Aceptar(); }));
    connect(DBEditKm, &QLineEdit::textChanged, this, Protegido([this] { Actualizar_Boton_Aceptar(); }));
    setFixedSize(620, 300);
}

void TFormEdRuedas::Actualizar_Boton_Aceptar()
{
    // A partly typed date counts: its check comes when the field is left.
    BtnAceptar->setEnabled(!Fecha_En_Blanco(DBEditFecha->shownText()) && !DBEditKm->text().isEmpty());
}
