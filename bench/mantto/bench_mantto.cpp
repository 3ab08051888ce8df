// Times 1,000 moves from vehicle to vehicle in the maintenance window over the
// large fleet (caption, due computation, due boxes and both grids painted) against
// the due computation alone for the same vehicles. Prints both medians per move
// and their ratio.
//
//   QT_QPA_PLATFORM=offscreen bench_mantto [repeticiones]
#include "DataModulo.h"
#include "FlotaGrande.h"
#include "Mantenimiento.h"
#include "Table.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kMovimientos = 1000;
std::vector<double> g_mover; // the move and what it refreshes, before painting


// Per-move times (ms) of the computation alone, walking the same vehicles.
std::vector<double> Pasada_Calculo(TModuloDatos &m, std::vector<std::array<qint32, Num_Tareas>> &resultados)
{
    std::vector<double> t;
    resultados.clear();
    QElapsedTimer reloj;
    m.TableMatriculas->first();
    for (int n = 0; n < kMovimientos && !m.TableMatriculas->eof(); ++n) {
        m.TableMatriculas->next();
        reloj.start();
        m.Calcular_Proximo_Mantenimiento();
        t.push_back(reloj.nsecsElapsed() / 1e6);
        resultados.push_back(m.Km_Proximo);
    }
    return t;
}

// Per-move times (ms) in the window: the move, everything it refreshes, and the
// painting of what changed, before the next key.
std::vector<double> Pasada_Ventana(TModuloDatos &m, TFormMantenimiento &,
                                   std::vector<std::array<qint32, Num_Tareas>> &resultados)
{
    std::vector<double> t;
    resultados.clear();
    QElapsedTimer reloj;
    m.TableMatriculas->first();
    QApplication::processEvents();
    for (int n = 0; n < kMovimientos && !m.TableMatriculas->eof(); ++n) {
        reloj.start();
        m.TableMatriculas->next();
        const qint64 movido = reloj.nsecsElapsed();
        // What the event loop does before the next key: paint what changed.
        QApplication::processEvents();
        t.push_back(reloj.nsecsElapsed() / 1e6);
        g_mover.push_back(movido / 1e6);
        resultados.push_back(m.Km_Proximo);
    }
    return t;
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

    std::vector<double> tCalculo, tVentana;
    std::vector<std::array<qint32, Num_Tareas>> rCalculo, rVentana;
    bool iguales = true;
    for (int i = 0; i < repeticiones; ++i) {
        modulo.Pantalla_Activa = Pantalla_Ninguna;
        const auto c = Pasada_Calculo(modulo, rCalculo);
        tCalculo.insert(tCalculo.end(), c.begin(), c.end());
        {
            TFormMantenimiento ventana;
            ventana.show();
            const auto w = Pasada_Ventana(modulo, ventana, rVentana);
            tVentana.insert(tVentana.end(), w.begin(), w.end());
        }
        iguales = iguales && rCalculo == rVentana && int(rVentana.size()) == kMovimientos;
    }
    const double mc = FlotaGrande::mediana(tCalculo), mv = FlotaGrande::mediana(tVentana);
    std::printf("Cálculo solo:             mediana %.3f ms por vehículo (%d movimientos x %d)\n", mc, kMovimientos,
                repeticiones);
    std::printf("Ventana de mantenimiento: mediana %.3f ms por movimiento (objetivo < 5 ms)\n", mv);
    std::printf("  de ellos, el movimiento y lo que refresca: mediana %.3f ms; la pintura, el resto\n",
                FlotaGrande::mediana(g_mover));
    std::printf("Proporción: %.2f× (objetivo ≤ 2×)   resultados iguales: %s\n", mv / mc, iguales ? "sí" : "NO");
    return iguales ? 0 : 1;
}
