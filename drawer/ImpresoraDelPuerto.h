#pragma once
// A printer's name in the port box: USB receipt printers have a port (USB001)
// that cannot be opened as a file, so the kick reaches them through their
// print queue instead, as a RAW job.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Printing.h"

// False for the texts that keep their meaning as a device or a path: the
// device names (LPT1: .. LPT9:, COM1: .. COM9:, PRN, AUX, NUL), any text
// holding ':', '\' or '/', and the empty text. For those the printer list is
// not even read.
bool PuedeSerImpresora(std::string_view puerto);

// The printer of `instaladas` that `puerto` names, spelt as the system spells
// it: the one equal to it, or else the first that the system takes for the
// same name (case aside).
std::optional<std::string> BuscarImpresora(std::string_view puerto,
                                           const std::vector<std::string>& instaladas,
                                           Printing& impresora);

// The installed printer that a text that can name a printer (see
// PuedeSerImpresora) names, from the list read now: a printer added while
// the program runs counts where the system lists it. Such a bare name is
// always a printer's name: one that names no installed printer, or a list
// that cannot be read, fails with 1801 rather than become a file in whatever
// folder the program happened to start in.
std::string ImpresoraDelPuerto(std::string_view puerto, Printing& impresora);
