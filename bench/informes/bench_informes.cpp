// The report engine on a vehicle with 10,000 maintenance operations (a ruled
// landscape table of several hundred pages, laid out as the maintenance report),
// measured in one run against baselines taken side by side:
//  - time to the first page shown in the preview window, and the longest time
//    the window went without handling events while the rest were produced;
//  - generation of the whole report, against the same pages drawn by a
//    hand-written QPainter loop into QPicture pages from the same cursor (the floor);
//  - memory of the finished page store per page;
//  - save and load of the report's file, against copying that file.
//
//   QT_QPA_PLATFORM=offscreen bench_informes [repeticiones]
#include "DataModulo.h"
#include "FlotaGrande.h"
#include "Formatos.h"
#include "PageStore.h"
#include "Pagination.h"
#include "PreviewArea.h"
#include "QRepPreview.h"
#include "ReportDef.h"
#include "Table.h"
#include "Tareas.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPicture>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kOperaciones = 10000;

// Column boundaries (mm from the band's left edge) and the fields under them.
const double kLimites[] = {0,     16.7,  32.0,  50.0,  68.4,  86.6,  105.8, 123.8,
                           141.4, 160.0, 176.7, 195.2, 214.4, 232.2, 250.0, 266.9};
const char *const kTitulos[] = {"FECHA",    "KLMTRS",   "C/ACEITE",  "F/ACEITE",  "F/AIRE",
                                "F/COMBUS", "L/REFRIG", "L/FRENOS",  "P/DELANT.", "P/TRAS.",
                                "ATF/CAJA", "ATF/CONV.", "ATF/DIF.", "BUJIAS",    "ENGRASE"};
const char *const kCampos[] = {"FECHA",    "KILOMETROS",     "C_ACEITE",        "F_ACEITE",        "F_AIRE",
                               "F_COMBUSTIBLE", "L_REFRIGERANTE", "L_FRENOS",   "P_DELANTERAS",    "P_TRASERAS",
                               "ATF_CAJA", "ATF_CONVERTIDOR", "ATF_DIFERENCIAL", "BUJIAS",         "ENGRASE"};
constexpr int kColumnas = 15;
const QString kMascaraLectura = QStringLiteral("###,###");

TReportElement Columna(const QString &nombre, int c, double alto, const QString &texto, bool campo)
{
    const double izq = kLimites[c] + 0.5, ancho = kLimites[c + 1] - kLimites[c] - 1;
    TReportElement e = campo ? Field_Element(nombre, texto, izq, 1.5, ancho, alto - 2)
                             : Text_Element(nombre, texto, izq, 1.5, ancho, alto - 2);
    e.AutoSize = false;
    e.Alignment = c == 1 ? Qt::AlignRight : Qt::AlignHCenter;
    if (campo && c == 1)
        e.Mask = kMascaraLectura;
    e.Font = Report_Font(QStringLiteral("Arial"), 8, !campo);
    return e;
}

void Reglas(TReportBand &b)
{
    for (int c = 1; c < kColumnas; ++c)
        b.Elements.push_back(Line_Element(QStringLiteral("Regla%1").arg(c), kLimites[c] - 0.5, 0, 1, 0));
}

// The maintenance report's layout over the data module's cursors.
TReport Informe_Mantto_Banco()
{
    TReport r;
    r.Name = QStringLiteral("QrInformeMantto");
    r.Title = QStringLiteral("Informes");
    r.Master = QStringLiteral("TablaMatriculas");
    r.Orientation = TOrientation::Landscape;
    r.MarginTop = 10;
    r.MarginBottom = 10;
    r.MarginLeft = 5;
    r.MarginRight = 25;
    r.Font = Report_Font(QStringLiteral("Arial"), 10, true);

    TReportBand cabecera;
    cabecera.Name = QStringLiteral("PageHeaderBand1");
    cabecera.Kind = TBandKind::PageHeader;
    cabecera.Height = 8.5;
    cabecera.Frame = TFrame::All();
    TReportElement titulo = Text_Element(QStringLiteral("QRLabel1"), QStringLiteral("TAREAS DE MANTENIMIENTO"), 0, 2);
    titulo.CenterInBand = true;
    cabecera.Elements.push_back(titulo);
    TReportBand hueco;
    hueco.Name = QStringLiteral("ChildBand1");
    hueco.Kind = TBandKind::Child;
    hueco.Height = 3.8;
    TReportBand vehiculo;
    vehiculo.Name = QStringLiteral("ChildBand3");
    vehiculo.Kind = TBandKind::Child;
    vehiculo.Height = 8.5;
    vehiculo.Frame = TFrame{true, false, true, true};
    vehiculo.Elements.push_back(Field_Element(QStringLiteral("QRDBText1"), QStringLiteral("TablaMatriculas.MATRICULA"), 3.4, 2, 25.6));
    vehiculo.Elements.push_back(Field_Element(QStringLiteral("QRDBText2"), QStringLiteral("TablaMatriculas.sMarca"), 33.9, 2, 0));
    vehiculo.Elements.push_back(Field_Element(QStringLiteral("QRDBText3"), QStringLiteral("TablaMatriculas.sModelo"), 74.5, 2, 0));
    vehiculo.Elements.push_back(Text_Element(QStringLiteral("QRLabel2"), QStringLiteral("Kilómetros actuales:"), 125.3, 2));
    vehiculo.Elements.push_back(Field_Element(QStringLiteral("QRDBText4"), QStringLiteral("TablaMatriculas.KILOMETROS"), 162.6, 2, 0, 0,
                                              QStringLiteral("###.###,##")));
    TReportBand titulos;
    titulos.Name = QStringLiteral("ChildBand4");
    titulos.Kind = TBandKind::Child;
    titulos.Height = 6.8;
    titulos.Frame = TFrame{true, false, true, true};
    for (int c = 0; c < kColumnas; ++c)
        titulos.Elements.push_back(Columna(QStringLiteral("Titulo%1").arg(c), c, 6.8, QString::fromLatin1(kTitulos[c]), false));
    Reglas(titulos);
    vehiculo.Children.push_back(titulos);
    hueco.Children.push_back(vehiculo);
    cabecera.Children.push_back(hueco);
    r.Bands.push_back(cabecera);

    TReportBand fila;
    fila.Name = QStringLiteral("QRSubDetail1");
    fila.Kind = TBandKind::SubDetail;
    fila.Source = QStringLiteral("TableMantto");
    fila.Height = 6.8;
    fila.Frame = TFrame::All();
    for (int c = 0; c < kColumnas; ++c)
        fila.Elements.push_back(Columna(QStringLiteral("Dato%1").arg(c), c, 6.8,
                                        QStringLiteral("TableMantto.") + QString::fromLatin1(kCampos[c]), true));
    Reglas(fila);
    r.Bands.push_back(fila);

    TReportBand resumen;
    resumen.Name = QStringLiteral("QRBand1");
    resumen.Kind = TBandKind::Summary;
    resumen.Height = 7.6;
    resumen.Frame = TFrame{false, true, true, true};
    resumen.Elements.push_back(Text_Element(QStringLiteral("QRLabel14"), QStringLiteral("Próximo Mantto:"), 1.7, 1.5));
    r.Bands.push_back(resumen);
    return r;
}

// Generation into a page store, without a window.
struct TSalidaAlmacen
{
    std::shared_ptr<TPageStore> almacen = std::make_shared<TPageStore>();
    double ms = 0;
};

TSalidaAlmacen Generar(TReport &r)
{
    TSalidaAlmacen s;
    QElapsedTimer reloj;
    reloj.start();
    s.almacen->Start();
    TPageStoreOutput salida(*s.almacen, false);
    Generate_Report(r, salida);
    s.almacen->Finish();
    s.ms = reloj.nsecsElapsed() / 1e6;
    return s;
}

// The floor: the same pages drawn by hand, reading the same cursor.
double Suelo(TModuloDatos &m, int *paginas)
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
    const QFont titulo = fuente(10, true), columnas = fuente(8, true), datos = fuente(8, false);
    const QPen pluma = Thin_Pen();
    const int izq = FromMm(5), arriba = FromMm(10), ancho = FromMm(267), fondo = FromMm(200);
    TTable *t = m.TableMantto;
    std::vector<TField *> campos;
    for (const char *c : kCampos)
        campos.push_back(t->fieldByName(QString::fromLatin1(c)));
    const QString matricula = m.TablaMatriculas->fieldByName(QStringLiteral("MATRICULA"))->asString();
    const QString marca = m.TablaMatriculas->fieldByName(QStringLiteral("sMarca"))->asString();
    const QString modelo = m.TablaMatriculas->fieldByName(QStringLiteral("sModelo"))->asString();
    const QString km = Formatos::Formatear_Mascara(
        m.TablaMatriculas->fieldByName(QStringLiteral("KILOMETROS"))->asFloat(), QStringLiteral("###.###,##"));

    std::vector<QPicture> hojas;
    QPicture hoja;
    QPainter *p = nullptr;
    int y = 0;
    auto reglas = [&](int y0, int alto) {
        for (int c = 1; c < kColumnas; ++c) {
            const double x = izq + FromMm(kLimites[c]);
            p->drawLine(QLineF(x, y0, x, y0 + alto));
        }
    };
    auto celdas = [&](int y0, int alto, const QString *textos, const QFont &f) {
        p->setFont(f);
        for (int c = 0; c < kColumnas; ++c) {
            const QRectF r(izq + FromMm(kLimites[c] + 0.5), y0 + FromMm(1.5),
                           FromMm(kLimites[c + 1] - kLimites[c] - 1), alto - FromMm(2));
            p->drawText(r, (c == 1 ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignTop | Qt::TextDontClip, textos[c]);
        }
    };
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
                    QStringLiteral("TAREAS DE MANTENIMIENTO"));
        y += FromMm(8.5) + FromMm(3.8);
        p->drawLine(QLineF(izq, y, izq + ancho, y));
        p->drawLine(QLineF(izq, y, izq, y + FromMm(8.5)));
        p->drawLine(QLineF(izq + ancho, y, izq + ancho, y + FromMm(8.5)));
        p->drawText(QPointF(izq + FromMm(3.4), y + FromMm(6)), matricula);
        p->drawText(QPointF(izq + FromMm(33.9), y + FromMm(6)), marca);
        p->drawText(QPointF(izq + FromMm(74.5), y + FromMm(6)), modelo);
        p->drawText(QPointF(izq + FromMm(125.3), y + FromMm(6)), QStringLiteral("Kilómetros actuales:"));
        p->drawText(QPointF(izq + FromMm(162.6), y + FromMm(6)), km);
        y += FromMm(8.5);
        const int alto = FromMm(6.8);
        p->drawLine(QLineF(izq, y, izq + ancho, y));
        p->drawLine(QLineF(izq, y, izq, y + alto));
        p->drawLine(QLineF(izq + ancho, y, izq + ancho, y + alto));
        QString titulos[kColumnas];
        for (int c = 0; c < kColumnas; ++c)
            titulos[c] = QString::fromLatin1(kTitulos[c]);
        celdas(y, alto, titulos, columnas);
        reglas(y, alto);
        y += alto;
    };
    nueva();
    const int alto = FromMm(6.8);
    QString textos[kColumnas];
    for (t->first(); !t->eof(); t->next()) {
        if (y + alto > fondo)
            nueva();
        textos[0] = Formatos::Formatear_Fecha(campos[0]->value().toDate());
        textos[1] = Formatos::Formatear_Mascara(campos[1]->value().toDouble(), kMascaraLectura);
        for (int c = 2; c < kColumnas; ++c)
            textos[c] = campos[size_t(c)]->value().toString();
        p->drawRect(QRectF(izq, y, ancho, alto));
        celdas(y, alto, textos, datos);
        reglas(y, alto);
        y += alto;
    }
    p->end();
    delete p;
    hojas.push_back(hoja);
    *paginas = int(hojas.size());
    return reloj.nsecsElapsed() / 1e6;
}

struct TVista
{
    double primera = 0;      // until page 1 was painted in the window
    double total = 0;        // until the store finished
    double maximoSinEventos = 0;
    int paginas = 0;
};

// The real preview: the window shows page 1, then the rest arrive.
TVista Vista_Previa(TReport &r)
{
    TVista v;
    QElapsedTimer reloj;
    QElapsedTimer ultimoEvento;
    bool pintada = false, terminada = false;
    // A timer of 0 runs on every pass of the event loop: the gaps between its
    // runs are how long the window could not answer.
    QTimer latido;
    latido.setInterval(0);
    QObject::connect(&latido, &QTimer::timeout, [&] {
        if (!terminada)
            v.maximoSinEventos = std::max(v.maximoSinEventos, ultimoEvento.nsecsElapsed() / 1e6);
        ultimoEvento.start();
    });
    struct Pintura : QObject
    {
        std::function<void()> alPintar;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint && alPintar)
                alPintar();
            return false;
        }
    } pintura;
    QTimer sondeo;
    sondeo.setInterval(1);
    QObject::connect(&sondeo, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *f = qobject_cast<TFormQRepPreview *>(w);
            if (!f || !f->isVisible())
                continue;
            if (!pintura.alPintar) {
                pintura.alPintar = [&, f] {
                    if (!pintada && f->QRPreview->Store() && f->QRPreview->Store()->Page_Count() >= 1) {
                        pintada = true;
                        v.primera = reloj.nsecsElapsed() / 1e6;
                    }
                };
                f->QRPreview->viewport()->installEventFilter(&pintura);
            }
            if (f->PanelNumPag->isVisible()) {
                terminada = true;
                v.total = reloj.nsecsElapsed() / 1e6;
                v.paginas = f->QRPreview->Store()->Page_Count();
                sondeo.stop();
                f->BtnCerrar->click();
            }
        }
    });
    sondeo.start();
    latido.start();
    reloj.start();
    ultimoEvento.start();
    Previsualizar_Informe(r, true, true);
    latido.stop();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return v;
}

double Mediana(std::vector<double> v)
{
    return FlotaGrande::mediana(std::move(v));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int repeticiones = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    QTemporaryDir dir;
    const QString carpeta = dir.filePath(QStringLiteral("Datos"));
    FlotaGrande::Tamano tamano;
    tamano.marcas = 1;
    tamano.modelosPorMarca = 1;
    tamano.vehiculos = 1;
    tamano.mantenimientos = kOperaciones;
    tamano.averias = 0;
    tamano.ruedas = 0;
    tamano.fichas = 0;
    QDir().mkpath(carpeta);
    FlotaGrande::generarConAviso(carpeta, tamano);

    TModuloDatos::Establecer_Manejador_Error(FlotaGrande::salirConError);
    TModuloDatos modulo(carpeta);
    modulo.TablaMatriculas->open();
    modulo.TableMatriculas->first();
    if (modulo.TableMantto->recordCount() != kOperaciones) {
        std::fprintf(stderr, "el vehículo tiene %d operaciones\n", modulo.TableMantto->recordCount());
        return 1;
    }
    TReport informe = Informe_Mantto_Banco();

    std::vector<double> tGenerar, tSuelo, tPrimera, tVistaTotal, tSinEventos, tGuardar, tCargar, tCopiar;
    int paginas = 0, paginasSuelo = 0;
    double bytesPagina = 0;
    qint64 tamanoFichero = 0;
    const QString fichero = dir.filePath(QStringLiteral("informe.qrp"));
    const QString copia = dir.filePath(QStringLiteral("copia.qrp"));
    for (int i = 0; i < repeticiones; ++i) {
        tSuelo.push_back(Suelo(modulo, &paginasSuelo));
        TSalidaAlmacen s = Generar(informe);
        tGenerar.push_back(s.ms);
        paginas = s.almacen->Page_Count();
        bytesPagina = double(s.almacen->Memory_Bytes()) / paginas;

        TVista v = Vista_Previa(informe);
        tPrimera.push_back(v.primera);
        tVistaTotal.push_back(v.total);
        tSinEventos.push_back(v.maximoSinEventos);
        if (v.paginas != paginas) {
            std::fprintf(stderr, "la vista tuvo %d páginas, no %d\n", v.paginas, paginas);
            return 1;
        }

        // Save, load and copy, each timed several times in turn, so that the
        // machine's load falls on all three alike.
        for (int k = 0; k < 3; ++k) {
            QElapsedTimer reloj;
            QFile::remove(fichero);
            reloj.start();
            s.almacen->Save(fichero);
            tGuardar.push_back(reloj.nsecsElapsed() / 1e6);
            tamanoFichero = QFileInfo(fichero).size();

            QFile::remove(copia);
            reloj.start();
            QFile::copy(fichero, copia);
            tCopiar.push_back(reloj.nsecsElapsed() / 1e6);

            TPageStore cargado;
            reloj.start();
            cargado.Load(fichero);
            tCargar.push_back(reloj.nsecsElapsed() / 1e6);
            if (cargado.Page_Count() != paginas)
                return 1;
        }
    }

    const double gen = Mediana(tGenerar), suelo = Mediana(tSuelo), copiar = Mediana(tCopiar);
    std::printf("Informe de %d operaciones: %d páginas apaisadas (el suelo dibujó %d)\n", kOperaciones, paginas,
                paginasSuelo);
    std::printf("Primera página pintada en la vista previa: mediana %.1f ms (objetivo < 100 ms)\n", Mediana(tPrimera));
    std::printf("Mayor tiempo sin atender eventos mientras genera: mediana %.1f ms\n", Mediana(tSinEventos));
    std::printf("Vista previa completa: mediana %.0f ms\n", Mediana(tVistaTotal));
    std::printf("Generación completa: mediana %.0f ms = %.1f páginas/s; suelo (QPainter a mano) %.0f ms = %.1f "
                "páginas/s; %.2f× el suelo (objetivo ≤ 1,5×)\n",
                gen, paginas * 1000.0 / gen, suelo, paginasSuelo * 1000.0 / suelo, gen / suelo);
    std::printf("Memoria del almacén terminado: %.1f KB por página (objetivo < 200 KB)\n", bytesPagina / 1024);
    std::printf("Fichero .qrp: %.1f MB; copiarlo %.1f ms\n", tamanoFichero / 1048576.0, copiar);
    std::printf("Guardar: mediana %.1f ms = %.2f× copiar; cargar: mediana %.1f ms = %.2f× copiar (objetivo ≤ 2×)\n",
                Mediana(tGuardar), Mediana(tGuardar) / copiar, Mediana(tCargar), Mediana(tCargar) / copiar);
    return 0;
}
