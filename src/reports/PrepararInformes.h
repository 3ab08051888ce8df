// What the data module needs before and after a report of one vehicle: the
// checks that it has something to report, the report cursor filtered to it,
// the due readings and the breakdowns filter. Plain functions, without any
// window, so that the report dialog and a command-line tool prepare alike.
#pragma once

#include <QString>
#include <QtGlobal>

class TModuloDatos;

// The dialog's message when the current vehicle has nothing for the report
// that Tipo_Informe names (0 maintenance .. 3 technical sheet).
QString Mensaje_Sin_Datos(quint8 Tipo);

// The vehicle filter: TablaMatriculas opened holding only the current vehicle
// of TableMatriculas (a quote in the plate doubled in the filter text).
void Filtrar_Vehiculo_Informe(TModuloDatos &Modulo);
// After the report: TablaMatriculas unfiltered and closed.
void Liberar_Vehiculo_Informe(TModuloDatos &Modulo);

// TableAverias holds every breakdown of the vehicle (the history) or, with its
// filter "Estado = 'P'", only the pending ones. The filter stays after the report.
void Filtrar_Averias_Informe(TModuloDatos &Modulo, bool Historial);

// Readies the maintenance report of the current vehicle: false, touching
// nothing, when it has no maintenance record; otherwise the vehicle filter and
// Calcular_Proximo_Mantenimiento, whose readings the report's summary prints.
bool Preparar_Informe_Mantto(TModuloDatos &Modulo);
// Readies the breakdowns report: the breakdowns filter, then false when no
// breakdown passes it; otherwise the vehicle filter.
bool Preparar_Informe_Averias(TModuloDatos &Modulo, bool Historial);

// Releases the vehicle filter when it goes out of scope, whatever way the report ended.
class tVehiculoInforme
{
public:
    explicit tVehiculoInforme(TModuloDatos &Modulo) : m_modulo(Modulo) {}
    ~tVehiculoInforme();
    tVehiculoInforme(const tVehiculoInforme &) = delete;
    tVehiculoInforme &operator=(const tVehiculoInforme &) = delete;

private:
    TModuloDatos &m_modulo;
};
