#include "InformeAverias.h"

#include "DataModulo.h"
#include "Formatos.h"
#include "PiezasInforme.h"
#include "Table.h"

#include <QPainter>

namespace {

using PiezasInforme::Arial;
using PiezasInforme::Banda;
using PiezasInforme::Hasta;

// Column boundaries (mm), at the centres of the four rules of the titles band.
constexpr double Limites[] = {0, 19.3, 37.9, 57.4, 122.6, 190.1};
constexpr double Margen = 0.8; // room between a column's text and its rules

double Izquierda(int c)
{
    return Limites[c] + Margen;
}

double Ancho(int c)
{
    return Limites[c + 1] - Limites[c] - 2 * Margen;
}

TReportElement Con(TReportElement e, const QFont &Fuente, Qt::Alignment Alineacion = Qt::AlignLeft)
{
    e.Font = Fuente;
    e.Alignment = Alineacion;
    return e;
}

TReportElement Encogible(TReportElement e)
{
    e.AutoSize = false;
    e.ShrinkToFit = true;
    return e;
}

const QString Mascara_Importe = QStringLiteral("###.###.###,##");

} // namespace

TFormInformeAverias::TFormInformeAverias()
{
    TReport &r = QrInformeAverias;
    r.Name = QStringLiteral("QrInformeAverias");
    r.Master = QStringLiteral("TablaMatriculas");
    r.Title = QStringLiteral("Listado de Averias");
    r.Orientation = TOrientation::Portrait;
    r.MarginTop = r.MarginBottom = r.MarginLeft = r.MarginRight = 10;
    r.PageHeaderOnFirstPage = true;
    r.PrintIfEmpty = true;
    r.Font = Arial(10);
    // Every run (the preview, a print, an export) totals its own breakdowns.
    r.BeforeRun = [this](TReport &) { Importe_Total = 0; };

    const QFont Negrita10 = Arial(10, true);
    TReportBand Cabecera = Banda(QStringLiteral("PageHeaderBand1"), TBandKind::PageHeader, 8.5, TFrame::All());
    TReportElement Titulo = Con(Text_Element(QStringLiteral("QRLabel1"), QStringLiteral("LISTADO DE AVERIAS"), 0, 2.2), Negrita10);
    Titulo.CenterInBand = true;
    Cabecera.Elements.push_back(Titulo);
    Cabecera.Children.push_back(Banda(QStringLiteral("ChildBand1"), TBandKind::Child, 3.8));
    r.Bands.push_back(Cabecera);

    // The vehicle, once; its plate, brand and model shrink rather than run into the next text.
    TReportBand Grupo = Banda(QStringLiteral("QRGroup1"), TBandKind::GroupHeader, 6.8, TFrame{true, false, true, true});
    Grupo.GroupExpression = QStringLiteral("TablaMatriculas.MATRICULA");
    const double Arriba = 1.3;
    Grupo.Elements.push_back(Con(Encogible(Field_Element(QStringLiteral("QRDBText1"), QStringLiteral("TablaMatriculas.MATRICULA"),
                                                         3.4, Arriba, 27.3)),
                                 Negrita10));
    Grupo.Elements.push_back(Con(Hasta(Field_Element(QStringLiteral("QRDBText2"), QStringLiteral("TablaMatriculas.sMarca"), 40.6,
                                                     Arriba, 0),
                                       82.4),
                                 Negrita10));
    Grupo.Elements.push_back(Con(Hasta(Field_Element(QStringLiteral("QRDBText3"), QStringLiteral("TablaMatriculas.sModelo"), 83.0,
                                                     Arriba, 0),
                                       128.1),
                                 Negrita10));
    Grupo.Elements.push_back(
        Con(Text_Element(QStringLiteral("QRLabel3"), QStringLiteral("Kilómetros actuales:"), 128.7, Arriba), Negrita10));
    Grupo.Elements.push_back(Con(Encogible(Field_Element(QStringLiteral("QRDBText4"), QStringLiteral("TablaMatriculas.KILOMETROS"),
                                                         165.5, Arriba, 22.4, 0, QStringLiteral("###.###,##"))),
                                 Negrita10, Qt::AlignRight));

    // Column titles with the four line elements whose places and pen the rules follow.
    TReportBand Titulos = Banda(QStringLiteral("ChildBand2"), TBandKind::Child, 6.8, TFrame{true, false, true, true});
    const QFont Negrita9 = Arial(9, true);
    const char *const Textos[] = {"ENTRADA", "SALIDA", "KMTROS", "AVERIA", "REPARACIÓN"};
    for (int c = 0; c < 5; ++c)
        Titulos.Elements.push_back(Con(Encogible(Text_Element(QStringLiteral("QRLabelTitulo%1").arg(c + 1),
                                                              QString::fromUtf8(Textos[c]), Izquierda(c), 1.5, Ancho(c))),
                                       Negrita9, c < 3 ? Qt::AlignLeft : Qt::AlignHCenter));
    const char *const Lineas[] = {"QRShape1", "QRShape2", "QRShape3", "QRShape7"};
    for (int i = 0; i < 4; ++i)
        Titulos.Elements.push_back(Line_Element(QLatin1String(Lineas[i]), Limites[i + 1] - 0.5, 0, 1, 0));
    Titulos.AfterPrint = [this](TBandEvent &Ev) { ChildBand2AfterPrint(Ev); };
    Grupo.Children.push_back(Titulos);
    r.Bands.push_back(Grupo);

    // One row per breakdown, as tall as its longest text.
    TReportBand Fila = Banda(QStringLiteral("QRSubDetail1"), TBandKind::SubDetail, 11.9, TFrame::All());
    Fila.Source = QStringLiteral("TableAverias");
    const QFont Normal9 = Arial(9);
    Fila.Elements.push_back(Con(Encogible(Field_Element(QStringLiteral("QRDBText5"), QStringLiteral("TableAverias.FECHAINICIO"),
                                                        Izquierda(0), 1.5, Ancho(0))),
                                Normal9, Qt::AlignHCenter));
    Fila.Elements.push_back(Con(Encogible(Field_Element(QStringLiteral("QRDBText6"), QStringLiteral("TableAverias.FECHAFIN"),
                                                        Izquierda(1), 1.5, Ancho(1))),
                                Normal9, Qt::AlignHCenter));
    Fila.Elements.push_back(Con(Encogible(Field_Element(QStringLiteral("QRDBText7"), QStringLiteral("TableAverias.KILOMETROS"),
                                                        Izquierda(2), 1.5, Ancho(2), 0, QStringLiteral("###,###"))),
                                Normal9, Qt::AlignRight));
    Fila.Elements.push_back(Con(Rich_Text_Element(QStringLiteral("QRDBRichText1"), QStringLiteral("TableAverias.AVERIA"),
                                                  Izquierda(3), 1.0, Ancho(3)),
                                Normal9));
    Fila.Elements.push_back(Con(Rich_Text_Element(QStringLiteral("QRDBRichText2"), QStringLiteral("TableAverias.REPARACION"),
                                                  Izquierda(4), 1.0, Ancho(4)),
                                Normal9));
    Fila.AfterPrint = [this](TBandEvent &Ev) { QRSubDetail1AfterPrint(Ev); };

    // The materials and the amount under each breakdown.
    TReportBand Materiales = Banda(QStringLiteral("ChildBand4"), TBandKind::Child, 13.5, TFrame::All());
    Materiales.Elements.push_back(Con(Text_Element(QStringLiteral("QRLabel9"), QStringLiteral("MATERIALES"), Izquierda(3), 0.8,
                                                   Ancho(3)),
                                      Negrita9, Qt::AlignHCenter));
    Materiales.Elements.push_back(Con(Rich_Text_Element(QStringLiteral("QRDBRichText3"), QStringLiteral("TableAverias.MATERIALES"),
                                                        Izquierda(3), 5.0, Ancho(3)),
                                      Arial(10)));
    Materiales.Elements.push_back(
        Con(Text_Element(QStringLiteral("QRLabel10"), QStringLiteral("Importe:"), Izquierda(4), 1.5), Negrita10));
    Materiales.Elements.push_back(Con(Encogible(Field_Element(QStringLiteral("QRDBText8"), QStringLiteral("TableAverias.IMPORTE"),
                                                              143.5, 1.5, 169.1 - 143.5, 0, Mascara_Importe)),
                                      Negrita10, Qt::AlignRight));
    Materiales.BeforePrint = [this](TBandEvent &Ev) { ChildBand4BeforePrint(Ev); };
    Materiales.AfterPrint = [this](TBandEvent &Ev) { ChildBand4AfterPrint(Ev); };
    Fila.Children.push_back(Materiales);
    r.Bands.push_back(Fila);

    TReportBand Resumen = Banda(QStringLiteral("SummaryBand1"), TBandKind::Summary, 8.5);
    Resumen.Elements.push_back(
        Con(Text_Element(QStringLiteral("QRLabel11"), QStringLiteral("Importe Total"), 117.9, 2.0), Negrita10));
    Resumen.Elements.push_back(Con(Encogible(Text_Element(QStringLiteral("LabelImporteTotal"), QString(), 143.3, 2.0,
                                                          169.1 - 143.3)),
                                   Negrita10, Qt::AlignRight));
    Resumen.BeforePrint = [this](TBandEvent &Ev) { SummaryBand1BeforePrint(Ev); };
    r.Bands.push_back(Resumen);

    FormCreate();
}

void TFormInformeAverias::FormCreate()
{
    Ultima_Y = 0;
}

void TFormInformeAverias::ChildBand2AfterPrint(TBandEvent &Ev)
{
    Ultima_Y = Ev.Y;
    Pagina_Ultima_Y = Ev.Page;
}

void TFormInformeAverias::Dibujar_Reglas(TBandEvent &Ev, const QStringList &Reglas)
{
    using ReportUnits::FromMm;
    const int y = Ev.Y;
    // A band that starts a new page gets its rules from its own top there, not
    // from where the rules of the previous page ended.
    const int Desde = Ev.Page == Pagina_Ultima_Y ? Ultima_Y : Ev.Top;
    if (Ev.Printed && Desde < y) {
        const TReportBand *Titulos = Ev.Report.Band(QStringLiteral("ChildBand2"));
        const TReportElement *Primera = Titulos->Element(Reglas.first());
        Ev.Canvas->setPen(Primera->Pen);
        Ev.Canvas->setBrush(QBrush(Primera->Pen.color()));
        for (const QString &Nombre : Reglas) {
            const TReportElement *e = Titulos->Element(Nombre);
            const int x = Ev.X + FromMm(e->Left) + FromMm(e->Width) / 2;
            Ev.Canvas->drawLine(Ev.To_Canvas(x, Desde), Ev.To_Canvas(x, y));
        }
    }
    Ultima_Y = y;
    Pagina_Ultima_Y = Ev.Page;
}

void TFormInformeAverias::QRSubDetail1AfterPrint(TBandEvent &Ev)
{
    Dibujar_Reglas(Ev, {QStringLiteral("QRShape1"), QStringLiteral("QRShape2"), QStringLiteral("QRShape3"),
                        QStringLiteral("QRShape7")});
}

void TFormInformeAverias::ChildBand4BeforePrint(TBandEvent &Ev)
{
    if (!ModuloDatos)
        return;
    TTable *Averias = ModuloDatos->TableAverias;
    const QString Materiales = Averias->fieldByName(QStringLiteral("MATERIALES"))->asString();
    const double Importe = Averias->fieldByName(QStringLiteral("IMPORTE"))->asFloat();
    if (Materiales.isEmpty() && Importe == 0)
        Ev.Print = false;
    Importe_Total += Importe;
}

void TFormInformeAverias::ChildBand4AfterPrint(TBandEvent &Ev)
{
    Dibujar_Reglas(Ev, {QStringLiteral("QRShape3"), QStringLiteral("QRShape7")});
}

void TFormInformeAverias::SummaryBand1BeforePrint(TBandEvent &Ev)
{
    Ev.Band.Element(QStringLiteral("LabelImporteTotal"))->Caption = Formatos::Formatear_N(Importe_Total, 2);
}

std::unique_ptr<TFormInformeAverias> Crear_Informe_Averias()
{
    return std::make_unique<TFormInformeAverias>();
}
