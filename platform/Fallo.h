#pragma once
// The failure that guarded procedures catch and report: a number and a one-line
// description. Platform wrappers raise it with the system's error number; the
// logic raises it with the program's own numbers (13, 6, 5 ...).

#include <cstdint>
#include <stdexcept>
#include <string>

struct Fallo : std::runtime_error {
    Fallo(std::int32_t numero, std::string descripcion)
        : std::runtime_error(descripcion), numero(numero), descripcion(std::move(descripcion)) {}

    std::int32_t numero;
    std::string descripcion;
};

// Numbers of the failures the program raises itself.
namespace errores {
inline constexpr std::int32_t kArgumentoNoValido = 5;
inline constexpr std::int32_t kDesbordamiento = 6;
inline constexpr std::int32_t kMemoriaInsuficiente = 7;
inline constexpr std::int32_t kTiposNoCoinciden = 13;
inline constexpr std::int32_t kErrorInterno = 51;
inline constexpr std::int32_t kParametroNoValido = 87;  // as the system numbers it
inline constexpr std::int32_t kValorPropiedadNoValido = 380;
inline constexpr std::int32_t kImpresoraNoDisponible = 482;
}  // namespace errores

// A failure for anything thrown that is not already a Fallo, so a guard never
// lets an exception escape into the message loop.
Fallo FalloDeExcepcion(const std::exception& e);
