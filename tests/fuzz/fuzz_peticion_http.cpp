// Any bytes from a connection, in any pieces, must be read within the limits
// and answered with a well-formed response; only a listed origin's JSON POST
// may reach the kick.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "bridge/PuenteWeb.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t trozo = data[0] % 64 + 1;
    const std::string_view texto(reinterpret_cast<const char*>(data) + 1, size - 1);
    LectorPeticion lector;
    for (std::size_t i = 0; i < texto.size(); i += trozo) lector.Anadir(texto.substr(i, trozo));
    const PeticionHttp& p = lector.Peticion();
    if (p.cuerpo.size() > kMaxCuerpoHttp) std::abort();
    int patadas = 0;
    PuenteWeb puente(
        {{"https://tpv.ejemplo.com"}, 47110}, "1.0.0",
        [&](const std::string&) {
            ++patadas;
            return ResultadoWeb{ResultadoWeb::Estado::Enviado, 0, {}};
        },
        {}, [] { return std::int64_t{0}; });
    const std::string r = puente.Responder(lector);
    if (r.rfind("HTTP/1.1 ", 0) != 0 || r.find("\r\n\r\n") == std::string::npos) std::abort();
    const auto origen = p.Cabecera("origin");
    if (patadas > 0 &&
        (p.metodo != "POST" || !origen || Minusculas(*origen) != "https://tpv.ejemplo.com")) {
        std::abort();
    }
    return 0;
}
