// The list of every vehicle with its brand's maintenance intervals: a block
// per vehicle, the thirteen intervals in three columns under its plate.
#pragma once

#include "ReportDef.h"

#include <memory>

// The report's container: never shown. It reads the vehicles and the intervals
// through the data module's report cursors, which it opens on creation and
// closes when freed, so the current vehicle stays where it is and no table
// file is left open by the list.
class TFormListaVehi_I
{
public:
    TFormListaVehi_I();
    ~TFormListaVehi_I();
    TFormListaVehi_I(const TFormListaVehi_I &) = delete;
    TFormListaVehi_I &operator=(const TFormListaVehi_I &) = delete;

    TReport QrVehiculosI;
    TReport &Informe() { return QrVehiculosI; }

private:
    void FormCreate();
    void FormDestroy();
    void DetailBand1BeforePrint(TBandEvent &Evento);
};

// The list with intervals, independent of any window.
std::unique_ptr<TFormListaVehi_I> Crear_Lista_Vehi_Intervalos();
