#pragma once
// What the spooler says of one printer before a kick is handed to it: its
// name as the system compares names, its state, and this user's jobs waiting
// in its queue.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Printing.h"

// A printer handle from OpenPrinter, closed with ClosePrinter.
struct CerrarImpresora {
    void operator()(void* impresora) const;
};
using ImpresoraAbierta = std::unique_ptr<void, CerrarImpresora>;

// Equal without regard to case, as the system compares object names
// (CompareStringOrdinal): every script's letters, not only Latin-1's.
bool MismoNombreDeImpresora(std::string_view a, std::string_view b);

// GetPrinter level 2; nothing when the printer cannot be opened or read.
std::optional<EstadoImpresora> LeerEstadoImpresora(const std::string& impresora) noexcept;

// EnumJobs level 1, only the jobs whose user is the user running the program.
std::vector<TrabajoEnCola> TrabajosPropios(const std::string& impresora) noexcept;

void BorrarTrabajo(const std::string& impresora, std::uint32_t id) noexcept;
