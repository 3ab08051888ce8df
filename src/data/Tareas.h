// The thirteen maintenance tasks in their fixed order, with the field that
// records each one and every label under which windows and reports show it.
#pragma once

#include <QString>

#include <array>

constexpr int Num_Tareas = 13;

struct tTarea
{
    QString Campo;              // flag in "Mantenimiento.DAT", interval in "KmCambios.DAT"
    QString Nombre;             // the vehicle list with intervals prints it
    QString Etiqueta_Proximo;   // label over the due panel of the maintenance window
    QString Panel;              // objectName of that due panel
    QString Casilla;            // objectName of the check box in the maintenance editor
    QString Texto_Casilla;      // caption of that check box
    QString Titulo_Columna;     // column title in the maintenance window's grid
    QString Cabecera_Informe;   // column heading in the maintenance report
    QString Etiqueta_Intervalo; // label in the interval windows
};

// The tasks in task order: every computation, panel row and report column uses it.
const std::array<tTarea, Num_Tareas> &Tareas();

// Task indexes in the order the maintenance window's grid shows the flags
// (spark plugs first).
const std::array<int, Num_Tareas> &Orden_Rejilla_Tareas();

// Index of the task whose field is `campo` (any case), or -1.
int Indice_Tarea(const QString &campo);
