// The technical sheet of one vehicle on a single page: its registration data
// in two columns of labels and values.
#pragma once

#include "ReportDef.h"

#include <memory>

class TModuloDatos;

// The report's container: never shown; the report has no handlers.
class TFormInforFichaTec
{
public:
    TFormInforFichaTec();
    TFormInforFichaTec(const TFormInforFichaTec &) = delete;
    TFormInforFichaTec &operator=(const TFormInforFichaTec &) = delete;

    TReport QrInforFichaTec;
    TReport &Informe() { return QrInforFichaTec; }
};

// The sheet report, independent of any window; it prints the current record of
// the data module's TableFichaTec (the current vehicle's sheet).
std::unique_ptr<TFormInforFichaTec> Crear_Informe_Ficha_Tec();

// Whether the current vehicle has a sheet to print; the sheet needs no other
// preparation (its master is the sheet cursor itself).
bool Preparar_Ficha_Tecnica(TModuloDatos &Modulo);
