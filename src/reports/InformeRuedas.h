// The tyres report of one vehicle: its tyre changes under a heading with the
// vehicle, its current reading and its tyre size, the remarks growing the rows
// and the column rules drawn over each row's real height.
#pragma once

#include "ReportDef.h"

#include <memory>

class TModuloDatos;

// The report's container: never shown, it holds the report and the values its
// handlers share during a run.
class TFormInformeRuedas
{
public:
    TFormInformeRuedas();
    TFormInformeRuedas(const TFormInformeRuedas &) = delete;
    TFormInformeRuedas &operator=(const TFormInformeRuedas &) = delete;

    TReport QrInformeRuedas;
    TReport &Informe() { return QrInformeRuedas; }
    // Where the last column rules ended (report units), and on which page.
    qint32 Ultima_Y = 0;
    int Pagina_Ultima_Y = 0;

private:
    void FormCreate();
    void QRGroup1BeforePrint(TBandEvent &Evento);
    void QRChildBand1AfterPrint(TBandEvent &Evento);
    void QRSubDetail1AfterPrint(TBandEvent &Evento);
};

// The tyres report, independent of any window; its master is the data module's
// TablaMatriculas, so Preparar_Informe_Ruedas comes first.
std::unique_ptr<TFormInformeRuedas> Crear_Informe_Ruedas();

// Readies the data module for the tyres report of the current vehicle: false,
// touching nothing, when it has no tyre record; otherwise TablaMatriculas is
// opened holding only that vehicle and TableRuedas is read again, so the size
// and the reading it works out as it reads are current.
bool Preparar_Informe_Ruedas(TModuloDatos &Modulo);
// After the report, however it ended: TablaMatriculas closed and unfiltered.
void Terminar_Informe_Ruedas(TModuloDatos &Modulo);
