// Any text as KovraWebOrigenes: every entry kept is an origin as a browser
// writes it, so reading it again gives itself; the others are named.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "bridge/OrigenesWeb.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ConversorIdn idn = [](std::string_view h) -> std::optional<std::string> {
        if (h.size() % 2) return std::nullopt;
        return "xn--" + std::string(h.size() % 7, 'a') + ".Es";
    };
    const ListaOrigenes lista =
        LeerOrigenes(std::string_view(reinterpret_cast<const char*>(data), size), idn);
    for (const std::string& o : lista.origenes) {
        if (LeerOrigen(o, idn) != o || (o.starts_with("https:") && o.ends_with(":443")) ||
            (o.starts_with("http:") && o.ends_with(":80")) ||
            o.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ/?#@* ", 8) != std::string::npos) {
            std::abort();
        }
    }
    if (!lista.descartados.empty() && TextoOrigenesDescartados(lista).empty()) std::abort();
    return 0;
}
