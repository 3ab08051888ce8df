// Failures inside event handlers: a slot, event filter or timer handler that can
// fail catches where it runs and hands the failure to the central handler, so no
// exception ever unwinds through Qt's own code (signal dispatch, event delivery).
#pragma once

#include <exception>
#include <functional>
#include <utility>

// Where caught failures go. The error handler installs itself here at start-up;
// until then (and in programs without it) they are written to the debug log.
using tManejadorFallos = std::function<void(std::exception_ptr)>;
void Establecer_Manejador_Fallos(tManejadorFallos manejador);
// Hands a caught failure to the handler; never lets anything out.
void Informar_Fallo(std::exception_ptr fallo) noexcept;

// Runs `paso` now; a failure goes to Informar_Fallo. True when it ended normally.
template <class F>
bool Proteger(F &&paso) noexcept
{
    try {
        std::forward<F>(paso)();
        return true;
    } catch (...) {
        Informar_Fallo(std::current_exception());
        return false;
    }
}

// A handler for connect() that hands its failures to Informar_Fallo instead of
// Qt's dispatch. It takes as many of the signal's arguments as the wrapped
// handler does, as a handler connected directly would.
//   connect(boton, &QPushButton::clicked, this, Protegido([this] { Guardar(); }));
template <class F>
class tProtegido
{
public:
    explicit tProtegido(F manejador) : m_manejador(std::move(manejador)) {}

    template <class... A>
    auto operator()(A &&...argumentos) const noexcept
        -> decltype(std::declval<F &>()(std::forward<A>(argumentos)...), void())
    {
        try {
            m_manejador(std::forward<A>(argumentos)...);
        } catch (...) {
            Informar_Fallo(std::current_exception());
        }
    }

private:
    mutable F m_manejador;
};

template <class F>
tProtegido<F> Protegido(F manejador)
{
    return tProtegido<F>(std::move(manejador));
}
