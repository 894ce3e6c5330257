#include "bridge/OrigenesWeb.h"

#include <algorithm>

#include "bridge/PeticionHttp.h"
#include "settings/Conversiones.h"

namespace {

constexpr std::size_t kMaxEnCaja = 10;

bool Separador(char c) {
    return c == ' ' || c == '\t' || c == ',';
}

bool Cifra(char c) {
    return c >= '0' && c <= '9';
}

// What a browser's origin can hold as a host, once in ASCII and lower case:
// dot-separated labels of letters, digits, '-' and '_', or an IPv6 address
// in brackets.
bool HostValido(std::string_view h) {
    if (h.size() > 2 && h.front() == '[' && h.back() == ']') {
        return std::all_of(h.begin() + 1, h.end() - 1, [](char c) {
            return Cifra(c) || (c >= 'a' && c <= 'f') || c == ':' || c == '.';
        });
    }
    if (h.empty() || h.size() > 253 || h.front() == '.' || h.back() == '.' ||
        h.find("..") != std::string_view::npos) {
        return false;
    }
    return std::all_of(h.begin(), h.end(), [](char c) {
        return Cifra(c) || (c >= 'a' && c <= 'z') || c == '-' || c == '_' || c == '.';
    });
}

}  // namespace

std::optional<std::string> LeerOrigen(std::string_view entrada, ConversorIdn idn) {
    const std::size_t dos = entrada.find("://");
    if (dos == std::string_view::npos) return std::nullopt;
    const std::string esquema = Minusculas(entrada.substr(0, dos));
    if (esquema != "http" && esquema != "https") return std::nullopt;
    std::string_view resto = entrada.substr(dos + 3);
    if (!resto.empty() && resto.back() == '/') resto.remove_suffix(1);
    // The port's colon: after the brackets of an IPv6 address.
    const std::size_t corchete = resto.rfind(']');
    const std::size_t colon = resto.find(':', corchete == std::string_view::npos ? 0 : corchete);
    std::string_view host = resto.substr(0, colon);
    std::string sufijo;
    if (colon != std::string_view::npos) {
        const std::string_view p = resto.substr(colon + 1);
        const auto puerto = EnteroDecimal(p, 5);
        if (!puerto || *puerto < 1 || *puerto > 65535) return std::nullopt;
        // Browsers leave the default port out.
        if (*puerto != (esquema == "http" ? 80 : 443)) sufijo = ":" + std::to_string(*puerto);
    }
    std::string ascii;
    if (std::any_of(host.begin(), host.end(),
                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        const auto convertido = idn ? idn(host) : std::nullopt;
        if (!convertido) return std::nullopt;
        ascii = Minusculas(*convertido);
    } else {
        ascii = Minusculas(host);
    }
    if (!HostValido(ascii)) return std::nullopt;
    return esquema + "://" + ascii + sufijo;
}

ListaOrigenes LeerOrigenes(std::string_view texto, ConversorIdn idn) {
    ListaOrigenes lista;
    std::size_t i = 0;
    while (i < texto.size()) {
        while (i < texto.size() && Separador(texto[i])) ++i;
        const std::size_t inicio = i;
        while (i < texto.size() && !Separador(texto[i])) ++i;
        if (i == inicio) continue;
        const std::string_view entrada = texto.substr(inicio, i - inicio);
        if (auto origen = LeerOrigen(entrada, idn)) {
            lista.origenes.push_back(std::move(*origen));
        } else {
            lista.descartados.emplace_back(entrada);
        }
    }
    return lista;
}

std::string TextoOrigenesDescartados(const ListaOrigenes& lista) {
    std::string nombres;
    for (std::size_t i = 0; i < lista.descartados.size() && i < kMaxEnCaja; ++i) {
        nombres += (i > 0 ? ", \"" : "\"") + ValorEnCaja(lista.descartados[i]) + "\"";
    }
    if (lista.descartados.size() > kMaxEnCaja) nombres += "…";
    std::string texto =
        "Estos valores de KovraWebOrigenes no son orígenes y no se usan: " + nombres +
        ".\r\nUn origen se escribe como lo escribe el navegador: http:// o https://, el nombre "
        "del equipo y, si no es el normal, el puerto (https://tpv.ejemplo.com, "
        "http://localhost:8080), sin ruta, comodines ni usuario.";
    const bool nulo = std::any_of(lista.descartados.begin(), lista.descartados.end(),
                                  [](const std::string& d) { return Minusculas(d) == "null"; });
    if (nulo) {
        texto +=
            "\r\n\"null\" no se admite nunca: lo envía cualquier página (un marco aislado, una "
            "página data: o file://).";
    }
    return texto + (lista.origenes.empty()
                        ? "\r\nEl programa de ventas en el navegador no podrá abrir el cajón."
                        : "\r\nLos demás orígenes de la lista funcionan.");
}
