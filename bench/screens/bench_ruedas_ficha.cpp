// Times 1,000 moves from vehicle to vehicle in the tyre window and in the
// technical sheet window over the large fleet, made as the user makes them (the
// down arrow in the vehicle grid), against the same moves in the maintenance
// window, measured in the same run, window after window at each repetition.
// Each move is timed up to the end of the key's handling (caption, grids and
// fields brought up to date) and up to the end of the painting that follows.
//
//   QT_QPA_PLATFORM=offscreen bench_ruedas_ficha [repeticiones]
#include "DBControles.h"
#include "DBGrid.h"
#include "DataModulo.h"
#include "FichaTec.h"
#include "FlotaGrande.h"
#include "Mantenimiento.h"
#include "Ruedas.h"
#include "Table.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kMovimientos = 1000;

struct Tiempos
{
    std::vector<double> manejo, conPintura;
    int fallos = 0; // moves after which the window did not show the new vehicle
};

// Moves down the vehicle grid of `ventana`; `comprobar` says whether the window
// shows the vehicle it moved to.
void Pasada(TModuloDatos &m, QWidget &ventana, TDBGrid *rejilla, Tiempos &t, const std::function<bool()> &comprobar)
{
    ventana.show();
    if (!QTest::qWaitForWindowExposed(&ventana))
        std::fprintf(stderr, "la ventana no llegó a mostrarse\n");
    m.TableMatriculas->first();
    QApplication::processEvents();
    QElapsedTimer reloj;
    for (int n = 0; n < kMovimientos && !m.TableMatriculas->eof(); ++n) {
        reloj.start();
        QTest::keyClick(rejilla, Qt::Key_Down);
        t.manejo.push_back(reloj.nsecsElapsed() / 1e6);
        QApplication::processEvents();
        t.conPintura.push_back(reloj.nsecsElapsed() / 1e6);
        if (!comprobar())
            ++t.fallos;
    }
}

void Imprimir(const char *nombre, const Tiempos &t, const Tiempos &base)
{
    const double mm = FlotaGrande::mediana(t.manejo), mp = FlotaGrande::mediana(t.conPintura);
    const double bm = FlotaGrande::mediana(base.manejo), bp = FlotaGrande::mediana(base.conPintura);
    std::printf("%s tecla %.3f ms = %.2f×   con la pintura %.3f ms = %.2f×   (objetivo ≤ 1,5×)%s\n", nombre, mm,
                mm / bm, mp, mp / bp, t.fallos ? "  ¡NO SIGUIÓ AL VEHÍCULO!" : "");
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
    TTable *vehiculos = modulo.TableMatriculas;
    auto placa = [vehiculos] { return vehiculos->fieldByName(QStringLiteral("MATRICULA"))->asString(); };

    Tiempos mantto, ruedas, ficha;
    for (int i = 0; i < repeticiones; ++i) {
        {
            TFormMantenimiento v;
            Pasada(modulo, v, v.DBGridMatriculas, mantto, [&] {
                return v.windowTitle().contains(QStringLiteral(" - Mantenimiento ("))
                       && modulo.TableMantto->fieldByName(QStringLiteral("MATRICULA"))->asString()
                              == (modulo.TableMantto->isEmpty() ? QString() : placa());
            });
        }
        {
            TFormRuedas v;
            Pasada(modulo, v, v.DBGridMatriculas, ruedas, [&] {
                const TTable *t = modulo.TableRuedas;
                return v.DBGrid6->gridModel()->rowCount() == t->recordCount()
                       && v.windowTitle().contains(QStringLiteral(" - Neumáticos (%1 registro").arg(t->recordCount()))
                       && (t->isEmpty() || t->fieldByName(QStringLiteral("MATRICULA"))->asString() == placa());
            });
        }
        {
            TFormFichaTec v;
            Pasada(modulo, v, v.DBGridMatriculas, ficha, [&] {
                // Every vehicle of the fleet has its sheet.
                return v.windowTitle().endsWith(QStringLiteral(" - Ficha Técnica"))
                       && v.Campos[12]->text() == QStringLiteral("195/65 R15")
                       && modulo.TableFichaTec->fieldByName(QStringLiteral("MATRICULA"))->asString() == placa();
            });
        }
    }
    std::printf("%d movimientos x %d repeticiones; medianas por movimiento, y cuántas veces la del mantenimiento\n",
                kMovimientos, repeticiones);
    Imprimir("Mantenimiento:", mantto, mantto);
    Imprimir("Neumáticos:   ", ruedas, mantto);
    Imprimir("Ficha técnica:", ficha, mantto);
    const bool bien = mantto.fallos == 0 && ruedas.fallos == 0 && ficha.fallos == 0;
    std::printf("Las ventanas siguieron al vehículo: %s\n", bien ? "sí" : "NO");
    return bien ? 0 : 1;
}
