#pragma once
// The browser bridge's connections and their time. Any program on this
// computer, and any page the cashier opens, can connect; the till's own page
// sends its request at once. So a connection must bring its whole header
// within a second of being accepted and its body within five, and when the
// table is full one already answered, or else the oldest connection that has
// not sent a whole header yet, makes room: a new connection is never refused
// for being new, and idle ones cannot lock the till's page out.

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
    // Adds a connection; returns the one closed to make room, if any.
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
    std::optional<std::int64_t> ProximoPlazo() const;
    std::size_t Cuantas() const { return conexiones_.size(); }

  private:
    static std::optional<std::int64_t> Plazo(const ConexionWeb& c);

    // In the order accepted; each apart, so that they never move.
    std::vector<std::unique_ptr<ConexionWeb>> conexiones_;
};
