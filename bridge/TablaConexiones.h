#pragma once
// The browser bridge's connections and their time. Any program on this
// computer, and any page the cashier opens, can connect; the till's own page
// sends its request at once, but a browser busy with another page's flood may
// send it a little after its connect. So a connection must bring its whole
// header within a second of being accepted and its body within five, and
// none is closed to make room before it has had half a second to send them:
// when the table is full, one already answered makes room, or else the
// oldest past that grace, the ones without a whole header first. While every
// one is in its grace (or waiting for a kick), a new connection is not taken:
// it waits in the system's queue, in the order it came, and by the time its
// turn comes its request is there to read. Idle connections cannot hold the
// table for longer than their grace while others wait.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "bridge/PeticionHttp.h"
#include "platform/SalaConexiones.h"

inline constexpr std::size_t kMaxConexionesWeb = 128;
inline constexpr std::int64_t kPlazoCabeceraMs = 1000;
inline constexpr std::int64_t kPlazoPeticionMs = 5000;
inline constexpr std::int64_t kGraciaMs = 500;
// After an answer sent before the whole request was read: what still comes
// is read and dropped for this long (or this much), so that closing does not
// reset the connection before the page has read its answer.
inline constexpr std::int64_t kPlazoVaciadoMs = 1000;
inline constexpr std::size_t kMaxVaciado = 64 * 1024;

struct ConexionWeb {
    enum class Fase {
        Leyendo,    // its request
        Esperando,  // its answer (a kick under way)
        Vaciando,   // answered; what still comes is dropped
    };
    IdConexion id = 0;
    std::int64_t aceptada = 0;
    Fase fase = Fase::Leyendo;
    LectorPeticion lector;
    std::int64_t finVaciado = 0;
    std::size_t vaciado = 0;

    bool CabeceraEntera() const { return !lector.Peticion().metodo.empty(); }
};

class TablaConexiones {
  public:
    // Whether a new connection would be taken now, into a free place or one
    // made by closing another.
    bool Admite(std::int64_t ahora) const;
    // Adds a connection; returns the one closed to make room, if any: the
    // new one itself when nothing may make room (Admite was false).
    std::optional<IdConexion> Aceptar(IdConexion id, std::int64_t ahora);
    ConexionWeb* Buscar(IdConexion id);
    void Quitar(IdConexion id);
    // Bytes read while it is Vaciando: true once it can be closed.
    static bool Vaciar(ConexionWeb& c, std::size_t bytes);
    // After its answer: true when it must be read on for a moment (Vaciando)
    // before it is closed; false when it can be closed at once.
    static bool TrasResponder(ConexionWeb& c, std::int64_t ahora);
    // The connections past their time, taken out of the table.
    std::vector<IdConexion> Vencidas(std::int64_t ahora);
    // The next connection's deadline; while nothing is admitted, also the
    // end of the first grace.
    std::optional<std::int64_t> ProximoPlazo(std::int64_t ahora) const;
    std::size_t Cuantas() const { return conexiones_.size(); }

  private:
    using Lista = std::vector<std::unique_ptr<ConexionWeb>>;

    static std::optional<std::int64_t> Plazo(const ConexionWeb& c);
    // The one that would make room for a new connection; end(): none.
    Lista::const_iterator QuienSale(std::int64_t ahora) const;

    // In the order accepted; each apart, so that they never move.
    Lista conexiones_;
};
