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

// Printer names compared as Windows compares them, without regard to case: the
// ASCII letters and the accented letters of Latin-1 (Á, Ñ ...), in UTF-8.
bool MismoNombreDeImpresora(std::string_view a, std::string_view b);

// The printer of `instaladas` that `puerto` names, spelt as the system spells
// it: the one equal to it, or else the first equal to it without regard to
// case.
std::optional<std::string> BuscarImpresora(std::string_view puerto,
                                           const std::vector<std::string>& instaladas);

// The installed printer that the port text names, from the list read now (a
// printer added while the program runs counts where the system lists it), or
// nothing when the text is a device, a path or no printer's name. A list that
// cannot be read counts as naming no printer: the text then keeps the meaning
// it always had, a device or a file.
std::optional<std::string> ImpresoraDelPuerto(std::string_view puerto, Printing& impresora);
