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

// System numbers that the program's own rules give too, with the system's
// wording: a printer's name that names no printer, a printer that cannot
// take a job now.
inline constexpr std::int32_t kNombreImpresoraNoValido = 1801;  // ERROR_INVALID_PRINTER_NAME
inline constexpr std::int32_t kEstadoImpresoraNoValido = 1906;  // ERROR_INVALID_PRINTER_STATE
inline constexpr char kTextoNombreImpresoraNoValido[] = "El nombre de la impresora no es válido";
inline constexpr char kTextoImpresoraNoDisponible[] = "La impresora no está disponible";
}  // namespace errores

// A failure for anything thrown that is not already a Fallo, so a guard never
// lets an exception escape into the message loop.
Fallo FalloDeExcepcion(const std::exception& e);
