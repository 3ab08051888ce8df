#include "Informes.h"

#include "Avisos.h"
#include "DBGrid.h"
#include "DataModulo.h"
#include "ImprimeFichaTec.h"
#include "InformeAverias.h"
#include "InformeMantto.h"
#include "InformeRuedas.h"
#include "PrepararInformes.h"
#include "Protegido.h"
#include "QRepPreview.h"
#include "Table.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QColor Color_Rejilla(220, 211, 218);
const QColor Color_Panel(228, 224, 211);
const QColor Granate(128, 0, 0);

QString Titulo_Informe(quint8 Tipo)
{
    switch (Tipo) {
    case Informe_Mantenimiento:
        return QStringLiteral("Informe de Mantenimiento");
    case Informe_Averias:
        return QStringLiteral("Informe de Averias");
    case Informe_Ruedas:
        return QStringLiteral("Informe de Neumáticos");
    default:
        return QStringLiteral("Ficha Técnica");
    }
}

} // namespace

void Abrir_Informes(QWidget *parent)
{
    TFormInformes Informes(parent);
    Informes.exec();
}

TFormInformes::TFormInformes(QWidget *parent) : tFormBase(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TFormInformes"));
    setWindowTitle(QStringLiteral("Informes"));
    setFixedSize(472, 403);

    QFont Negrita(QStringLiteral("Arial"));
    Negrita.setBold(true);

    GridMatricula = new TDBGrid(this);
    GridMatricula->setObjectName(QStringLiteral("GridMatricula"));
    GridMatricula->setColumns({{QStringLiteral("MATRICULA"), QStringLiteral("MATRICULA"), 0, {}, Qt::AlignCenter},
                               {QStringLiteral("sMarca"), QStringLiteral("MARCA")},
                               {QStringLiteral("sModelo"), QStringLiteral("MODELO")}});
    GridMatricula->setFont(Negrita);
    QPalette p = GridMatricula->palette();
    p.setColor(QPalette::Base, Color_Rejilla);
    GridMatricula->setPalette(p);
    GridMatricula->setToolTip(QStringLiteral("Contenido de la base de datos (DOBLE CLICK para editar)"));
    GridMatricula->horizontalHeader()->setStretchLastSection(true);
    if (ModuloDatos)
        GridMatricula->setDataSource(ModuloDatos->DSMatriculas);

    PnlAverias = new QFrame(this);
    PnlAverias->setObjectName(QStringLiteral("PnlAverias"));
    PnlAverias->setFrameShape(QFrame::Panel);
    PnlAverias->setFrameShadow(QFrame::Raised);
    PnlAverias->setAutoFillBackground(true);
    QPalette pp = PnlAverias->palette();
    pp.setColor(QPalette::Window, Color_Panel);
    PnlAverias->setPalette(pp);
    CBAverias = new QCheckBox(QStringLiteral("Historial de averías"), PnlAverias);
    CBAverias->setObjectName(QStringLiteral("CBAverias"));
    CBAverias->setFont(Negrita);
    QPalette pc = CBAverias->palette();
    pc.setColor(QPalette::WindowText, Granate);
    CBAverias->setPalette(pc);

    BtnAceptar = new QPushButton(QStringLiteral("&Aceptar"), PnlAverias);
    BtnAceptar->setObjectName(QStringLiteral("BtnAceptar"));
    BtnAceptar->setDefault(true);
    BtnAceptar->setAutoDefault(true);
    BtnCancelar = new QPushButton(QStringLiteral("&Cancelar"), PnlAverias);
    BtnCancelar->setObjectName(QStringLiteral("BtnCancelar"));
    BtnCancelar->setAutoDefault(false);

    auto *Fila = new QHBoxLayout(PnlAverias);
    Fila->addWidget(CBAverias);
    Fila->addStretch(1);
    Fila->addWidget(BtnAceptar);
    Fila->addWidget(BtnCancelar);

    auto *Cuerpo = new QVBoxLayout(this);
    Cuerpo->setContentsMargins(4, 4, 4, 4);
    Cuerpo->addWidget(GridMatricula, 1);
    Cuerpo->addWidget(PnlAverias);

    connect(BtnAceptar, &QPushButton::clicked, this, Protegido([this] { BtnAceptarClick(); }));
    connect(BtnCancelar, &QPushButton::clicked, this, [this] { BtnCancelarClick(); });
    connect(CBAverias, &QCheckBox::clicked, this, [this] { CBAveriasClick(); });
}

TFormInformes::~TFormInformes() = default;

void TFormInformes::showEvent(QShowEvent *Evento)
{
    tFormBase::showEvent(Evento);
    if (!Evento->spontaneous())
        Proteger([this] { FormShow(); });
}

void TFormInformes::FormShow()
{
    // Moving in the grid refreshes no list window while the dialog is open.
    if (ModuloDatos)
        ModuloDatos->Pantalla_Activa = Pantalla_Ninguna;
    CBAverias->setVisible(false);
    CBAverias->setChecked(false);
    const quint8 Tipo = ModuloDatos ? ModuloDatos->Tipo_Informe : quint8(Informe_Mantenimiento);
    setWindowTitle(Titulo_Informe(Tipo));
    if (Tipo == Informe_Averias)
        CBAverias->setVisible(true);
    GridMatricula->setFocus();
}

void TFormInformes::BtnAceptarClick()
{
    if (!ModuloDatos)
        return;
    switch (ModuloDatos->Tipo_Informe) {
    case Informe_Mantenimiento:
        Ejecutar_Mantenimiento();
        break;
    case Informe_Averias:
        Ejecutar_Averias();
        break;
    case Informe_Ruedas:
        Ejecutar_Ruedas();
        break;
    case Informe_FichaTec:
        Ejecutar_FichaTec();
        break;
    default:
        break;
    }
    GridMatricula->setFocus();
}

void TFormInformes::Sin_Datos()
{
    Aviso(QStringLiteral("Stop"), Mensaje_Sin_Datos(ModuloDatos->Tipo_Informe), avError);
}

void TFormInformes::Ejecutar_Mantenimiento()
{
    if (!Preparar_Informe_Mantto(*ModuloDatos)) {
        Sin_Datos();
        return;
    }
    tVehiculoInforme Vehiculo(*ModuloDatos);
    const auto Forma = Crear_Informe_Mantto();
    Previsualizar_Informe(Forma->QrInformeMantto, true, true);
}

void TFormInformes::Ejecutar_Averias()
{
    if (!Preparar_Informe_Averias(*ModuloDatos, CBAverias->isChecked())) {
        Sin_Datos();
        return;
    }
    tVehiculoInforme Vehiculo(*ModuloDatos);
    const auto Forma = Crear_Informe_Averias();
    Previsualizar_Informe(Forma->QrInformeAverias, true, true);
}

void TFormInformes::Ejecutar_Ruedas()
{
    if (!Preparar_Informe_Ruedas(*ModuloDatos)) {
        Sin_Datos();
        return;
    }
    tVehiculoInforme Vehiculo(*ModuloDatos);
    const auto Forma = Crear_Informe_Ruedas();
    Previsualizar_Informe(Forma->QrInformeRuedas, true, true);
}

void TFormInformes::Ejecutar_FichaTec()
{
    // The sheet reads the current vehicle's sheet record itself: no vehicle filter.
    if (!Preparar_Ficha_Tecnica(*ModuloDatos)) {
        Sin_Datos();
        return;
    }
    const auto Forma = Crear_Informe_Ficha_Tec();
    Previsualizar_Informe(Forma->QrInforFichaTec, true, true);
}

void TFormInformes::CBAveriasClick()
{
    GridMatricula->setFocus();
}

void TFormInformes::BtnCancelarClick()
{
    reject();
}
