#pragma once
// The system's event log: the Application log, under the program's own source
// "AbrirCajon", whose message table (resources/Eventos.mc) gives each event ID
// its text.

#include <cstdint>
#include <span>
#include <string>

enum class TipoEvento { Informacion, Aviso, Error };

class RegistroEventos {
  public:
    virtual ~RegistroEventos() = default;
    // One event with its insertion strings (%1, %2 ... of its message), in
    // UTF-8. False when the log refused it; it never throws.
    virtual bool Informar(TipoEvento tipo, std::uint32_t id,
                          std::span<const std::string> textos) noexcept = 0;
};
