// Times 1,000 moves from vehicle to vehicle in the breakdowns window over the
// large fleet, made as the user makes them (the down arrow in the vehicle grid),
// against the same moves in the maintenance window, the windows taking turns
// in the same run.
// The breakdowns window is timed in its pending view (how it opens) and with
// every breakdown on show. Each move is timed twice: up to the end of the key's
// handling (caption, record panels) and up to the end of the painting after it.
//
//   QT_QPA_PLATFORM=offscreen bench_averias [repeticiones]
#include "Averias.h"
#include "DBCtrlGrid.h"
#include "DBGrid.h"
#include "DataModulo.h"
#include "FlotaGrande.h"
#include "Mantenimiento.h"
#include "Table.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kMovimientos = 1000;
// The windows take turns in rounds of this many moves over the same vehicles,
// so a machine busy with something else weighs on all of them alike.
constexpr int kTanda = 50;

struct Tiempos
{
    std::vector<double> manejo, pintura;
};

// Per-move times (ms) of a window that follows the vehicle, from vehicle
// `desde` on: the key's handling, and the same plus the painting the event
// loop does before the next key. `comprobar` runs after each move and says
// whether the window shows it right.
template <class Ventana, class Comprobar>
bool Tanda(TModuloDatos &m, Ventana &ventana, int desde, Tiempos &t, Comprobar comprobar)
{
    bool bien = true;
    QElapsedTimer reloj;
    m.TableMatriculas->moveTo(desde);
    QApplication::processEvents();
    for (int n = 0; n < kTanda; ++n) {
        reloj.start();
        QTest::keyClick(ventana.DBGridMatriculas, Qt::Key_Down);
        t.manejo.push_back(reloj.nsecsElapsed() / 1e6);
        QApplication::processEvents();
        t.pintura.push_back(reloj.nsecsElapsed() / 1e6);
        bien = bien && comprobar();
    }
    return bien && m.TableMatriculas->recNo() == desde + kTanda;
}

// The caption counts what the panels are given, and the first panel shows the
// current breakdown's long text.
bool Averias_Al_Dia(const TModuloDatos &m, const TFormAverias &v)
{
    const int n = m.TableAverias->recordCount();
    const QString fin = QStringLiteral(" - Averias (%1 %2)").arg(n).arg(n == 1 ? "registro" : "registros");
    if (!v.windowTitle().endsWith(fin))
        return false;
    if (n == 0)
        return true;
    const int fila = v.GridAverias->panelRow(0);
    return fila >= 0
           && m.TableAverias->valueAt(fila, m.TableAverias->fieldByName(QStringLiteral("AVERIA"))).toString().size()
                  > 200;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int repeticiones = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    QTemporaryDir dir;
    const QString carpeta = dir.path();
    const FlotaGrande::Tamano tamano;
    FlotaGrande::generarConAviso(carpeta, tamano);

    TModuloDatos::Establecer_Manejador_Error(FlotaGrande::salirConError);
    TModuloDatos modulo(carpeta);

    Tiempos mantto, pendientes, todas;
    bool bien = true;
    for (int i = 0; i < repeticiones; ++i) {
        for (int desde = 0; desde < kMovimientos; desde += kTanda) {
            {
                TFormMantenimiento ventana;
                ventana.show();
                bien = Tanda(modulo, ventana, desde, mantto, [] { return true; }) && bien;
            }
            {
                TFormAverias ventana;
                ventana.show();
                bien = Tanda(modulo, ventana, desde, pendientes, [&] { return Averias_Al_Dia(modulo, ventana); }) && bien;
            }
            {
                TFormAverias ventana;
                ventana.show();
                ventana.SpeedButton3->click();
                bien = Tanda(modulo, ventana, desde, todas, [&] { return Averias_Al_Dia(modulo, ventana); }) && bien;
            }
        }
    }
    const double mm = FlotaGrande::mediana(mantto.manejo), mp = FlotaGrande::mediana(mantto.pintura);
    std::printf("Mantenimiento (referencia):   tecla %.3f ms, con la pintura %.3f ms por movimiento (%d x %d)\n", mm,
                mp, kMovimientos, repeticiones);
    const struct
    {
        const char *nombre;
        const Tiempos *t;
    } vistas[] = {{"Averías, pendientes:", &pendientes}, {"Averías, todas:     ", &todas}};
    for (const auto &v : vistas) {
        const double am = FlotaGrande::mediana(v.t->manejo), ap = FlotaGrande::mediana(v.t->pintura);
        std::printf("%s         tecla %.3f ms = %.2f×, con la pintura %.3f ms = %.2f× (objetivo ≤ 1,5×)\n", v.nombre,
                    am, am / mm, ap, ap / mp);
    }
    std::printf("Ventana al día en cada movimiento: %s\n", bien ? "sí" : "NO");
    return bien ? 0 : 1;
}
