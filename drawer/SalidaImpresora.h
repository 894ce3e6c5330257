#pragma once
// The printer path of the drawer kick, driven by the keys AC_BIXOLON_Char,
// AC_BIXOLON_FontSize and AC_PC, read afresh every time.

#include <string>
#include <string_view>

#include "platform/Printing.h"
#include "settings/Parametros.h"

// The device font of receipt-printer drivers that turns text into commands.
inline constexpr const char* kFuenteControl = "FontControl";

// One job: an empty line, then the control text in FontControl, or a second
// empty line, or nothing; then the end of the document. A failure drops the
// job (nothing is printed) and passes on.
void ImprimirApertura(Printing& impresora, Parametros& parametros);

// The job above written as the lines of commands shown in txtPrinter, joined
// by CR LF, the last one "Printer.EndDoc " with its trailing blank. Numbers use
// `separadorDecimal`, the user's decimal separator.
std::string TextoComandosPrinter(Parametros& parametros, std::string_view separadorDecimal);

// AC_BIXOLON_FontSize as a single-precision size; values beyond its range
// become infinite rather than undefined, so the printer refuses them.
float TamanoFuente(std::string_view texto);
