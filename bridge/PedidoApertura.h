#pragma once
// One kick that the bridge hands to the window's thread, where F12's kick
// runs. The listener never waits for that thread: it waits for the window to
// take the kick, for a while, and then gives up. One switch decides between
// the two, so that a kick is either made and its outcome told to the page,
// or never made once the page has been told that nothing happened.

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

// How a kick asked for by the bridge went: sent, failed (with the number and
// the text of its stop box), or not made at all because the program could
// not take it now (a box open, the window starting, busy or ending).
struct ResultadoWeb {
    enum class Estado { Enviado, Fallido, NoAtendido } estado = Estado::NoAtendido;
    int numero = 0;
    std::string mensaje;
};

class PedidoApertura {
  public:
    // `pagina` is what the record names after "Web ": the page's origin and
    // the motive. `despertar` wakes the listener once the outcome is known.
    PedidoApertura(std::string pagina, std::function<void()> despertar);

    const std::string& Pagina() const { return pagina_; }
    // The window's side, before it kicks: true when the kick is now its to
    // make; false when the listener gave up on it first.
    bool Tomar() { return Cambiar(Fase::Tomado); }
    // The listener's side, when the wait is over: true when the window had
    // not taken it (and now never will); false when it has.
    bool Abandonar() { return Cambiar(Fase::Abandonado); }
    // The outcome, from either side; only the first counts.
    void Terminar(ResultadoWeb resultado);
    std::optional<ResultadoWeb> Resultado() const;

  private:
    enum class Fase { Pendiente, Tomado, Abandonado };
    bool Cambiar(Fase a) {
        Fase pendiente = Fase::Pendiente;
        return fase_.compare_exchange_strong(pendiente, a);
    }

    const std::string pagina_;
    const std::function<void()> despertar_;
    std::atomic<Fase> fase_ = Fase::Pendiente;
    mutable std::mutex mutex_;
    std::optional<ResultadoWeb> resultado_;
};
