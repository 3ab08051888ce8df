// Times 1,000 moves from vehicle to vehicle in the maintenance window over the
// large fleet, made as the user makes them (the down arrow in the vehicle grid),
// against the due computation alone for the same vehicles. Each move is timed
// twice: up to the end of the key's handling (caption, computation, boxes, both
// grids brought up to date) and up to the end of the painting that follows it.
//
//   QT_QPA_PLATFORM=offscreen bench_mantto [repeticiones]
#include "DBGrid.h"
#include "DataModulo.h"
#include "FlotaGrande.h"
#include "Mantenimiento.h"
#include "Table.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kMovimientos = 1000;

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

// Per-move times (ms) in the window: the key's handling, and the same plus the
// painting the event loop does before the next key.
void Pasada_Ventana(TModuloDatos &m, TFormMantenimiento &ventana, std::vector<double> &manejo,
                    std::vector<double> &conPintura, std::vector<std::array<qint32, Num_Tareas>> &resultados)
{
    resultados.clear();
    QElapsedTimer reloj;
    m.TableMatriculas->first();
    QApplication::processEvents();
    for (int n = 0; n < kMovimientos && !m.TableMatriculas->eof(); ++n) {
        reloj.start();
        QTest::keyClick(ventana.DBGridMatriculas, Qt::Key_Down);
        manejo.push_back(reloj.nsecsElapsed() / 1e6);
        QApplication::processEvents();
        conPintura.push_back(reloj.nsecsElapsed() / 1e6);
        resultados.push_back(m.Km_Proximo);
    }
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

    std::vector<double> tCalculo, tManejo, tPintura;
    std::vector<std::array<qint32, Num_Tareas>> rCalculo, rVentana;
    bool iguales = true;
    for (int i = 0; i < repeticiones; ++i) {
        modulo.Pantalla_Activa = Pantalla_Ninguna;
        const auto c = Pasada_Calculo(modulo, rCalculo);
        tCalculo.insert(tCalculo.end(), c.begin(), c.end());
        {
            TFormMantenimiento ventana;
            ventana.show();
            Pasada_Ventana(modulo, ventana, tManejo, tPintura, rVentana);
        }
        iguales = iguales && rCalculo == rVentana && int(rVentana.size()) == kMovimientos;
    }
    const double mc = FlotaGrande::mediana(tCalculo), mm = FlotaGrande::mediana(tManejo),
                 mp = FlotaGrande::mediana(tPintura);
    std::printf("Cálculo solo:                   mediana %.3f ms por vehículo (%d movimientos x %d)\n", mc,
                kMovimientos, repeticiones);
    std::printf("Ventana, tecla y lo que refresca: mediana %.3f ms por movimiento = %.2f×\n", mm, mm / mc);
    std::printf("Ventana, con la pintura:        mediana %.3f ms por movimiento = %.2f× (objetivo ≤ 2× y < 5 ms)\n", mp,
                mp / mc);
    std::printf("Resultados iguales: %s\n", iguales ? "sí" : "NO");
    return iguales ? 0 : 1;
}
