// The eight tables of the data folder: fields, sizes, indexes and unique keys,
// defined once here and used by the data tool and the test fixtures.
#pragma once

#include "Table.h"

#include <QList>
#include <QMap>
#include <QVariant>
#include <QString>

// Definitions of the eight tables, in the order the data tool creates them.
const QList<TTableDef> &Definicion_Tablas();

// The definition of one table by its name ("Matriculas.DAT"); nullptr when unknown.
const TTableDef *Definicion_Tabla(const QString &nombre);

// Creates the eight empty tables in `carpeta` (made when missing). Refuses, with an
// engine error naming the table, a folder that already holds any of them.
void Crear_Tablas(const QString &carpeta);

// Stores one record with the given field values in a table of `db` and returns the
// number the store gave it (0 for a table without an auto-increment field). For
// filling folders from code: the data tool's sample fleet and test fixtures.
int Anadir_Registro(TDatabase &db, const QString &tabla, const QMap<QString, QVariant> &campos);
