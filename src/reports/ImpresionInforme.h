// Printing a report: generated afresh onto a printer with a progress window
// that can cancel, and the print dialog that chooses printer, copies,
// orientation and pages ("print to file (PDF)" included).
#pragma once

class QPrinter;
class QWidget;
struct TReport;

// A4 paper in the report's orientation, the whole sheet addressable (the
// report's margins are on its pages), the report's title as document name.
void Preparar_Impresora(const TReport &report, QPrinter &printer);

// Prints `report` on `printer`: the pages in the printer's range, the copies
// it asks for. False when the user cancelled. A printer that cannot be opened
// fails with an EInOutError.
bool Imprimir_En(TReport &report, QPrinter &printer, QWidget *parent);

// The print dialog for `printer`; true when the user confirmed it.
bool Configurar_Impresora(QPrinter &printer, QWidget *parent);
