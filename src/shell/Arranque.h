// The program's start: the units' own preparation, then the main sequence from the
// single-instance guard to the end of the event loop.
#pragma once

#include <QString>

#include <functional>

class TFormPrincipal;
class tSharedMem;

struct tOpcionesArranque
{
    QString Nombre_Bloque = QStringLiteral("Quelvaro");
    QString Carpeta_Datos; // empty: the program's data folder (Ubicaciones())
    // With Carpeta_Datos: it is the user's data folder, whose tables the first start creates.
    // Without it, Ubicaciones() tells.
    bool Datos_Del_Usuario = false;
    // Called with the main window on screen, right before the event loop starts.
    std::function<void(TFormPrincipal &, tSharedMem &)> Al_Empezar;
};

// What the units do before the main sequence: the message dialogs' style, the helper object
// of the controls, the regional formats, the error handler as the central handler and as the
// data module's.
void Preparar_Unidades();

// The main sequence, with the application object already made; returns the exit code.
int Secuencia_Principal(const tOpcionesArranque &Opciones = {});

// Everything main() does.
int Ejecutar_Quelvaro(int &argc, char **argv, const tOpcionesArranque &Opciones = {});
