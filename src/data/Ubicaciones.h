// Where the program keeps its data folder and its error log, and where it finds its help
// file: beside the executable when it runs from a folder of its own (the build folder, a
// copy), in the user's data folder when it is installed or its folder cannot be written.
#pragma once

#include <QString>

// What the decision looks at, gathered from the running process by Entorno_Programa().
struct tEntornoPrograma
{
    QString Carpeta_Programa;     // the executable's folder
    bool Escribible = false;      // files can be created there (Carpeta_Escribible)
    bool Instalado = false;       // the help file lies in the installed place (Ayuda_Instalada)
    bool Datos_Junto = false;     // a "Datos" folder already lies beside the executable
    QString Xdg_Data_Home;        // $XDG_DATA_HOME as found, possibly empty or relative
    QString Carpeta_Personal;     // the user's home folder
};

struct tUbicaciones
{
    QString Carpeta_Datos;        // the eight tables
    QString Carpeta_Log;          // the error log's folder
    QString Fichero_Ayuda;        // Quelvaro.Hlp
    QString Carpeta_Documentos;   // where saving and loading a report start
    // The data folder is the user's one: the first start creates its tables.
    bool Datos_Del_Usuario = false;
};

// The decision itself, free of the file system.
//  - The data stays in "Datos" beside the executable when that folder already exists (data
//    is never hidden behind a new, empty folder), or when the program's folder is writable
//    and is not an installed one (a package's bin folder, even when root may write there).
//  - Otherwise it lives in "$XDG_DATA_HOME/Quelvaro/Datos" ("~/.local/share" when that
//    variable is unset, empty or not absolute, as the XDG rules say). With no home folder
//    either, it stays beside the executable.
//  - The error log lies beside the executable under the same rule without the first clause
//    (an existing "Datos" says nothing about being able to write the log there), else in
//    "$XDG_DATA_HOME/Quelvaro".
//  - The help file is the installed one when there is one, else the one beside the executable.
//  - Saved reports start beside the executable when the program may fill its folder, else
//    in the user's home folder (an installed program's folder cannot take them).
tUbicaciones Decidir_Ubicaciones(const tEntornoPrograma &Entorno);

// Whether files can be created in `Carpeta`: its permission bits grant this user the right
// (as they would a user without privileges: root counts as the owner, group or others
// like anybody) and creating a file there really works (no read-only mount, no ACL against).
bool Carpeta_Escribible(const QString &Carpeta);

// The help file's place in an installation, relative to the executable's folder
// ("../share/quelvaro/Quelvaro.Hlp").
QString Ayuda_Instalada(const QString &Carpeta_Programa);

// The running program's environment; needs the application object.
tEntornoPrograma Entorno_Programa();

// The running program's locations, decided once on the first call (the application
// object must exist by then) and the same for the whole run.
const tUbicaciones &Ubicaciones();

// The first start with the user's data folder: when `Carpeta` does not exist, or is an
// empty folder, makes it with the eight empty tables, all or nothing (they are made in a
// new folder beside it that then takes its name, so a failure never leaves a folder with
// some tables that every later start would refuse). True when it made them; false when
// `Carpeta` already holds something (the data module opens or reports it as usual). A
// failure raises an engine error; nothing is left behind.
bool Crear_Carpeta_Datos_Nueva(const QString &Carpeta);
