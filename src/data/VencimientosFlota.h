// The due readings of the whole fleet, read in one pass over the tables; the
// state of each reading against the margin of coming tasks; and that margin,
// kept between runs in the program's settings file.
#pragma once

#include "Tareas.h"

#include <QString>

#include <array>
#include <vector>

class TDatabase;

// One vehicle with the due reading of every task, the values that
// Calcular_Proximo_Mantenimiento gives for it.
struct tVehiculoVencimientos
{
    QString Matricula;
    QString Marca;  // brand and model names, looked up as the windows show them
    QString Modelo;
    qint32 Km_Actuales = 0;
    std::array<qint32, Num_Tareas> Km_Proximo{}; // task order; 0 when no due reading is known
};

// Every vehicle of the data folder of `db`, in storing order, with its due
// readings by the rule of the maintenance window: the last stored operation
// that did a task (flag exactly "X") decides it, plus the interval of the
// brand's first interval record (none, or an empty one, counts 0), held within
// 32 bits. Each table is read once, whatever the size of the fleet; table
// objects of its own are opened on `db` and closed before it returns.
std::vector<tVehiculoVencimientos> Calcular_Vencimientos_Flota(TDatabase &db);

enum class tEstadoVencimiento { Vencida, Proxima, AlDia };

// A due reading below the current one is overdue (equality is not); one at
// most `margen` kilometres ahead is coming; with a margin of 0 nothing is.
// The reading must be known (above 0).
tEstadoVencimiento Estado_Vencimiento(qint32 kmProximo, qint32 kmActuales, qint32 margen);

// One row per vehicle and task with a known due reading.
struct tFilaVencimiento
{
    int Vehiculo = 0; // index into the list it was made from
    int Tarea = 0;    // task order
    qint32 Km_Proximo = 0;
    qint64 Km_Restantes = 0; // due minus current: negative when overdue
    tEstadoVencimiento Estado = tEstadoVencimiento::AlDia;
};

// The rows of `flota`, vehicle by vehicle in its order and the tasks of each
// in task order.
std::vector<tFilaVencimiento> Filas_Vencimientos(const std::vector<tVehiculoVencimientos> &flota, qint32 margen);

// The name a task is listed under: its name in the tasks table, without the
// colon some of them carry for the vehicle list.
QString Nombre_Tarea_Vencimiento(int tarea);

// ---- The margin of coming tasks --------------------------------------------

constexpr qint32 Margen_Proximo_Predeterminado = 1000;
constexpr qint32 Margen_Proximo_Maximo = 999999;

// The program's settings file: "Quelvaro.ini" in the user's data location for
// the program (on Linux ~/.local/share/Quelvaro). It is kept out of the data
// folder: the backup copies and restores that folder's files, and a setting of
// the person at this computer must neither travel with the fleet's data nor
// come back with an old copy of it.
QString Fichero_Ajustes();

// The margin as last saved; the default when none was saved or the saved value
// is not a whole number from 0 to Margen_Proximo_Maximo.
qint32 Leer_Margen_Proximo();
// Saves the margin (held within 0..Margen_Proximo_Maximo); false when the file
// could not be written.
bool Guardar_Margen_Proximo(qint32 margen);
