// The fleet overview on the large fleet (5,000 vehicles, 200,000 operations),
// against one hand-written SQLite query that produces the same rows; the
// runs take turns, and the medians and their ratios are printed: the one-pass
// computation, the window opened up to its first rows painted, and each
// keystroke's refilter in its text box (handling and painting).
//
//   QT_QPA_PLATFORM=offscreen bench_vencimientos [repeticiones]
#include "Consulta.h"
#include "DataModulo.h"
#include "FlotaGrande.h"
#include "Pantallas.h"
#include "Vencimientos.h"
#include "VencimientosFlota.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

std::vector<tFilaConsulta> Como_Consulta(const std::vector<tVehiculoVencimientos> &flota,
                                         const std::vector<tFilaVencimiento> &filas)
{
    std::vector<tFilaConsulta> r;
    r.reserve(filas.size());
    for (const tFilaVencimiento &f : filas) {
        const tVehiculoVencimientos &v = flota[std::size_t(f.Vehiculo)];
        r.push_back({v.Matricula, v.Marca, v.Modelo, v.Km_Actuales, f.Tarea, f.Km_Proximo});
    }
    return r;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // the user's own settings file is not read
    const int repeticiones = argc > 1 ? std::max(1, atoi(argv[1])) : 7;

    QTemporaryDir dir;
    const QString carpeta = dir.path();
    FlotaGrande::generarConAviso(carpeta);
    TModuloDatos::Establecer_Manejador_Error(FlotaGrande::salirConError);
    TModuloDatos modulo(carpeta);
    tConsultaVencimientos consulta(carpeta);

    std::vector<double> tConsulta, tCalculo, tVentana, tTecla;
    std::vector<tFilaConsulta> rConsulta, rCalculo;
    bool ventanaBien = true;
    QElapsedTimer reloj;
    // A plate typed key by key, and rubbed out again: the box narrows, then widens.
    const QString buscada = FlotaGrande::matricula(4321);
    for (int i = 0; i < repeticiones; ++i) {
        reloj.start();
        rConsulta = consulta.Filas();
        tConsulta.push_back(reloj.nsecsElapsed() / 1e6);

        reloj.start();
        const std::vector<tVehiculoVencimientos> flota = Calcular_Vencimientos_Flota(*modulo.DbMaestro);
        const std::vector<tFilaVencimiento> filas = Filas_Vencimientos(flota, Margen_Proximo_Predeterminado);
        tCalculo.push_back(reloj.nsecsElapsed() / 1e6);
        rCalculo = Como_Consulta(flota, filas);

        // Opened as the menu opens it, up to the first rows painted.
        reloj.start();
        Abrir_Vencimientos();
        TFormVencimientos *v = TFormVencimientos::Instancia();
        QApplication::processEvents();
        v->GridVencimientos->viewport()->repaint();
        tVentana.push_back(reloj.nsecsElapsed() / 1e6);
        ventanaBien = ventanaBien && v->Modelo->Total_Filas() == int(rCalculo.size()) && v->Modelo->rowCount() > 0;

        v->EditBuscar->setFocus();
        for (const QChar c : buscada) {
            reloj.start();
            QTest::sendKeyEvent(QTest::Click, v->EditBuscar, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QApplication::processEvents();
            tTecla.push_back(reloj.nsecsElapsed() / 1e6);
        }
        ventanaBien = ventanaBien && v->Modelo->rowCount() <= Num_Tareas; // one vehicle's rows at most
        for (int n = 0; n < buscada.size(); ++n) {
            reloj.start();
            QTest::keyClick(v->EditBuscar, Qt::Key_Backspace);
            QApplication::processEvents();
            tTecla.push_back(reloj.nsecsElapsed() / 1e6);
        }
        delete v;
    }
    const double mc = FlotaGrande::mediana(tConsulta), mk = FlotaGrande::mediana(tCalculo),
                 mv = FlotaGrande::mediana(tVentana), mt = FlotaGrande::mediana(tTecla);
    const double peorTecla = *std::max_element(tTecla.begin(), tTecla.end());
    const bool iguales = rConsulta == rCalculo;
    std::printf("Consulta SQLite escrita a mano:        mediana %7.1f ms, %zu filas (%d repeticiones)\n", mc,
                rConsulta.size(), repeticiones);
    std::printf("Calcular_Vencimientos_Flota + filas:   mediana %7.1f ms   %.2f× la consulta (objetivo ≤ 2×, < 300 ms)\n",
                mk, mk / mc);
    std::printf("Ventana abierta, primeras filas:       mediana %7.1f ms   %.2f× el cálculo (objetivo ≤ 1,5×)\n", mv,
                mv / mk);
    std::printf("Tecla en «Buscar» (filtrar y pintar):  mediana %7.1f ms, peor %.1f ms, %zu teclas (objetivo < 30 ms)\n",
                mt, peorTecla, tTecla.size());
    std::printf("Filas iguales: %s; ventana: %s\n", iguales ? "sí" : "NO", ventanaBien ? "bien" : "MAL");
    return iguales && ventanaBien ? 0 : 1;
}
