// The plain list of every vehicle: plate, brand and model in a ruled table.
#pragma once

#include "ReportDef.h"

#include <memory>

// The report's container: never shown. Its master is the data module's vehicle
// cursor itself, so producing the list walks the current vehicle through every
// vehicle; creating it makes sure no list window follows that walk.
class TFormListaVehiculos
{
public:
    TFormListaVehiculos();
    TFormListaVehiculos(const TFormListaVehiculos &) = delete;
    TFormListaVehiculos &operator=(const TFormListaVehiculos &) = delete;

    TReport QrListaVehiculos;
    TReport &Informe() { return QrListaVehiculos; }

private:
    void FormCreate();
};

// The plain vehicle list, independent of any window.
std::unique_ptr<TFormListaVehiculos> Crear_Lista_Vehiculos();

// Whether there is any vehicle to list: without one the vehicle-list command
// does nothing at all.
bool Hay_Vehiculos_Que_Listar();
