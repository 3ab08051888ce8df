// The maintenance report: every maintenance operation of one vehicle as a
// ruled table on A4 landscape, and under it the reading at which each task
// falls due next, maroon when overdue.
#pragma once

#include "ReportDef.h"

#include <QString>

#include <memory>

class TFormInformeMantto
{
public:
    TFormInformeMantto();
    TFormInformeMantto(const TFormInformeMantto &) = delete;
    TFormInformeMantto &operator=(const TFormInformeMantto &) = delete;

    // Master TablaMatriculas (the vehicle filter on it), rows from TableMantto;
    // the summary reads Km_Proximo and Km_Actuales of the data module.
    TReport QrInformeMantto;
    TReport &Informe() { return QrInformeMantto; }

    // Names of the thirteen due labels of the summary, in task order.
    static const QString &Etiqueta_Proximo(int Tarea);

private:
    void QRBand1BeforePrint(TBandEvent &Ev);
};

// The report object, ready to preview, print or export; the data module is
// to be prepared first (Preparar_Informe_Mantto).
std::unique_ptr<TFormInformeMantto> Crear_Informe_Mantto();
