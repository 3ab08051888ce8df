// The eight kinds of record the user keeps by hand, and everything their list
// windows and editor dialogs say about themselves: captions, notices, help
// topics, focus fields and which mode holder they use. One row per kind.
#pragma once

#include <QString>
#include <QtGlobal>

enum class TTipoRegistro : int {
    Vehiculos,
    Marcas,
    Modelos,
    Intervalos,
    Mantenimiento,
    Averias,
    Ruedas,
    FichaTec,
};

// How a list window's caption is made.
enum class TFormaTitulo {
    Cuenta,          // prefix + n + " registro)" / " registros)"
    Cabecera_Cuenta, // Cabecera_Vehiculo + prefix + n + ending
    Cabecera,        // Cabecera_Vehiculo + prefix, no count
    Fijo,            // the prefix alone, never refreshed
};

// Which shared value carries the editor's mode.
enum class TModoPar { General, Marca, Modelo };

// Pantalla_Activa left as it is.
constexpr int Pantalla_Sin_Cambio = -1;

struct TRegistro
{
    TTipoRegistro Tipo;
    const char *Lista;          // class names, also the windows' objectNames
    const char *Editor;
    const char *Tabla;          // the data module's object both windows work on
    const char *Navegador;      // ... and the one the list's navigator moves
    const char *Titulo;         // caption prefix (or whole fixed caption)
    TFormaTitulo Forma_Titulo;
    int Pantalla;               // Pantalla_Activa on show, or Pantalla_Sin_Cambio; the
                                // windows of Pantalla_Mantenimiento .. Pantalla_FichaTec
                                // follow the current vehicle
    int Ayuda_Lista;            // help contexts; 0 for none
    int Ayuda_Editor;
    const char *Nombre_Editor;  // "Añadir " / "Editar " / "Eliminar " + this
    const char *Foco_Anadir;    // objectName of the field focused when adding
    const char *Foco_Editar;    // ... and when editing
    const char *Nombre_Error;   // "Error al editar " + this + "."
    const char *Nombre_Base;    // "La base de datos de " + this + " está vacía."
    TModoPar Modo;
};

const TRegistro &Registro(TTipoRegistro Tipo);
// Whether the kind's list window follows the current vehicle (the data module
// refreshes it when the vehicle changes).
bool Sigue_Al_Vehiculo(TTipoRegistro Tipo);

// Mode values of the editors (the same numbers as Modo_Anadir and its kin).
QString Titulo_Editor(TTipoRegistro Tipo, quint8 Modo);
// Title of the notice when there is nothing to edit (Eliminar false) or delete.
QString Titulo_Tabla_Vacia(TTipoRegistro Tipo, bool Eliminar);
QString Texto_Tabla_Vacia(TTipoRegistro Tipo);
// Title and text of the notice when there is no vehicle to add a record to.
QString Titulo_Sin_Vehiculo(TTipoRegistro Tipo);
QString Texto_Sin_Vehiculo();
// A list window's caption for `n` records, given the current vehicle's header.
QString Titulo_Lista(TTipoRegistro Tipo, int n, const QString &Cabecera);

// The context texts the editors hand to the error handler.
QString Contexto_Preparar(quint8 Modo); // "Error al intentar AÑADIR registro." ...
QString Contexto_Grabar(quint8 Modo);   // "Error al AÑADIR registro." ...
