#pragma once
// What a network listener hands its connections to. The listener is one
// event loop: it accepts, reads, writes and closes, and nothing more. The
// room above it decides everything else: what the bytes mean, what to answer,
// which connection to close and when. Every call comes from the listener's
// one thread (and a last Ordenes, once it is over, from the one that stops
// it); `ahora` is a steady clock in milliseconds. The room answers at
// once or later: from another thread it wakes the listener with the function
// handed to Conectar, and the listener then asks for its Ordenes.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using IdConexion = std::uint64_t;

// One thing for the listener to do on a connection.
struct OrdenConexion {
    enum class Cierre {
        Ninguno,     // keep it as it is
        Ya,          // close it now, whatever is still to send
        TrasEnviar,  // close it once everything is sent
        SoloEnvio,   // once everything is sent, end the sending side and read on
    };
    IdConexion id = 0;
    std::string enviar;  // after the bytes still waiting to go
    Cierre cierre = Cierre::Ninguno;
};

class SalaConexiones {
  public:
    virtual ~SalaConexiones() = default;

    // Once, before any connection. `despertar` may be called from any thread.
    virtual void Conectar(std::function<void()> despertar) = 0;
    // Whether a new connection would be taken now. While not, the listener
    // leaves new ones in the system's queue, in the order they came, until
    // an event or the time ProximoPlazo names.
    virtual bool Admite(std::int64_t ahora) const = 0;
    virtual void Aceptada(IdConexion id, std::int64_t ahora) = 0;
    // Bytes read; none: the other end has sent all it will.
    virtual void Recibidos(IdConexion id, std::string_view bytes, std::int64_t ahora) = 0;
    // It failed or was reset: the listener has closed it already.
    virtual void Cerrada(IdConexion id) = 0;
    // Everything to do now: after each round of events, after a wake, and
    // at the time ProximoPlazo named.
    virtual std::vector<OrdenConexion> Ordenes(std::int64_t ahora) = 0;
    // When to ask for Ordenes (and Admite) again at the latest; none: only
    // after an event.
    virtual std::optional<std::int64_t> ProximoPlazo(std::int64_t ahora) const = 0;
};
