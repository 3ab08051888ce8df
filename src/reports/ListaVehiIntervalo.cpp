#include "ListaVehiIntervalo.h"

#include "DataModulo.h"
#include "PiezasInforme.h"
#include "Table.h"
#include "Tareas.h"

using namespace PiezasInforme;

namespace {

// The three columns of intervals: where the labels begin, where the values
// end (mm from the band's left edge), and the tasks from top to bottom.
struct TColumna
{
    double Etiqueta;
    double FinValor;
    std::vector<const char *> Tareas;
};

const TColumna kColumnas[] = {
    {2.0, 50.3, {"BUJIAS", "C_ACEITE", "F_ACEITE", "F_AIRE", "F_COMBUSTIBLE"}},
    {58.0, 114.7, {"L_REFRIGERANTE", "L_FRENOS", "P_DELANTERAS", "P_TRASERAS"}},
    {122.5, 182.2, {"ATF_CAJA", "ATF_CONVERTIDOR", "ATF_DIFERENCIAL", "ENGRASE"}},
};
constexpr double kPrimeraFila = 1.7, kEntreFilas = 5.1;

} // namespace

TFormListaVehi_I::TFormListaVehi_I()
{
    TReport &r = QrVehiculosI;
    r.Name = QStringLiteral("QrVehiculosI");
    r.Title = QString();
    r.Master = QStringLiteral("TablaMatriculas");
    r.Orientation = TOrientation::Portrait;
    r.MarginTop = r.MarginBottom = r.MarginLeft = r.MarginRight = 10;
    r.PageHeaderOnFirstPage = true;
    r.PrintIfEmpty = true;
    r.Font = Arial(10);

    const QFont negrita = Arial(10, true);
    TReportBand cabecera = Banda(QStringLiteral("PageHeaderBand1"), TBandKind::PageHeader, 8.5, TFrame::All());
    TReportElement titulo = Texto(QStringLiteral("QRLabel1"),
                                  QStringLiteral("LISTADO DE VEHÍCULOS + INTERVALOS DE MANTENIMIENTO"), 0, 2, negrita);
    titulo.CenterInBand = true;
    cabecera.Elements.push_back(titulo);
    cabecera.Children.push_back(Banda(QStringLiteral("ChildBand1"), TBandKind::Child, 3.8));
    r.Bands.push_back(cabecera);

    TReportBand vehiculo = Banda(QStringLiteral("DetailBand1"), TBandKind::Detail, 6.8, TFrame::All());
    vehiculo.BeforePrint = [this](TBandEvent &e) { DetailBand1BeforePrint(e); };
    vehiculo.Elements.push_back(
        Campo(QStringLiteral("QRDBText1"), QStringLiteral("TablaMatriculas.MATRICULA"), 5.1, 1.3, 23.9, negrita));
    vehiculo.Elements.push_back(Campo(QStringLiteral("QRDBText2"), QStringLiteral("TablaMatriculas.sMarca"), 35.6, 1.3,
                                      84.7 - 35.6 - 1, negrita));
    vehiculo.Elements.push_back(Campo(QStringLiteral("QRDBText3"), QStringLiteral("TablaMatriculas.sModelo"), 84.7, 1.3,
                                      190 - 84.7 - 1, negrita));
    r.Bands.push_back(vehiculo);

    // A brand without an interval record still shows its block, labels and no values.
    TReportBand intervalos = Banda(QStringLiteral("QRSubDetail1"), TBandKind::SubDetail, 27.1,
                                   TFrame{false, true, true, true});
    intervalos.Source = QStringLiteral("TablaKmCambios");
    intervalos.PrintIfEmpty = true;
    const QFont etiqueta = Arial(8), valor = Arial(9, true);
    for (const TColumna &c : kColumnas) {
        for (size_t i = 0; i < c.Tareas.size(); ++i) {
            const QString campo = QString::fromLatin1(c.Tareas[i]);
            const QString nombre = Tareas()[size_t(Indice_Tarea(campo))].Nombre;
            const double arriba = kPrimeraFila + double(i) * kEntreFilas;
            intervalos.Elements.push_back(
                Texto(QStringLiteral("Etiqueta") + campo, nombre, c.Etiqueta, arriba + 0.4, etiqueta));
            // The value runs from just right of its label to the column's edge.
            const double desde = c.Etiqueta + Ancho_Mm(nombre, etiqueta) + 1;
            intervalos.Elements.push_back(Campo(QStringLiteral("Valor") + campo,
                                                QStringLiteral("TablaKmCambios.") + campo, desde, arriba,
                                                c.FinValor - desde, valor, Qt::AlignRight,
                                                QStringLiteral("###.###,##")));
        }
    }
    intervalos.Children.push_back(Banda(QStringLiteral("ChildBand2"), TBandKind::Child, 4.7));
    r.Bands.push_back(intervalos);

    try {
        FormCreate();
    } catch (...) {
        FormDestroy(); // a cursor it did open is not left open
        throw;
    }
}

TFormListaVehi_I::~TFormListaVehi_I()
{
    FormDestroy();
}

void TFormListaVehi_I::FormCreate()
{
    if (!ModuloDatos)
        return;
    ModuloDatos->Pantalla_Activa = Pantalla_Ninguna;
    // Every vehicle: a filter another report left behind is switched off
    // while the cursor is closed.
    ModuloDatos->TablaMatriculas->close();
    ModuloDatos->TablaMatriculas->setFiltered(false);
    ModuloDatos->TablaMatriculas->open();
    ModuloDatos->TablaKmCambios->open();
}

void TFormListaVehi_I::FormDestroy()
{
    if (!ModuloDatos)
        return;
    // However the list ended; closed before the filter goes, so nothing is read again.
    for (TTable *t : {ModuloDatos->TablaMatriculas, ModuloDatos->TablaKmCambios}) {
        try {
            t->close();
            t->setFiltered(false);
        } catch (...) {
        }
    }
}

void TFormListaVehi_I::DetailBand1BeforePrint(TBandEvent &)
{
    TModuloDatos &m = *ModuloDatos;
    const qint32 marca = m.TablaMatriculas->fieldByName(QStringLiteral("MARCA"))->asInteger();
    m.TablaKmCambios->setFilter(Filtro_Marca(marca));
    m.TablaKmCambios->setFiltered(true);
}

std::unique_ptr<TFormListaVehi_I> Crear_Lista_Vehi_Intervalos()
{
    return std::make_unique<TFormListaVehi_I>();
}
