#pragma once
// The values an administrator sets for the program by Group Policy or Intune:
// those of the key SOFTWARE\Policies\AbrirCajon, of the machine and of the
// user, as the system keeps them. What they mean is the parameters' business.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class RamaPoliticas { Equipo, Usuario };  // HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER

struct ValorPolitica {
    // REG_SZ and REG_EXPAND_SZ (as stored); REG_MULTI_SZ; REG_DWORD and
    // REG_QWORD; any other.
    enum class Tipo { Texto, Lista, Numero, Otro } tipo = Tipo::Otro;
    std::uint32_t tipoRegistro = 0;   // the system's number of the type, for reports
    std::vector<std::uint8_t> datos;  // as stored; empty when too long
    bool demasiadoLargo = false;      // more than the reader's limit
};

// Hears each value that the program could not use: which value, of which
// branch, its type's name, and the value (cut) as a report may show it.
class AvisoPoliticas {
  public:
    virtual ~AvisoPoliticas() = default;
    virtual void Inservible(std::string_view nombre, RamaPoliticas rama, std::string_view tipo,
                            std::string_view valor) = 0;
};

class AlmacenPoliticas {
  public:
    virtual ~AlmacenPoliticas() = default;
    // The value `nombre` of that branch, reading at most `limite` bytes of it.
    // None when the key or the value is missing or cannot be read.
    virtual std::optional<ValorPolitica> Leer(RamaPoliticas rama, const std::u16string& nombre,
                                              std::size_t limite) = 0;
    // None: nobody hears of unusable values.
    AvisoPoliticas* aviso = nullptr;
};
