// Reports made in memory for the engine's tests, and an output that records
// what a generation produced: the pages and every band printed, with its texts.
#pragma once

#include "Pagination.h"
#include "RecordSource.h"
#include "ReportDef.h"

#include <QImage>
#include <QPicture>
#include <QStringList>

#include <vector>

class TRegistroSalida : public TPictureOutput
{
public:
    std::vector<TPrintedBand> Bandas;
    std::vector<QPicture> Paginas;

    bool Wants_Texts() const override { return true; }
    void Band_Printed(const TPrintedBand &b) override { Bandas.push_back(b); }

    // Names of the bands printed on `pagina`, in order.
    QStringList Nombres(int pagina) const;
    // Every printing of the band called `nombre`.
    std::vector<TPrintedBand> De(const QString &nombre) const;
    int Cuantas(const QString &nombre) const { return int(De(nombre).size()); }

protected:
    void Page_Done(int, const QPicture &p, QSize) override { Paginas.push_back(p); }
};

// `n` rows with NUM (1..n), FECHA (from 1 March 2024, a day apart) and TEXTO ("Fila i").
TMemoryTable Filas(int n);

// A list over `filas` ("Filas") on A4 portrait with 10 mm margins (2770 units
// of body): page header "Cabecera" 10 mm with its child "Hueco" 4 mm, column
// header "Columnas" 6 mm, detail "Detalle" 5 mm (NUM, FECHA, TEXTO) and
// summary "Resumen" 7 mm. So 200 units of headers per page, 51 rows fit on a
// page, and after 50 rows the summary ends exactly at the bottom margin.
TReport Informe_Listado(const TMemoryTable &filas);

// A page rendered at 1 pixel per millimetre times `escala`.
QImage Pintar(const QPicture &pagina, QSize tamano, double escala = 2);
