// The maintenance and breakdowns reports of one vehicle of the large fleet,
// each from the report dialog's "Aceptar" to the last page in the preview
// window, against a floor taken side by side in the same run: the same pages
// drawn by a hand-written QPainter loop into QPicture pages, reading the same
// cursors. The maintenance report is that of the vehicle with the most
// operations; the breakdowns history that of a vehicle given 300 breakdowns
// with long fault, repair and materials texts.
//
//   QT_QPA_PLATFORM=offscreen bench_informes_vehiculo [vueltas [mantenimiento|averias]]
#include "DataModulo.h"
#include "FlotaGrande.h"
#include "Formatos.h"
#include "InformeAverias.h"
#include "InformeMantto.h"
#include "Informes.h"
#include "PageStore.h"
#include "Pagination.h"
#include "PrepararInformes.h"
#include "PreviewArea.h"
#include "QRepPreview.h"
#include "Table.h"
#include "Tareas.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QPicture>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

using ReportUnits::FromMm;

constexpr int kAverias = 300;

// ---- The fleet ----------------------------------------------------------------------

void Sql(sqlite3 *db, const char *sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", err);
        std::exit(1);
    }
}

// `n` lines of about sixty characters.
QString Texto(QRandomGenerator &azar, int n, const char *que)
{
    QStringList l;
    for (int i = 1; i <= n; ++i)
        l << QStringLiteral("%1 %2: revisar el circuito, sustituir la pieza y comprobar %3.")
                 .arg(QLatin1String(que))
                 .arg(i)
                 .arg(azar.bounded(1000));
    return l.join(QLatin1Char('\n'));
}

// 300 breakdowns with long texts for `matricula`, in one transaction.
void Averias_Largas(const QString &carpeta, const QString &matricula)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(QDir(carpeta).filePath(QStringLiteral("Averias.DAT"))).constData(), &db);
    Sql(db, "BEGIN");
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Averias (FECHAINICIO, MATRICULA, ESTADO, AVERIA, FECHAFIN, REPARACION, KILOMETROS, "
                       "MATERIALES, IMPORTE) VALUES (?, ?, 'C', ?, ?, ?, ?, ?, ?)",
                       -1, &st, nullptr);
    QRandomGenerator azar(15);
    auto texto = [&](int i, const QString &t) {
        const QByteArray u = t.toUtf8();
        sqlite3_bind_text(st, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
    };
    for (int n = 0; n < kAverias; ++n) {
        const QDate inicio = QDate(2010, 1, 1).addDays(n * 7);
        texto(1, inicio.toString(Qt::ISODate));
        texto(2, matricula);
        texto(3, Texto(azar, 4 + int(azar.bounded(11)), "Avería"));
        texto(4, inicio.addDays(3).toString(Qt::ISODate));
        texto(5, Texto(azar, 2 + int(azar.bounded(5)), "Reparación"));
        sqlite3_bind_int(st, 6, 1000 * n);
        if (n % 3)
            texto(7, Texto(azar, int(azar.bounded(5)), "Material"));
        else
            sqlite3_bind_null(st, 7);
        sqlite3_bind_double(st, 8, azar.bounded(100000) / 100.0);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    Sql(db, "COMMIT");
    sqlite3_close(db);
}

QString Mas_Operaciones(const QString &carpeta)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(QDir(carpeta).filePath(QStringLiteral("Mantenimiento.DAT"))).constData(), &db);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT MATRICULA FROM Mantenimiento GROUP BY MATRICULA ORDER BY COUNT(*) DESC LIMIT 1", -1, &st,
                       nullptr);
    sqlite3_step(st);
    const QString r = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return r;
}

// ---- The floors: the same pages drawn by hand ---------------------------------------

struct THojas
{
    QPicture medida;
    double escala = double(ReportUnits::PerInch) / medida.logicalDpiY();
    std::vector<QPicture> hojas;
    QPicture hoja;
    QPainter *p = nullptr;

    QFont Fuente(double puntos, bool negrita)
    {
        QFont f(QStringLiteral("Arial"));
        f.setPointSizeF(puntos * escala);
        f.setBold(negrita);
        f.setHintingPreference(QFont::PreferNoHinting);
        return f;
    }
    void Nueva()
    {
        Cerrar();
        hoja = QPicture();
        p = new QPainter(&hoja);
        p->setPen(Thin_Pen());
    }
    void Cerrar()
    {
        if (p) {
            p->end();
            delete p;
            p = nullptr;
            hojas.push_back(hoja);
        }
    }
};

const double kLimitesMantto[] = {0,     16.7,  32.0,  50.0,  68.4,  86.6,  105.8, 123.8,
                                 141.4, 160.0, 176.7, 195.2, 214.4, 232.2, 250.0, 266.9};

int Suelo_Mantto(TModuloDatos &m)
{
    THojas h;
    const QFont titulo = h.Fuente(10, true), celdas = h.Fuente(8, true), resumen = h.Fuente(9, true);
    const int izq = FromMm(5), arriba = FromMm(10), ancho = FromMm(267), fondo = FromMm(200);
    TTable *t = m.TableMantto;
    std::vector<TField *> campos{t->fieldByName(QStringLiteral("FECHA")), t->fieldByName(QStringLiteral("KILOMETROS"))};
    for (const tTarea &ta : Tareas())
        campos.push_back(t->fieldByName(ta.Campo));
    TTable *v = m.TablaMatriculas;
    const QStringList vehiculo{v->fieldByName(QStringLiteral("MATRICULA"))->asString(),
                               v->fieldByName(QStringLiteral("sMarca"))->asString(),
                               v->fieldByName(QStringLiteral("sModelo"))->asString(), QStringLiteral("Kilómetros actuales:"),
                               Formatos::Formatear_Mascara(v->fieldByName(QStringLiteral("KILOMETROS"))->asFloat(),
                                                           QStringLiteral("###.###,##"))};
    const double xs[] = {3.4, 33.9, 74.5, 125.3, 162.6};
    int y = 0;
    QString textos[15];
    auto fila = [&](int alto, const QFont &f, bool reglas) {
        h.p->setFont(f);
        for (int c = 0; c < 15; ++c)
            h.p->drawText(QRectF(izq + FromMm(kLimitesMantto[c] + 0.6), y + FromMm(1.7),
                                 FromMm(kLimitesMantto[c + 1] - kLimitesMantto[c] - 1.2), alto),
                          (c == 1 ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignTop | Qt::TextDontClip, textos[c]);
        if (reglas)
            for (int c = 1; c < 15; ++c)
                h.p->drawLine(QLineF(izq + FromMm(kLimitesMantto[c]), y, izq + FromMm(kLimitesMantto[c]), y + alto));
    };
    auto pagina = [&] {
        h.Nueva();
        y = arriba;
        h.p->drawRect(QRectF(izq, y, ancho, FromMm(8.5)));
        h.p->setFont(titulo);
        h.p->drawText(QRectF(izq, y + FromMm(2.2), ancho, FromMm(5)), Qt::AlignHCenter | Qt::AlignTop,
                      QStringLiteral("TAREAS DE MANTENIMIENTO"));
        y += FromMm(8.5 + 3.8);
        h.p->drawRect(QRectF(izq, y, ancho, FromMm(8.5)));
        for (int i = 0; i < 5; ++i)
            h.p->drawText(QRectF(izq + FromMm(xs[i]), y + FromMm(2.2), FromMm(40), FromMm(5)), Qt::AlignTop, vehiculo[i]);
        y += FromMm(8.5);
        textos[0] = QStringLiteral("FECHA");
        textos[1] = QStringLiteral("KLMTRS");
        for (int i = 0; i < Num_Tareas; ++i)
            textos[2 + i] = Tareas()[size_t(i)].Cabecera_Informe;
        h.p->drawRect(QRectF(izq, y, ancho, FromMm(6.8)));
        fila(FromMm(6.8), celdas, true);
        y += FromMm(6.8);
    };
    pagina();
    const int alto = FromMm(6.8);
    for (t->first(); !t->eof(); t->next()) {
        if (y + alto > arriba + fondo)
            pagina();
        textos[0] = Formatos::Formatear_Fecha(campos[0]->value().toDate());
        textos[1] = Formatos::Formatear_Mascara(campos[1]->value().toDouble(), QStringLiteral("###,###"));
        for (int c = 2; c < 15; ++c)
            textos[c] = campos[size_t(c)]->value().toString();
        h.p->drawRect(QRectF(izq, y, ancho, alto));
        fila(alto, celdas, true);
        y += alto;
    }
    if (y + FromMm(7.6) > arriba + fondo)
        pagina();
    textos[0] = QStringLiteral("Próximo Mantto:");
    textos[1].clear();
    for (int i = 0; i < Num_Tareas; ++i)
        textos[2 + i] = Formatos::Formatear_N(m.Km_Proximo[size_t(i)], 0);
    h.p->drawRect(QRectF(izq, y, ancho, FromMm(7.6)));
    fila(FromMm(7.6), resumen, true);
    h.Cerrar();
    return int(h.hojas.size());
}

int Suelo_Averias(TModuloDatos &m)
{
    THojas h;
    const QFont negrita10 = h.Fuente(10, true), negrita9 = h.Fuente(9, true), normal9 = h.Fuente(9, false),
                normal10 = h.Fuente(10, false);
    const int izq = FromMm(10), arriba = FromMm(10), ancho = FromMm(190), fondo = arriba + FromMm(277);
    const double limites[] = {0, 19.3, 37.9, 57.4, 122.6, 190.1};
    auto doc = [&](QTextDocument &d, const QFont &f, double mm) {
        d.documentLayout()->setPaintDevice(&h.medida);
        d.setDocumentMargin(0);
        d.setDefaultFont(f);
        d.setTextWidth(FromMm(mm));
    };
    QTextDocument averia, reparacion, materiales;
    doc(averia, normal9, 63.6);
    doc(reparacion, normal9, 65.9);
    doc(materiales, normal10, 63.6);
    TTable *t = m.TableAverias;
    TField *fInicio = t->fieldByName(QStringLiteral("FECHAINICIO")), *fFin = t->fieldByName(QStringLiteral("FECHAFIN")),
           *fKm = t->fieldByName(QStringLiteral("KILOMETROS")), *fAveria = t->fieldByName(QStringLiteral("AVERIA")),
           *fReparacion = t->fieldByName(QStringLiteral("REPARACION")),
           *fMateriales = t->fieldByName(QStringLiteral("MATERIALES")), *fImporte = t->fieldByName(QStringLiteral("IMPORTE"));
    int y = 0;
    auto pagina = [&] {
        h.Nueva();
        y = arriba;
        h.p->drawRect(QRectF(izq, y, ancho, FromMm(8.5)));
        h.p->setFont(negrita10);
        h.p->drawText(QRectF(izq, y + FromMm(2.2), ancho, FromMm(5)), Qt::AlignHCenter | Qt::AlignTop,
                      QStringLiteral("LISTADO DE AVERIAS"));
        y += FromMm(8.5 + 3.8);
    };
    auto reglas = [&](int desde, int hasta, int primera) {
        for (int c = primera; c < 5; ++c)
            h.p->drawLine(QLineF(izq + FromMm(limites[c]), desde, izq + FromMm(limites[c]), hasta));
    };
    auto dibujar = [&](QTextDocument &d, double mmIzq, int top) {
        h.p->save();
        h.p->translate(izq + FromMm(mmIzq), top);
        d.documentLayout()->draw(h.p, QAbstractTextDocumentLayout::PaintContext());
        h.p->restore();
    };
    pagina();
    TTable *v = m.TablaMatriculas;
    h.p->drawRect(QRectF(izq, y, ancho, FromMm(6.8)));
    h.p->drawText(QRectF(izq + FromMm(3.4), y + FromMm(1.3), FromMm(27.3), FromMm(5)), Qt::AlignTop,
                  v->fieldByName(QStringLiteral("MATRICULA"))->asString());
    h.p->drawText(QRectF(izq + FromMm(40.6), y + FromMm(1.3), FromMm(40), FromMm(5)), Qt::AlignTop,
                  v->fieldByName(QStringLiteral("sMarca"))->asString());
    h.p->drawText(QRectF(izq + FromMm(83), y + FromMm(1.3), FromMm(40), FromMm(5)), Qt::AlignTop,
                  v->fieldByName(QStringLiteral("sModelo"))->asString());
    h.p->drawText(QRectF(izq + FromMm(128.7), y + FromMm(1.3), FromMm(40), FromMm(5)), Qt::AlignTop,
                  QStringLiteral("Kilómetros actuales:"));
    h.p->drawText(QRectF(izq + FromMm(165.5), y + FromMm(1.3), FromMm(22.4), FromMm(5)), Qt::AlignTop | Qt::AlignRight,
                  Formatos::Formatear_Mascara(v->fieldByName(QStringLiteral("KILOMETROS"))->asFloat(),
                                              QStringLiteral("###.###,##")));
    y += FromMm(6.8);
    h.p->drawRect(QRectF(izq, y, ancho, FromMm(6.8)));
    h.p->setFont(negrita9);
    const char *const titulos[] = {"ENTRADA", "SALIDA", "KMTROS", "AVERIA", "REPARACIÓN"};
    for (int c = 0; c < 5; ++c)
        h.p->drawText(QRectF(izq + FromMm(limites[c] + 0.8), y + FromMm(1.5), FromMm(limites[c + 1] - limites[c] - 1.6),
                             FromMm(4)),
                      (c < 3 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignTop, QString::fromUtf8(titulos[c]));
    reglas(y, y + FromMm(6.8), 1);
    y += FromMm(6.8);
    double total = 0;
    for (t->first(); !t->eof(); t->next()) {
        averia.setPlainText(fAveria->asString());
        reparacion.setPlainText(fReparacion->asString());
        const int alto = std::max(FromMm(11.9), FromMm(1) + int(std::ceil(std::max(averia.size().height(),
                                                                                     reparacion.size().height()))));
        if (y + alto > fondo)
            pagina();
        h.p->drawRect(QRectF(izq, y, ancho, alto));
        h.p->setFont(normal9);
        const QString datos[] = {Formatos::Formatear_Fecha(fInicio->asDate()), Formatos::Formatear_Fecha(fFin->asDate()),
                                 Formatos::Formatear_Mascara(fKm->asFloat(), QStringLiteral("###,###"))};
        for (int c = 0; c < 3; ++c)
            h.p->drawText(QRectF(izq + FromMm(limites[c] + 0.8), y + FromMm(1.5), FromMm(limites[c + 1] - limites[c] - 1.6),
                                 FromMm(4)),
                          (c == 2 ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignTop, datos[c]);
        dibujar(averia, 58.2, y + FromMm(1));
        dibujar(reparacion, 123.4, y + FromMm(1));
        reglas(y, y + alto, 1);
        y += alto;
        const QString mat = fMateriales->asString();
        const double importe = fImporte->asFloat();
        total += importe;
        if (mat.isEmpty() && importe == 0)
            continue;
        materiales.setPlainText(mat);
        const int altoM = std::max(FromMm(13.5), FromMm(5) + int(std::ceil(materiales.size().height())));
        if (y + altoM > fondo)
            pagina();
        h.p->drawRect(QRectF(izq, y, ancho, altoM));
        h.p->setFont(negrita9);
        h.p->drawText(QRectF(izq + FromMm(58.2), y + FromMm(0.8), FromMm(63.6), FromMm(4)), Qt::AlignHCenter | Qt::AlignTop,
                      QStringLiteral("MATERIALES"));
        dibujar(materiales, 58.2, y + FromMm(5));
        h.p->setFont(negrita10);
        h.p->drawText(QRectF(izq + FromMm(123.4), y + FromMm(1.5), FromMm(20), FromMm(5)), Qt::AlignTop,
                      QStringLiteral("Importe:"));
        h.p->drawText(QRectF(izq + FromMm(143.5), y + FromMm(1.5), FromMm(25.6), FromMm(5)), Qt::AlignTop | Qt::AlignRight,
                      Formatos::Formatear_Mascara(importe, QStringLiteral("###.###.###,##")));
        reglas(y, y + altoM, 3);
        y += altoM;
    }
    if (y + FromMm(8.5) > fondo)
        pagina();
    h.p->setFont(negrita10);
    h.p->drawText(QRectF(izq + FromMm(117.9), y + FromMm(2), FromMm(25), FromMm(5)), Qt::AlignTop,
                  QStringLiteral("Importe Total"));
    h.p->drawText(QRectF(izq + FromMm(143.3), y + FromMm(2), FromMm(25.8), FromMm(5)), Qt::AlignTop | Qt::AlignRight,
                  Formatos::Formatear_N(total, 2));
    h.Cerrar();
    return int(h.hojas.size());
}
// ---- The command, through the dialog and the preview --------------------------------

// Wall time, what the user waits, and the time this thread spent on the processor:
// on a machine shared with other work the second leaves out the waits for a core,
// which with pages of a few milliseconds are most of the noise.
struct TTiempo
{
    double ms = 0;
    double cpu = 0;
};

double Cpu_Hilo_Ms()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct TReloj
{
    QElapsedTimer pared;
    double cpu0 = 0;
    TReloj() { Iniciar(); }
    void Iniciar()
    {
        cpu0 = Cpu_Hilo_Ms();
        pared.start();
    }
    TTiempo Leer() const { return {pared.nsecsElapsed() / 1e6, Cpu_Hilo_Ms() - cpu0}; }
};

struct TMedida
{
    TTiempo t;
    int paginas = 0;
};

// From the click on "&Aceptar" until the preview holds the last page.
TMedida Desde_La_Orden(TFormInformes &dialogo)
{
    TMedida r;
    TReloj reloj;
    QTimer sondeo;
    sondeo.setInterval(0);
    QObject::connect(&sondeo, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *f = qobject_cast<TFormQRepPreview *>(w);
            if (f && f->isVisible() && f->PanelNumPag->isVisible()) {
                r.t = reloj.Leer();
                r.paginas = f->QRPreview->Store()->Page_Count();
                sondeo.stop();
                f->BtnCerrar->click();
            }
        }
    });
    sondeo.start();
    reloj.Iniciar();
    dialogo.BtnAceptar->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return r;
}

bool Preparar(TModuloDatos &m, quint8 tipo)
{
    return tipo == Informe_Mantenimiento ? Preparar_Informe_Mantto(m) : Preparar_Informe_Averias(m, true);
}

// The floor includes the data preparation the command does before any page:
// the vehicle's filter and, for the maintenance report, its due readings
// (Calcular_Proximo_Mantenimiento). The pages print what it reads and works
// out, so a hand-written program printing them has to do that work too, and
// the command cannot leave it out; done here by the same functions. Releasing
// the filter comes after the last page on both sides, outside both clocks.
TTiempo Suelo(TModuloDatos &m, quint8 tipo, int *paginas)
{
    TReloj reloj;
    Preparar(m, tipo);
    tVehiculoInforme vehiculo(m);
    *paginas = tipo == Informe_Mantenimiento ? Suelo_Mantto(m) : Suelo_Averias(m);
    return reloj.Leer();
}

// Preparation, the report object and the generation into a page store, without the window.
TTiempo Sin_Ventana(TModuloDatos &m, quint8 tipo, double *preparar)
{
    TReloj reloj;
    Preparar(m, tipo);
    tVehiculoInforme vehiculo(m);
    *preparar = reloj.Leer().ms;
    std::unique_ptr<TFormInformeMantto> a;
    std::unique_ptr<TFormInformeAverias> b;
    TReport &r = tipo == Informe_Mantenimiento ? (a = Crear_Informe_Mantto())->Informe() : (b = Crear_Informe_Averias())->Informe();
    TPageStore almacen;
    almacen.Start();
    TPageStoreOutput salida(almacen, false);
    Generate_Report(r, salida);
    almacen.Finish();
    return reloj.Leer();
}

struct TSerie
{
    std::vector<double> ms, cpu;
    void Anadir(TTiempo t)
    {
        ms.push_back(t.ms);
        cpu.push_back(t.cpu);
    }
};

double Minimo(const std::vector<double> &v)
{
    return *std::min_element(v.begin(), v.end());
}

// The median of each round's own ratio, which a load changing between rounds moves least.
double Razon(const std::vector<double> &a, const std::vector<double> &b)
{
    std::vector<double> r;
    for (size_t i = 0; i < a.size(); ++i)
        r.push_back(a[i] / b[i]);
    return FlotaGrande::mediana(r);
}

void Linea(const char *que, const TSerie &s, const TSerie &suelo)
{
    using FlotaGrande::mediana;
    std::printf("  %s: mediana %.1f ms (mínimo %.1f), %.2f× el suelo; en el procesador %.1f ms, %.2f× el suelo\n", que,
                mediana(s.ms), Minimo(s.ms), Razon(s.ms, suelo.ms), mediana(s.cpu), Razon(s.cpu, suelo.cpu));
}

// With a few pages a single run's milliseconds are noise on a loaded machine:
// rounds after a warm-up, each taking the floor, the report without the window
// and the command side by side (in an order that turns every round, so that
// none always runs on the caches another one left), and medians.
void Medir(TModuloDatos &m, const QString &matricula, quint8 tipo, int repeticiones, const char *nombre)
{
    constexpr int kCalentamiento = 3;
    m.TableMatriculas->locate(QStringLiteral("MATRICULA"), matricula);
    m.Tipo_Informe = tipo;
    TFormInformes dialogo;
    dialogo.show();
    if (tipo == Informe_Averias)
        dialogo.CBAverias->setChecked(true);
    TSerie orden, suelo, sinVentana;
    std::vector<double> preparar, ventana, ventanaCpu;
    int paginas = 0, paginasSuelo = 0;
    for (int i = 0; i < kCalentamiento + repeticiones; ++i) {
        TTiempo s, sv, o;
        double p = 0;
        for (int k = 0; k < 3; ++k) {
            switch ((k + i) % 3) {
            case 0:
                s = Suelo(m, tipo, &paginasSuelo);
                break;
            case 1:
                sv = Sin_Ventana(m, tipo, &p);
                break;
            default: {
                const TMedida r = Desde_La_Orden(dialogo);
                o = r.t;
                paginas = r.paginas;
            }
            }
        }
        if (i < kCalentamiento)
            continue;
        suelo.Anadir(s);
        sinVentana.Anadir(sv);
        orden.Anadir(o);
        preparar.push_back(p);
        ventana.push_back(o.ms - sv.ms);
        ventanaCpu.push_back(o.cpu - sv.cpu);
    }
    using FlotaGrande::mediana;
    std::printf("%s de %s: %d páginas (el suelo dibujó %d); %d vueltas tras %d de calentamiento\n", nombre,
                qPrintable(matricula), paginas, paginasSuelo, repeticiones, kCalentamiento);
    std::printf("  suelo (preparar los datos y dibujar las páginas a mano con QPainter): mediana %.1f ms (mínimo %.1f); "
                "en el procesador %.1f ms\n",
                mediana(suelo.ms), Minimo(suelo.ms), mediana(suelo.cpu));
    Linea("de la orden a la última página (objetivo ≤ 1,5×)", orden, suelo);
    const QByteArray sin = QStringLiteral("sin la ventana (preparar %1 ms, el informe y sus páginas)")
                               .arg(mediana(preparar), 0, 'f', 1)
                               .toUtf8();
    Linea(sin.constData(), sinVentana, suelo);
    std::printf("  la ventana de la vista previa (la orden menos sin la ventana, en cada vuelta): mediana %.1f ms; "
                "en el procesador %.1f ms\n",
                mediana(ventana), mediana(ventanaCpu));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Rounds of the maintenance report; the breakdowns history, forty times as
    // many pages and far less noisy, takes an eighth of them.
    const int repeticiones = argc > 1 ? std::max(1, atoi(argv[1])) : 41;
    const QString solo = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QTemporaryDir dir;
    const QString carpeta = dir.filePath(QStringLiteral("Datos"));
    QDir().mkpath(carpeta);
    FlotaGrande::generarConAviso(carpeta);
    const QString averias = FlotaGrande::matricula(7);
    Averias_Largas(carpeta, averias);
    const QString mantto = Mas_Operaciones(carpeta);

    TModuloDatos::Establecer_Manejador_Error(FlotaGrande::salirConError);
    TModuloDatos modulo(carpeta);
    if (solo.isEmpty() || solo == QLatin1String("mantenimiento"))
        Medir(modulo, mantto, Informe_Mantenimiento, repeticiones, "Informe de mantenimiento");
    if (solo.isEmpty() || solo == QLatin1String("averias"))
        Medir(modulo, averias, Informe_Averias, std::max(3, repeticiones / 8), "Historial de averías");
    return 0;
}
