#include "InformeRuedas.h"

#include "DataModulo.h"
#include "PiezasInforme.h"
#include "PrepararInformes.h"
#include "Protegido.h"
#include "RecordSource.h"
#include "Table.h"

#include <QPainter>

using namespace PiezasInforme;

namespace {

// Column boundaries of the table (mm from the band's left edge) and its rules.
constexpr double kFecha = 19.3, kKm = 40.4, kMarca = 85.3, kFin = 179.9;
const char *const kReglas[] = {"QRShape1", "QRShape3", "QRShape7"};

} // namespace

TFormInformeRuedas::TFormInformeRuedas()
{
    TReport &r = QrInformeRuedas;
    r.Name = QStringLiteral("QrInformeRuedas");
    r.Title = QStringLiteral("Ruedas");
    r.Master = QStringLiteral("TablaMatriculas");
    r.Orientation = TOrientation::Portrait;
    r.MarginTop = 10;
    r.MarginBottom = 10;
    r.MarginLeft = 20;
    r.MarginRight = 10;
    r.PageHeaderOnFirstPage = true;
    r.PrintIfEmpty = true;
    r.Font = Arial(10);

    const QFont titulo = Arial(10, true);
    TReportBand cabecera = Banda(QStringLiteral("PageHeaderBand1"), TBandKind::PageHeader, 8.5, TFrame::All());
    TReportElement rotulo = Texto(QStringLiteral("QRLabel1"), QStringLiteral("LISTADO DE RUEDAS"), 0, 2, titulo);
    rotulo.CenterInBand = true;
    cabecera.Elements.push_back(rotulo);
    TReportElement fecha = Date_Element(QStringLiteral("QRSysData1"), 148, 2.6, 30);
    fecha.Alignment = Qt::AlignRight; // ends at 178 mm
    fecha.Font = Arial(8, true);
    cabecera.Elements.push_back(fecha);
    cabecera.Children.push_back(Banda(QStringLiteral("ChildBand1"), TBandKind::Child, 3.8));
    r.Bands.push_back(cabecera);

    // The vehicle, in two lines; each value keeps to the room before the next one.
    TReportBand vehiculo = Banda(QStringLiteral("QRGroup1"), TBandKind::GroupHeader, 11.9, TFrame{true, false, true, true});
    vehiculo.GroupExpression = QStringLiteral("TablaMatriculas.MATRICULA");
    vehiculo.BeforePrint = [this](TBandEvent &e) { QRGroup1BeforePrint(e); };
    const double linea1 = 1.2, linea2 = 6.4;
    vehiculo.Elements.push_back(Campo(QStringLiteral("QRDBText1"), QStringLiteral("TablaMatriculas.MATRICULA"), 1.7,
                                      linea1, 29.0, titulo));
    vehiculo.Elements.push_back(Campo(QStringLiteral("QRDBText2"), QStringLiteral("TablaMatriculas.sMarca"), 35.6,
                                      linea1, 79.6 - 35.6 - 1, titulo));
    vehiculo.Elements.push_back(Campo(QStringLiteral("QRDBText3"), QStringLiteral("TablaMatriculas.sModelo"), 79.6,
                                      linea1, kFin - 79.6 - 1, titulo));
    vehiculo.Elements.push_back(
        Texto(QStringLiteral("QRLabel2"), QStringLiteral("Kilómetros actuales:"), 1.7, linea2, titulo));
    vehiculo.Elements.push_back(Campo(QStringLiteral("QRDBText4"), QStringLiteral("TablaMatriculas.KILOMETROS"), 38.5,
                                      linea2, 22.4, titulo, Qt::AlignRight, QStringLiteral("###.###,##")));
    TReportElement medida = Texto(QStringLiteral("QRLabelMedida"), QStringLiteral("MEDIDA:"), 71.1, linea2, titulo);
    medida.AutoSize = false;
    medida.Width = kFin - 71.1 - 1;
    medida.ShrinkToFit = true;
    vehiculo.Elements.push_back(medida);

    TReportBand columnas = Banda(QStringLiteral("QRChildBand1"), TBandKind::Child, 6.8, TFrame::All());
    columnas.AfterPrint = [this](TBandEvent &e) { QRChildBand1AfterPrint(e); };
    const QFont negrita9 = Arial(9, true);
    columnas.Elements.push_back(Texto(QStringLiteral("QRLabel3"), QStringLiteral("FECHA"), 1.5, 1.6, negrita9));
    columnas.Elements.push_back(Texto(QStringLiteral("QRLabel4"), QStringLiteral("KMTROS"), kFecha + 1.5, 1.6, negrita9));
    columnas.Elements.push_back(Texto(QStringLiteral("QRLabel5"), QStringLiteral("MARCA"), kKm + 1.5, 1.6, negrita9));
    columnas.Elements.push_back(
        Texto(QStringLiteral("QRLabel6"), QStringLiteral("OBSERVACIONES"), kMarca + 1.5, 1.6, negrita9));
    columnas.Elements.push_back(Regla(QString::fromLatin1(kReglas[0]), kFecha));
    columnas.Elements.push_back(Regla(QString::fromLatin1(kReglas[1]), kKm));
    columnas.Elements.push_back(Regla(QString::fromLatin1(kReglas[2]), kMarca));
    vehiculo.Children.push_back(columnas);
    r.Bands.push_back(vehiculo);

    TReportBand fila = Banda(QStringLiteral("QRSubDetail1"), TBandKind::SubDetail, 6.3, TFrame::All());
    fila.Source = QStringLiteral("TableRuedas");
    fila.AfterPrint = [this](TBandEvent &e) { QRSubDetail1AfterPrint(e); };
    const QFont normal9 = Arial(9);
    fila.Elements.push_back(Campo(QStringLiteral("QRDBText5"), QStringLiteral("TableRuedas.FECHA"), 0.5, 1.3,
                                  kFecha - 1, normal9, Qt::AlignHCenter));
    fila.Elements.push_back(Campo(QStringLiteral("QRDBText6"), QStringLiteral("TableRuedas.KILOMETROS"), kFecha + 0.5,
                                  1.3, kKm - kFecha - 1, normal9, Qt::AlignHCenter, QStringLiteral("###,###")));
    fila.Elements.push_back(Campo(QStringLiteral("QRDBText7"), QStringLiteral("TableRuedas.MARCA"), kKm + 1, 1.3,
                                  kMarca - kKm - 2, normal9));
    TReportElement observaciones = Rich_Text_Element(QStringLiteral("QRDBRichText1"),
                                                      QStringLiteral("TableRuedas.OBSERVACIONES"), kMarca + 1, 1.0,
                                                      kFin - kMarca - 2, 4.3);
    observaciones.Font = Arial(10);
    fila.Elements.push_back(observaciones);
    r.Bands.push_back(fila);

    FormCreate();
}

void TFormInformeRuedas::FormCreate()
{
    Ultima_Y = 0;
    Pagina_Ultima_Y = 0;
}

void TFormInformeRuedas::QRGroup1BeforePrint(TBandEvent &Evento)
{
    // The size comes from the vehicle's sheet through the tyre table's calculated field.
    TTable *ruedas = Data_Module_Table(QStringLiteral("TableRuedas"));
    const QString medida = ruedas && ruedas->active() ? ruedas->fieldByName(QStringLiteral("Medida"))->asString()
                                                      : QString();
    Evento.Band.Element(QStringLiteral("QRLabelMedida"))->Caption = QStringLiteral("Medida ") + medida;
}

void TFormInformeRuedas::QRChildBand1AfterPrint(TBandEvent &Evento)
{
    Ultima_Y = Evento.Y;
    Pagina_Ultima_Y = Evento.Page;
}

void TFormInformeRuedas::QRSubDetail1AfterPrint(TBandEvent &Evento)
{
    const int y = Evento.Y;
    // Joined to the rules above it on the same page; a row that begins a page
    // (or goes on from the last one) has its rules from its own top.
    const int desde = Evento.Page == Pagina_Ultima_Y && Ultima_Y < y ? Ultima_Y : Evento.Top;
    if (desde < y) {
        const TReportElement *primera = QrInformeRuedas.Element(QString::fromLatin1(kReglas[0]));
        Evento.Canvas->setPen(primera->Pen);
        Evento.Canvas->setBrush(Qt::NoBrush);
        for (const char *nombre : kReglas) {
            const TReportElement *e = QrInformeRuedas.Element(QString::fromLatin1(nombre));
            const int x = Evento.X + ReportUnits::FromMm(e->Left) + ReportUnits::FromMm(e->Width) / 2;
            Evento.Canvas->drawLine(Evento.To_Canvas(x, desde), Evento.To_Canvas(x, y));
        }
    }
    Ultima_Y = y;
    Pagina_Ultima_Y = Evento.Page;
}

std::unique_ptr<TFormInformeRuedas> Crear_Informe_Ruedas()
{
    return std::make_unique<TFormInformeRuedas>();
}

bool Preparar_Informe_Ruedas(TModuloDatos &Modulo)
{
    if (!Modulo.TableRuedas->active() || Modulo.TableRuedas->recordCount() <= 0)
        return false;
    Filtrar_Vehiculo_Informe(Modulo);
    try {
        Modulo.TableRuedas->refresh();
    } catch (...) {
        Proteger([&Modulo] { Liberar_Vehiculo_Informe(Modulo); });
        throw;
    }
    return true;
}

void Terminar_Informe_Ruedas(TModuloDatos &Modulo)
{
    Liberar_Vehiculo_Informe(Modulo);
}
