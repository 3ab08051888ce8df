// A large fleet for the benchmarks: the eight tables made by the data definitions
// and filled in bulk, in a random storing order as years of daily use leave them.
#pragma once

#include <QString>
#include <QStringList>

#include <exception>
#include <vector>

namespace FlotaGrande {

struct Tamano
{
    int marcas = 20;
    int modelosPorMarca = 5;
    int vehiculos = 5000;
    int mantenimientos = 200000;
    int averias = 20000;
    int ruedas = 30000;
    int fichas = 5000; // one per vehicle, for the first ones
};

// Plate of vehicle number i (0-based): unique, 8 characters.
QString matricula(int i);

// Creates the eight tables in `carpeta` (which must not hold them) and fills them.
// The rows are written with plain SQLite in one transaction per table; dates go in
// as the store keeps them (yyyy-MM-dd). The same size always gives the same data.
void generar(const QString &carpeta, const Tamano &tamano = Tamano());

// generar() with a line saying what was made and how long it took.
void generarConAviso(const QString &carpeta, const Tamano &tamano = Tamano());

// Median of a set of timings.
double mediana(std::vector<double> v);

// Error hook for the data module in a benchmark: print the failure and end.
[[noreturn]] void salirConError(std::exception_ptr e);

} // namespace FlotaGrande
