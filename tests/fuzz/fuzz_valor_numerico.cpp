// Any text must give a number without a crash or undefined behaviour, and the
// boolean reading of it must be consistent with the numeric one.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/Conversiones.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view texto(reinterpret_cast<const char*>(data), size);
    const double valor = ValorNumerico(texto);
    if (std::isnan(valor)) std::abort();
    if (valor == 1.0 && !ToBoolean(texto, false)) std::abort();
    ToBoolean(texto, true);
    return 0;
}
