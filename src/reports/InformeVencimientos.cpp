// The report of the fleet's overdue and coming tasks.
#include "InformeVencimientos.h"

#include "Formatos.h"
#include "QRepPreview.h"
#include "RecordSource.h"

#include <QStringList>

#include <algorithm>
#include <memory>

namespace {

const QString kOrigen = QStringLiteral("Vencimientos");

// One row per vehicle; the task columns hold one line per task, so that each
// vehicle is one band and its block never splits across two pages.
TMemoryTable Tabla(const std::vector<tVehiculoVencimientos> &flota, qint32 margen, int *vencidas, int *proximas)
{
    TMemoryTable t;
    t.Fields = QStringList{QStringLiteral("MATRICULA"), QStringLiteral("VEHICULO"), QStringLiteral("KILOMETROS"),
                           QStringLiteral("TAREAS"),    QStringLiteral("PROXIMOS"), QStringLiteral("RESTANTES"),
                           QStringLiteral("ESTADOS")};
    std::vector<tFilaVencimiento> filas = Filas_Vencimientos(flota, margen);
    filas.erase(std::remove_if(filas.begin(), filas.end(),
                               [](const tFilaVencimiento &f) { return f.Estado == tEstadoVencimiento::AlDia; }),
                filas.end());
    std::stable_sort(filas.begin(), filas.end(), [&](const tFilaVencimiento &a, const tFilaVencimiento &b) {
        const int c = QString::compare(flota[std::size_t(a.Vehiculo)].Matricula, flota[std::size_t(b.Vehiculo)].Matricula,
                                       Qt::CaseInsensitive);
        if (c != 0)
            return c < 0;
        if (a.Vehiculo != b.Vehiculo)
            return a.Vehiculo < b.Vehiculo;
        return a.Km_Restantes < b.Km_Restantes;
    });
    *vencidas = *proximas = 0;
    for (std::size_t i = 0; i < filas.size();) {
        const tVehiculoVencimientos &v = flota[std::size_t(filas[i].Vehiculo)];
        QStringList tareas, proximos, restantes, estados;
        for (; i < filas.size() && &flota[std::size_t(filas[i].Vehiculo)] == &v; ++i) {
            const tFilaVencimiento &f = filas[i];
            const bool vencida = f.Estado == tEstadoVencimiento::Vencida;
            (vencida ? *vencidas : *proximas) += 1;
            tareas << Nombre_Tarea_Vencimiento(f.Tarea);
            proximos << Formatos::Formatear_N(f.Km_Proximo, 0);
            restantes << Formatos::Formatear_N(double(f.Km_Restantes), 0);
            estados << (vencida ? QStringLiteral("Vencida") : QStringLiteral("Próxima"));
        }
        const QString newline = QStringLiteral("\n");
        t.Rows.push_back(QVariantList{v.Matricula, QStringList{v.Marca, v.Modelo}.join(QLatin1Char(' ')).trimmed(),
                                      QStringLiteral("Kmtros actuales: ") + Formatos::Formatear_N(v.Km_Actuales, 0),
                                      tareas.join(newline), proximos.join(newline), restantes.join(newline),
                                      estados.join(newline)});
    }
    return t;
}

TReportBand Banda(const QString &nombre, TBandKind tipo, double alto)
{
    TReportBand b;
    b.Name = nombre;
    b.Kind = tipo;
    b.Height = alto;
    b.Frame.Bottom = true;
    return b;
}

TReportElement Derecha(TReportElement e)
{
    e.Alignment = Qt::AlignRight;
    return e;
}

TReportElement Con_Fuente(TReportElement e, const QFont &fuente)
{
    e.Font = fuente;
    return e;
}

QString Cuantas(int n, const char *una, const char *varias)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? una : varias);
}

QString Campo(const char *nombre)
{
    return kOrigen + QLatin1Char('.') + QLatin1String(nombre);
}

} // namespace

TReport Informe_Vencimientos(const std::vector<tVehiculoVencimientos> &flota, qint32 margen)
{
    int vencidas = 0, proximas = 0;
    auto tabla = std::make_shared<const TMemoryTable>(Tabla(flota, margen, &vencidas, &proximas));

    TReport r;
    r.Name = QStringLiteral("QrVencimientos");
    r.Title = QStringLiteral("Vencimientos de la flota");
    r.Master = kOrigen;
    r.Orientation = TOrientation::Portrait;
    r.MarginTop = r.MarginBottom = 12;
    r.MarginLeft = r.MarginRight = 10;
    r.PageHeaderOnFirstPage = true;
    r.PrintIfEmpty = true;
    r.Font = Report_Font(QStringLiteral("Arial"), 9);
    r.Sources = [tabla](const QString &nombre) -> std::unique_ptr<TRecordSource> {
        if (nombre.compare(kOrigen, Qt::CaseInsensitive) != 0)
            return nullptr;
        return std::make_unique<TMemorySource>(*tabla);
    };
    const QFont negrita = Report_Font(QStringLiteral("Arial"), 9, true);

    TReportBand cabecera = Banda(QStringLiteral("Cabecera"), TBandKind::PageHeader, 16);
    TReportElement titulo = Con_Fuente(Text_Element(QStringLiteral("Titulo"), r.Title, 0, 1),
                                       Report_Font(QStringLiteral("Arial"), 14, true));
    titulo.CenterInBand = true;
    cabecera.Elements.push_back(titulo);
    cabecera.Elements.push_back(Text_Element(QStringLiteral("LblFecha"), QStringLiteral("Fecha:"), 0, 10));
    cabecera.Elements.push_back(Date_Element(QStringLiteral("Fecha"), 12, 10, 30));
    TReportElement criterio = Text_Element(
        QStringLiteral("Criterio"),
        margen > 0 ? QStringLiteral("Tareas vencidas y próximas (a %1 km o menos)").arg(Formatos::Formatear_N(margen, 0))
                   : QStringLiteral("Tareas vencidas"),
        0, 10);
    criterio.CenterInBand = true;
    cabecera.Elements.push_back(criterio);
    cabecera.Elements.push_back(
        Derecha(Page_Number_Element(QStringLiteral("Pagina"), QStringLiteral("Página %1 de %2"), 140, 10, 50)));
    r.Bands.push_back(cabecera);

    TReportBand columnas = Banda(QStringLiteral("Columnas"), TBandKind::ColumnHeader, 6);
    columnas.Elements.push_back(Con_Fuente(Text_Element(QStringLiteral("TitTarea"), QStringLiteral("Tarea"), 10, 1), negrita));
    columnas.Elements.push_back(
        Con_Fuente(Derecha(Text_Element(QStringLiteral("TitProximo"), QStringLiteral("Próximo mant."), 80, 1, 35)), negrita));
    columnas.Elements.push_back(
        Con_Fuente(Derecha(Text_Element(QStringLiteral("TitRestantes"), QStringLiteral("Km restantes"), 120, 1, 35)), negrita));
    columnas.Elements.push_back(Con_Fuente(Text_Element(QStringLiteral("TitEstado"), QStringLiteral("Estado"), 162, 1), negrita));
    r.Bands.push_back(columnas);

    TReportBand vehiculo = Banda(QStringLiteral("Vehiculo"), TBandKind::Detail, 7);
    vehiculo.Elements.push_back(
        Con_Fuente(Field_Element(QStringLiteral("Matricula"), Campo("MATRICULA"), 0, 1.5, 30), negrita));
    vehiculo.Elements.push_back(Field_Element(QStringLiteral("Marca"), Campo("VEHICULO"), 32, 1.5, 90));
    vehiculo.Elements.push_back(Derecha(Field_Element(QStringLiteral("Kilometros"), Campo("KILOMETROS"), 125, 1.5, 65)));
    vehiculo.Elements.push_back(Rich_Text_Element(QStringLiteral("Tareas"), Campo("TAREAS"), 10, 6.5, 68));
    TReportElement proximos = Rich_Text_Element(QStringLiteral("Proximos"), Campo("PROXIMOS"), 80, 6.5, 35);
    proximos.Alignment = Qt::AlignRight;
    vehiculo.Elements.push_back(proximos);
    TReportElement restantes = Rich_Text_Element(QStringLiteral("Restantes"), Campo("RESTANTES"), 120, 6.5, 35);
    restantes.Alignment = Qt::AlignRight;
    vehiculo.Elements.push_back(restantes);
    vehiculo.Elements.push_back(Rich_Text_Element(QStringLiteral("Estados"), Campo("ESTADOS"), 162, 6.5, 28));
    r.Bands.push_back(vehiculo);

    TReportBand resumen = Banda(QStringLiteral("Resumen"), TBandKind::Summary, 8);
    resumen.Frame.Bottom = false;
    const int vehiculos = int(tabla->Rows.size());
    resumen.Elements.push_back(Con_Fuente(
        Text_Element(QStringLiteral("Totales"),
                     vencidas + proximas == 0
                         ? QStringLiteral("Ninguna tarea vencida ni próxima.")
                         : QStringLiteral("Total: %1 y %2 en %3.")
                               .arg(Cuantas(vencidas, "vencida", "vencidas"), Cuantas(proximas, "próxima", "próximas"),
                                    Cuantas(vehiculos, "vehículo", "vehículos")),
                     0, 2),
        negrita));
    r.Bands.push_back(resumen);
    return r;
}

TReport Informe_Vencimientos(TDatabase &db, qint32 margen)
{
    return Informe_Vencimientos(Calcular_Vencimientos_Flota(db), margen);
}

void Previsualizar_Vencimientos(TDatabase &db, qint32 margen)
{
    TReport informe = Informe_Vencimientos(db, margen);
    Previsualizar_Informe(informe, true, true);
}
