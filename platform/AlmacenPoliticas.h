#pragma once
// The values an administrator sets for the program by Group Policy or Intune:
// those of the key SOFTWARE\Policies\AbrirCajon, of the machine and of the
// user, as the system keeps them. What they mean is the parameters' business.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class RamaPoliticas { Equipo, Usuario };  // HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER

struct ValorPolitica {
    enum class Tipo { Texto, Numero, Otro } tipo = Tipo::Otro;  // REG_SZ, REG_DWORD, any other
    std::vector<std::uint8_t> datos;                            // as stored; empty when too long
    bool demasiadoLargo = false;                                // more than the reader's limit
};

class AlmacenPoliticas {
  public:
    virtual ~AlmacenPoliticas() = default;
    // The value `nombre` of that branch, reading at most `limite` bytes of it.
    // None when the key or the value is missing or cannot be read.
    virtual std::optional<ValorPolitica> Leer(RamaPoliticas rama, const std::u16string& nombre,
                                              std::size_t limite) = 0;
};
