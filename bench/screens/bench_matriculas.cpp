// Times opening the vehicle list window on the large fleet (5,000 vehicles) and
// moving to the last vehicle with the navigator, painted, against reopening the
// vehicle table object and moving it to its last record alone. Prints both
// medians and their ratio; the goal is a ratio of at most 2.
//
//   bench_matriculas [repeticiones]     (QT_QPA_PLATFORM=offscreen without a display)
#include "DBControles.h"
#include "DataModulo.h"
#include "FlotaGrande.h"
#include "Matriculas.h"
#include "Table.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {


void Reabrir(TTable *t)
{
    t->close();
    t->open();
}

// The table object alone: reopened (its lookups read the catalogues) and moved to the end.
double Tabla_Sola(TModuloDatos &m)
{
    QElapsedTimer reloj;
    reloj.start();
    Reabrir(m.TableMatriculas);
    m.TableMatriculas->last();
    const double ms = reloj.nsecsElapsed() / 1e6;
    if (m.TableMatriculas->recNo() != m.TableMatriculas->recordCount() - 1)
        std::fprintf(stderr, "la tabla no llegó al último vehículo\n");
    return ms;
}

// The same, with the window opened over it, the navigator's last button pressed
// and everything painted.
double Ventana(TModuloDatos &m)
{
    QElapsedTimer reloj;
    reloj.start();
    Reabrir(m.TableMatriculas);
    {
        TFormMatriculas Forma;
        Forma.show();
        QApplication::processEvents();
        Forma.DBNavigator->buttonLast()->click();
        QApplication::processEvents();
        Forma.repaint();
        if (m.TableMatriculas->recNo() != m.TableMatriculas->recordCount() - 1)
            std::fprintf(stderr, "la ventana no llegó al último vehículo\n");
    }
    return reloj.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int repeticiones = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    QTemporaryDir dir;
    const QString carpeta = dir.path();
    const FlotaGrande::Tamano tamano;
    std::printf("Generando la flota: %d vehículos...\n", tamano.vehiculos);
    FlotaGrande::generar(carpeta, tamano);
    TModuloDatos::Establecer_Manejador_Error(FlotaGrande::salirConError);
    TModuloDatos modulo(carpeta);

    // One of each first, so that neither pays for a cold start.
    Tabla_Sola(modulo);
    Ventana(modulo);
    std::vector<double> tabla, ventana;
    for (int i = 0; i < repeticiones; ++i) {
        tabla.push_back(Tabla_Sola(modulo));
        ventana.push_back(Ventana(modulo));
    }
    const double t = FlotaGrande::mediana(tabla), v = FlotaGrande::mediana(ventana);
    std::printf("Tabla sola:  %.2f ms (mediana de %d)\n", t, repeticiones);
    std::printf("Ventana:     %.2f ms (mediana de %d)\n", v, repeticiones);
    std::printf("Proporción:  %.2f (objetivo: 2 como mucho)\n", v / t);
    return 0;
}
