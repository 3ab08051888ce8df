#include "Aplicacion.h"

#include "Excepciones.h"

tAplicacion::tAplicacion(int &argc, char **argv) : QApplication(argc, argv)
{
}

bool tAplicacion::notify(QObject *receiver, QEvent *event)
{
    std::exception_ptr escapada;
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        escapada = std::current_exception();
    }
    // Out of the catch block before a modal message runs its own event loop.
    Manejar_Excepcion_Central(escapada);
    return false;
}
