// The vehicle list with intervals over the large fleet (5,000 vehicles, a
// block per vehicle with its brand's thirteen intervals), from the command to
// the last page, measured in one run against a floor taken side by side: the
// same pages drawn by a hand-written QPainter loop into QPicture pages, reading
// the same cursors in the same way (the interval cursor filtered to each
// vehicle's brand). The plain list is timed too, for information.
//
//   QT_QPA_PLATFORM=offscreen bench_listas [repeticiones]
#include "DataModulo.h"
#include "FlotaGrande.h"
#include "Formatos.h"
#include "ListaVehiIntervalo.h"
#include "ListaVehiculos.h"
#include "PageStore.h"
#include "Pagination.h"
#include "PreviewArea.h"
#include "QRepPreview.h"
#include "ReportDef.h"
#include "Table.h"
#include "Tareas.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QPicture>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <vector>

namespace {

// Generation into a page store, without a window; the form made and freed
// inside, as the command does.
template <class Crear, class Informe>
double Generar(Crear crear, Informe informe, int *paginas)
{
    QElapsedTimer reloj;
    reloj.start();
    auto forma = crear();
    TPageStore almacen;
    almacen.Start();
    TPageStoreOutput salida(almacen, false);
    Generate_Report(informe(*forma), salida);
    almacen.Finish();
    forma.reset();
    *paginas = almacen.Page_Count();
    return reloj.nsecsElapsed() / 1e6;
}

// The same, through the preview window, until its last page is there.
template <class Crear, class Informe>
double Vista_Previa(Crear crear, Informe informe, int *paginas)
{
    QElapsedTimer reloj;
    QTimer sondeo;
    sondeo.setInterval(1);
    double total = 0;
    QObject::connect(&sondeo, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *f = qobject_cast<TFormQRepPreview *>(w);
            if (f && f->isVisible() && f->PanelNumPag->isVisible()) {
                total = reloj.nsecsElapsed() / 1e6;
                *paginas = f->QRPreview->Store()->Page_Count();
                sondeo.stop();
                f->BtnCerrar->click();
            }
        }
    });
    sondeo.start();
    reloj.start();
    auto forma = crear();
    Previsualizar_Informe(informe(*forma), true, true);
    forma.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return total;
}

// The floor: the list with intervals drawn by hand, band by band as the
// report lays them out, reading the same cursors.
double Suelo_Intervalos(TModuloDatos &m, int *paginas)
{
    using ReportUnits::FromMm;
    QElapsedTimer reloj;
    reloj.start();
    QPicture medida;
    const double escala = double(ReportUnits::PerInch) / medida.logicalDpiY();
    auto fuente = [escala](double puntos, bool negrita) {
        QFont f(QStringLiteral("Arial"));
        f.setPointSizeF(puntos * escala);
        f.setBold(negrita);
        f.setHintingPreference(QFont::PreferNoHinting);
        return f;
    };
    const QFont titulo = fuente(10, true), etiqueta = fuente(8, false), valor = fuente(9, true);
    const QFontMetricsF metricaEtiqueta(etiqueta, &medida);
    const QPen pluma = Thin_Pen();
    const int izq = FromMm(10), arriba = FromMm(10), ancho = FromMm(190), fondo = FromMm(287);
    const int altoVehiculo = FromMm(6.8), altoBloque = FromMm(27.1), altoHueco = FromMm(4.7);
    const QString mascara = QStringLiteral("###.###,##");

    struct Celda
    {
        TField *campo;
        QString nombre;
        double x, y, xValor, finValor;
    };
    const double columnas[][2] = {{2.0, 50.3}, {58.0, 114.7}, {122.5, 182.2}};
    const char *const tareas[][5] = {{"BUJIAS", "C_ACEITE", "F_ACEITE", "F_AIRE", "F_COMBUSTIBLE"},
                                     {"L_REFRIGERANTE", "L_FRENOS", "P_DELANTERAS", "P_TRASERAS", nullptr},
                                     {"ATF_CAJA", "ATF_CONVERTIDOR", "ATF_DIFERENCIAL", "ENGRASE", nullptr}};

    TTable *vehiculos = m.TablaMatriculas, *km = m.TablaKmCambios;
    vehiculos->close();
    vehiculos->setFiltered(false);
    vehiculos->open();
    km->open();
    std::vector<Celda> celdas;
    for (int c = 0; c < 3; ++c)
        for (int f = 0; f < 5 && tareas[c][f]; ++f) {
            const QString campo = QString::fromLatin1(tareas[c][f]);
            const QString nombre = Tareas()[size_t(Indice_Tarea(campo))].Nombre;
            const double x = FromMm(columnas[c][0]);
            celdas.push_back({km->fieldByName(campo), nombre, x, double(FromMm(1.7 + 5.1 * f)),
                              x + metricaEtiqueta.horizontalAdvance(nombre) + FromMm(1), double(FromMm(columnas[c][1]))});
        }
    TField *matricula = vehiculos->fieldByName(QStringLiteral("MATRICULA"));
    TField *marca = vehiculos->fieldByName(QStringLiteral("sMarca"));
    TField *modelo = vehiculos->fieldByName(QStringLiteral("sModelo"));
    TField *codigo = vehiculos->fieldByName(QStringLiteral("MARCA"));

    std::vector<QPicture> hojas;
    QPicture hoja;
    QPainter *p = nullptr;
    int y = 0;
    bool cuerpo = false;
    auto nueva = [&] {
        if (p) {
            p->end();
            delete p;
            hojas.push_back(hoja);
        }
        hoja = QPicture();
        p = new QPainter(&hoja);
        p->setPen(pluma);
        y = arriba;
        p->drawRect(QRectF(izq, y, ancho, FromMm(8.5)));
        p->setFont(titulo);
        p->drawText(QRectF(izq, y + FromMm(2), ancho, FromMm(5)), Qt::AlignHCenter | Qt::AlignTop,
                    QStringLiteral("LISTADO DE VEHÍCULOS + INTERVALOS DE MANTENIMIENTO"));
        y += FromMm(8.5) + FromMm(3.8);
        cuerpo = false;
    };
    auto sitio = [&](int alto) {
        if (cuerpo && y + alto > fondo)
            nueva();
        cuerpo = true;
    };
    nueva();
    for (vehiculos->first(); !vehiculos->eof(); vehiculos->next()) {
        km->setFilter(Filtro_Marca(codigo->asInteger()));
        km->setFiltered(true);
        sitio(altoVehiculo);
        p->drawRect(QRectF(izq, y, ancho, altoVehiculo));
        p->setFont(titulo);
        p->drawText(QPointF(izq + FromMm(5.1), y + FromMm(5)), matricula->asString());
        p->drawText(QPointF(izq + FromMm(35.6), y + FromMm(5)), marca->asString());
        p->drawText(QPointF(izq + FromMm(84.7), y + FromMm(5)), modelo->asString());
        y += altoVehiculo;
        km->first();
        do {
            sitio(altoBloque);
            p->drawLine(QLineF(izq, y, izq, y + altoBloque));
            p->drawLine(QLineF(izq + ancho, y, izq + ancho, y + altoBloque));
            p->drawLine(QLineF(izq, y + altoBloque, izq + ancho, y + altoBloque));
            for (const Celda &c : celdas) {
                p->setFont(etiqueta);
                p->drawText(QPointF(izq + c.x, y + c.y + FromMm(3.3)), c.nombre);
                p->setFont(valor);
                const QString texto =
                    km->eof() ? QString() : Formatos::Formatear_Mascara(c.campo->asFloat(), mascara);
                p->drawText(QRectF(izq + c.xValor, y + c.y, c.finValor - c.xValor, FromMm(4)),
                            Qt::AlignRight | Qt::AlignTop | Qt::TextDontClip, texto);
            }
            y += altoBloque;
            sitio(altoHueco);
            y += altoHueco;
            if (!km->eof())
                km->next();
        } while (!km->eof());
    }
    p->end();
    delete p;
    hojas.push_back(hoja);
    vehiculos->close();
    km->close();
    km->setFiltered(false);
    *paginas = int(hojas.size());
    return reloj.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int repeticiones = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    QTemporaryDir dir;
    const QString carpeta = dir.filePath(QStringLiteral("Datos"));
    FlotaGrande::Tamano tamano;
    tamano.mantenimientos = 0;
    tamano.averias = 0;
    QDir().mkpath(carpeta);
    FlotaGrande::generarConAviso(carpeta, tamano);

    TModuloDatos::Establecer_Manejador_Error(FlotaGrande::salirConError);
    TModuloDatos modulo(carpeta);
    modulo.TableMatriculas->first();

    auto intervalos = [] { return Crear_Lista_Vehi_Intervalos(); };
    auto informeIntervalos = [](TFormListaVehi_I &f) -> TReport & { return f.QrVehiculosI; };
    auto simple = [] { return Crear_Lista_Vehiculos(); };
    auto informeSimple = [](TFormListaVehiculos &f) -> TReport & { return f.QrListaVehiculos; };

    std::vector<double> tInformes, tSuelo, tVista, tSimple;
    int paginas = 0, paginasSuelo = 0, paginasVista = 0, paginasSimple = 0;
    for (int i = 0; i < repeticiones; ++i) {
        tSuelo.push_back(Suelo_Intervalos(modulo, &paginasSuelo));
        tInformes.push_back(Generar(intervalos, informeIntervalos, &paginas));
        tVista.push_back(Vista_Previa(intervalos, informeIntervalos, &paginasVista));
        tSimple.push_back(Generar(simple, informeSimple, &paginasSimple));
    }
    const double informe = FlotaGrande::mediana(tInformes), suelo = FlotaGrande::mediana(tSuelo);
    std::printf("Listado de %d vehículos con intervalos: %d páginas (el suelo dibujó %d)\n", tamano.vehiculos,
                paginas, paginasSuelo);
    std::printf("De la orden a la última página: mediana %.0f ms = %.1f páginas/s; suelo (QPainter a mano, mismos "
                "cursores) %.0f ms; %.2f× el suelo (objetivo ≤ 1,5×)\n",
                informe, paginas * 1000.0 / informe, suelo, informe / suelo);
    std::printf("Con la ventana de vista previa, hasta la última página (%d): mediana %.0f ms\n", paginasVista,
                FlotaGrande::mediana(tVista));
    std::printf("Listado simple de %d vehículos (sobre el cursor de vehículos del módulo): %d páginas, mediana %.0f ms\n",
                tamano.vehiculos, paginasSimple, FlotaGrande::mediana(tSimple));
    return paginas == paginasSuelo ? 0 : 1;
}
