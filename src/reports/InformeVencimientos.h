// The printed form of the fleet overview, "Vencimientos de la flota": one block
// per vehicle with its overdue and coming tasks.
#pragma once

#include "ReportDef.h"
#include "VencimientosFlota.h"

#include <vector>

class TDatabase;

// The report of `flota` with the coming tasks those within `margen` km, built
// without any window: A4 portrait; on every page the title, the date of the run
// and "Página n de m"; a block for each vehicle with at least one overdue or
// coming task, in plate order, with those tasks, the most overdue first; a
// closing line with the totals. Its data are held by the report itself.
TReport Informe_Vencimientos(const std::vector<tVehiculoVencimientos> &flota, qint32 margen);

// The same for the data folder of `db`, computed now: what the command-line tool
// produces for the kind "vencimientos" (with the margin of Leer_Margen_Proximo()).
TReport Informe_Vencimientos(TDatabase &db, qint32 margen);

// Computes, builds and shows the report in the preview window; returns when that
// window has closed.
void Previsualizar_Vencimientos(TDatabase &db, qint32 margen);
