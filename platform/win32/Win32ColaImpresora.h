#pragma once
// What the spooler says of one printer around a kick: its name as the system
// compares names, its state, this user's jobs in its queue, and what became
// of the kick's own job.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Printing.h"
#include "platform/win32/Unico.h"

// A printer handle from OpenPrinter, closed with ClosePrinter.
using ImpresoraAbierta = ImpresoraUnica;

// Equal without regard to case, as the system compares object names
// (CompareStringOrdinal): every script's letters, not only Latin-1's.
bool MismoNombreDeImpresora(std::string_view a, std::string_view b);

// The queue of `impresora`, opened once with the default access (use):
// enough to read the state and the jobs, and to delete the jobs this user
// owns. Nothing when the printer cannot be opened. State is GetPrinter level
// 2; OwnJobs, EnumJobs level 1 with only the jobs of the user running the
// program.
std::unique_ptr<PrinterQueue> AbrirCola(const std::string& impresora) noexcept;

// Follows job `id`, just handed to the open printer, for about a second
// (SeguirTrabajo over GetJob level 1's status); a job stuck meanwhile is
// deleted and fails with 1906.
void ComprobarTrabajoEntregado(void* impresora, std::uint32_t id);
