#include "ListaVehiculos.h"

#include "DataModulo.h"
#include "PiezasInforme.h"
#include "Table.h"

using namespace PiezasInforme;

namespace {

// Column boundaries (mm from the band's left edge).
constexpr double kMatricula = 26.9, kMarca = 72.6;

} // namespace

TFormListaVehiculos::TFormListaVehiculos()
{
    TReport &r = QrListaVehiculos;
    r.Name = QStringLiteral("QrListaVehiculos");
    r.Title = QString();
    r.Master = QStringLiteral("TableMatriculas");
    r.Orientation = TOrientation::Portrait;
    r.MarginTop = 10;
    r.MarginBottom = 10;
    r.MarginLeft = 30;
    r.MarginRight = 10;
    r.PageHeaderOnFirstPage = true;
    r.PrintIfEmpty = true;
    r.Font = Arial(10);

    const QFont negrita = Arial(10, true);
    TReportBand cabecera = Banda(QStringLiteral("ColumnHeaderBand1"), TBandKind::ColumnHeader, 8.5, TFrame::All());
    TReportElement titulo = Texto(QStringLiteral("QRLabel1"), QStringLiteral("LISTADO DE VEHÍCULOS"), 0, 2, negrita);
    titulo.CenterInBand = true;
    cabecera.Elements.push_back(titulo);
    TReportBand columnas = Banda(QStringLiteral("ChildBand1"), TBandKind::Child, 7.2, TFrame{false, false, true, true});
    columnas.Elements.push_back(Texto(QStringLiteral("QRLabel2"), QStringLiteral("MATRICULA"), 3.4, 1.8, negrita));
    columnas.Elements.push_back(Texto(QStringLiteral("QRLabel3"), QStringLiteral("MARCA"), 42.3, 1.8, negrita));
    columnas.Elements.push_back(Texto(QStringLiteral("QRLabel4"), QStringLiteral("MODELO"), 86.4, 1.8, negrita));
    columnas.Elements.push_back(Regla(QStringLiteral("QRShape1"), kMatricula));
    columnas.Elements.push_back(Regla(QStringLiteral("QRShape2"), kMarca));
    cabecera.Children.push_back(columnas);
    r.Bands.push_back(cabecera);

    TReportBand fila = Banda(QStringLiteral("DetailBand1"), TBandKind::Detail, 6.8, TFrame::All());
    const QFont normal = Arial(9);
    fila.Elements.push_back(
        Campo(QStringLiteral("QRDBText1"), QStringLiteral("TableMatriculas.MATRICULA"), 2.8, 1.5, 22.2, normal));
    fila.Elements.push_back(
        Campo(QStringLiteral("QRDBText2"), QStringLiteral("TableMatriculas.sMarca"), 28.8, 1.5, 42.5, normal));
    fila.Elements.push_back(
        Campo(QStringLiteral("QRDBText3"), QStringLiteral("TableMatriculas.sModelo"), 74.5, 1.5, 94.2, normal));
    fila.Elements.push_back(Regla(QStringLiteral("QRShape3"), kMatricula));
    fila.Elements.push_back(Regla(QStringLiteral("QRShape4"), kMarca));
    r.Bands.push_back(fila);

    FormCreate();
}

void TFormListaVehiculos::FormCreate()
{
    if (ModuloDatos)
        ModuloDatos->Pantalla_Activa = Pantalla_Ninguna;
}

std::unique_ptr<TFormListaVehiculos> Crear_Lista_Vehiculos()
{
    return std::make_unique<TFormListaVehiculos>();
}

bool Hay_Vehiculos_Que_Listar()
{
    TTable *vehiculos = ModuloDatos ? ModuloDatos->TableMatriculas : nullptr;
    return vehiculos && vehiculos->active() && vehiculos->recordCount() > 0;
}
