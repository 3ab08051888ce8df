// Where failures caught inside event handlers go.
#include "Protegido.h"

#include "StoreErrors.h"

#include <QDebug>

namespace {
tManejadorFallos &manejador()
{
    static tManejadorFallos m;
    return m;
}
} // namespace

void Establecer_Manejador_Fallos(tManejadorFallos m)
{
    manejador() = std::move(m);
}

void Informar_Fallo(std::exception_ptr fallo) noexcept
{
    try {
        if (manejador()) {
            manejador()(fallo);
            return;
        }
        std::rethrow_exception(fallo);
    } catch (const ECodedError &e) {
        qWarning().noquote() << e.message();
    } catch (const std::exception &e) {
        qWarning().noquote() << e.what();
    } catch (...) {
        qWarning("Fallo desconocido en un manejador de eventos");
    }
}
