// The breakdowns report: the pending breakdowns of one vehicle, or its whole
// history, with their fault, repair and materials texts growing the rows, the
// column rules drawn over each row's real height, and the total amount.
#pragma once

#include "ReportDef.h"

#include <QStringList>

#include <memory>

class TFormInformeAverias
{
public:
    TFormInformeAverias();
    TFormInformeAverias(const TFormInformeAverias &) = delete;
    TFormInformeAverias &operator=(const TFormInformeAverias &) = delete;

    // Where the last column rules ended (report units), and on which page.
    qint32 Ultima_Y = 0;
    int Pagina_Ultima_Y = 0;
    // Sum of IMPORTE over the breakdowns of the current run.
    double Importe_Total = 0;

    // Master TablaMatriculas (the vehicle filter on it), rows from TableAverias
    // as its filter leaves them (pending or history).
    TReport QrInformeAverias;
    TReport &Informe() { return QrInformeAverias; }

private:
    void FormCreate();
    void ChildBand2AfterPrint(TBandEvent &Ev);
    void QRSubDetail1AfterPrint(TBandEvent &Ev);
    void ChildBand4BeforePrint(TBandEvent &Ev);
    void ChildBand4AfterPrint(TBandEvent &Ev);
    void SummaryBand1BeforePrint(TBandEvent &Ev);
    // Draws the rules of the line elements named in `Reglas` (of the column
    // titles band) down the band just printed, with the pen of the first.
    void Dibujar_Reglas(TBandEvent &Ev, const QStringList &Reglas);
};

// The report object, ready to preview, print or export; the data module is
// to be prepared first (Preparar_Informe_Averias).
std::unique_ptr<TFormInformeAverias> Crear_Informe_Averias();
