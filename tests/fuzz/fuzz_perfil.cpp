// Any file content must be read without a crash, and a value found for a key
// must never hold a line end.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/portable/PortableProfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view contenido(reinterpret_cast<const char*>(data), size);
    for (const char* clave : {"KovraPuerto", "KovraTipo", "AC_BIXOLON_Char", ""}) {
        std::string valor;
        if (BuscarEnPerfil(contenido, "Parametros", clave, valor) &&
            valor.find('\n') != std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
