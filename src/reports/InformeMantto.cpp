#include "InformeMantto.h"

#include "DataModulo.h"
#include "PiezasInforme.h"
#include "Proximo.h"
#include "Tareas.h"

#include <array>

namespace {

using PiezasInforme::Banda;
using PiezasInforme::Hasta;

constexpr int Num_Columnas = 2 + Num_Tareas;
// Column boundaries in mm from the band's left edge: date, reading, the thirteen tasks.
constexpr std::array<double, Num_Columnas + 1> Limites{0,     16.7,  32.0,  50.0,  68.4,  86.6,  105.8, 123.8,
                                                       141.4, 160.0, 176.7, 195.2, 214.4, 232.2, 250.0, 266.9};
constexpr double Alto_Fila = 6.8;
const QString Mascara_Km = QStringLiteral("###.###,##");

// Every text of this report is bold.
QFont Arial(double Puntos)
{
    return PiezasInforme::Arial(Puntos, true);
}

// An element inside column `c`, with a little room on both sides.
template <class Hacer>
TReportElement En_Columna(int c, double Arriba, Hacer hacer)
{
    TReportElement e = hacer(Limites[size_t(c)] + 0.6, Arriba, Limites[size_t(c) + 1] - Limites[size_t(c)] - 1.2);
    e.AutoSize = false;
    e.ShrinkToFit = true;
    return e;
}

// The vertical rules between columns, from boundary `desde` on.
void Reglas(TReportBand &Banda, int Desde)
{
    for (int c = Desde; c < Num_Columnas; ++c)
        Banda.Elements.push_back(
            Line_Element(QStringLiteral("Regla%1").arg(c), Limites[size_t(c)] - 0.5, 0, 1, 0));
}

} // namespace

const QString &TFormInformeMantto::Etiqueta_Proximo(int Tarea)
{
    static const std::array<QString, Num_Tareas> Nombres = [] {
        std::array<QString, Num_Tareas> n;
        n[0] = QStringLiteral("QRLabel15");
        for (int i = 1; i < Num_Tareas; ++i)
            n[size_t(i)] = QStringLiteral("QRLabel%1").arg(29 + i);
        return n;
    }();
    return Nombres[size_t(Tarea)];
}

TFormInformeMantto::TFormInformeMantto()
{
    TReport &r = QrInformeMantto;
    r.Name = QStringLiteral("QrInformeMantto");
    r.Master = QStringLiteral("TablaMatriculas");
    r.Title = QStringLiteral("Informes");
    r.Orientation = TOrientation::Landscape;
    r.MarginTop = 10;
    r.MarginBottom = 10;
    r.MarginLeft = 5;
    r.MarginRight = 25;
    r.PageHeaderOnFirstPage = true;
    r.PrintIfEmpty = true;
    r.Font = Arial(10);

    TReportBand Cabecera = Banda(QStringLiteral("PageHeaderBand1"), TBandKind::PageHeader, 8.5, TFrame::All());
    TReportElement Titulo = Text_Element(QStringLiteral("QRLabel1"), QStringLiteral("TAREAS DE MANTENIMIENTO"), 0, 2.2);
    Titulo.CenterInBand = true;
    Cabecera.Elements.push_back(Titulo);

    TReportBand Hueco = Banda(QStringLiteral("ChildBand1"), TBandKind::Child, 3.8);

    // The vehicle: its plate, brand and model shrink rather than run into the next text.
    TReportBand Vehiculo = Banda(QStringLiteral("ChildBand3"), TBandKind::Child, 8.5, TFrame{true, false, true, true});
    const double Arriba = 2.2;
    TReportElement Matricula =
        Field_Element(QStringLiteral("QRDBText1"), QStringLiteral("TablaMatriculas.MATRICULA"), 3.4, Arriba, 25.6);
    Matricula.ShrinkToFit = true;
    Vehiculo.Elements.push_back(Matricula);
    Vehiculo.Elements.push_back(
        Hasta(Field_Element(QStringLiteral("QRDBText2"), QStringLiteral("TablaMatriculas.sMarca"), 33.9, Arriba, 0), 73.9));
    Vehiculo.Elements.push_back(
        Hasta(Field_Element(QStringLiteral("QRDBText3"), QStringLiteral("TablaMatriculas.sModelo"), 74.5, Arriba, 0), 124.7));
    Vehiculo.Elements.push_back(Text_Element(QStringLiteral("QRLabel2"), QStringLiteral("Kilómetros actuales:"), 125.3, Arriba));
    Vehiculo.Elements.push_back(Hasta(Field_Element(QStringLiteral("QRDBText4"), QStringLiteral("TablaMatriculas.KILOMETROS"),
                                                    162.6, Arriba, 0, 0, Mascara_Km),
                                      266.5));

    TReportBand Titulos = Banda(QStringLiteral("ChildBand4"), TBandKind::Child, Alto_Fila, TFrame{true, false, true, true});
    TReportBand Fila = Banda(QStringLiteral("QRSubDetail1"), TBandKind::SubDetail, Alto_Fila, TFrame::All());
    Fila.Source = QStringLiteral("TableMantto");
    const double ArribaFila = 1.7;
    for (int c = 0; c < Num_Columnas; ++c) {
        const QString Cabecera_Col = c == 0 ? QStringLiteral("FECHA")
                                     : c == 1 ? QStringLiteral("KLMTRS")
                                              : Tareas()[size_t(c - 2)].Cabecera_Informe;
        const QString Campo = c == 0 ? QStringLiteral("FECHA")
                              : c == 1 ? QStringLiteral("KILOMETROS")
                                       : Tareas()[size_t(c - 2)].Campo;
        TReportElement t = En_Columna(c, ArribaFila, [&](double l, double a, double w) {
            return Text_Element(QStringLiteral("QRLabelTitulo%1").arg(c), Cabecera_Col, l, a, w);
        });
        t.Font = Arial(8);
        t.Alignment = c == 0 ? Qt::AlignLeft : Qt::AlignHCenter;
        Titulos.Elements.push_back(t);

        TReportElement d = En_Columna(c, ArribaFila, [&](double l, double a, double w) {
            return Field_Element(QStringLiteral("QRDBTextFila%1").arg(c), QStringLiteral("TableMantto.") + Campo, l, a, w);
        });
        d.Font = Arial(8);
        d.Alignment = c == 1 ? Qt::AlignRight : Qt::AlignHCenter;
        if (c == 1)
            d.Mask = QStringLiteral("###,###");
        Fila.Elements.push_back(d);
    }
    Reglas(Titulos, 1);
    Reglas(Fila, 1);

    // Bands 2 to 4 hang from the page header, so they head every page.
    Vehiculo.Children.push_back(Titulos);
    Hueco.Children.push_back(Vehiculo);
    Cabecera.Children.push_back(Hueco);
    r.Bands.push_back(Cabecera);
    r.Bands.push_back(Fila);

    TReportBand Resumen = Banda(QStringLiteral("QRBand1"), TBandKind::Summary, 7.6, TFrame{false, true, true, true});
    Resumen.Elements.push_back(Text_Element(QStringLiteral("QRLabel14"), QStringLiteral("Próximo Mantto:"), 1.7, 1.8));
    for (int i = 0; i < Num_Tareas; ++i) {
        const bool Aire = Tareas()[size_t(i)].Campo == QLatin1String("F_AIRE");
        TReportElement e = En_Columna(2 + i, Aire ? 1.8 : 2.0, [&](double l, double a, double w) {
            return Text_Element(Etiqueta_Proximo(i), QString(), l, a, w);
        });
        e.Font = Arial(Aire ? 10 : 9);
        e.Alignment = Qt::AlignRight;
        Resumen.Elements.push_back(e);
    }
    Reglas(Resumen, 2);
    Resumen.BeforePrint = [this](TBandEvent &Ev) { QRBand1BeforePrint(Ev); };
    r.Bands.push_back(Resumen);
}

void TFormInformeMantto::QRBand1BeforePrint(TBandEvent &Ev)
{
    for (int i = 0; i < Num_Tareas; ++i) {
        TReportElement *Etiqueta = Ev.Band.Element(Etiqueta_Proximo(i));
        const tVistaProximo Vista = ModuloDatos ? Vista_Proximo(ModuloDatos->Km_Proximo[size_t(i)], ModuloDatos->Km_Actuales)
                                                : tVistaProximo();
        if (Vista.Color != tColorProximo::SinCambio) {
            const unsigned rgb = Rgb_Color_Proximo(Vista.Color);
            Etiqueta->Color = QColor::fromRgb(QRgb(rgb));
        }
        Etiqueta->Caption = Vista.Texto;
    }
}

std::unique_ptr<TFormInformeMantto> Crear_Informe_Mantto()
{
    return std::make_unique<TFormInformeMantto>();
}
