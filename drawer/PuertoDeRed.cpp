#include "drawer/PuertoDeRed.h"

#include <algorithm>
#include <optional>

#include "platform/Fallo.h"
#include "platform/NombreDispositivo.h"
#include "settings/Conversiones.h"

namespace {

constexpr std::string_view kPrefijoTcp = "tcp://";
constexpr std::uint32_t kPuertoMaximo = 65535;

bool EsDigito(char c) {
    return c >= '0' && c <= '9';
}
bool EsHex(char c) {
    return EsDigito(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool EsLetraODigito(char c) {
    return EsDigito(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The letters of a host name or an IPv4 address; '_' because Windows names
// may hold it.
bool EsDeHost(char c) {
    return EsLetraODigito(c) || c == '.' || c == '-' || c == '_';
}

// Two characters or more: a one-letter "host" is a drive ("C:9100").
bool EsHost(std::string_view h) {
    return h.size() >= 2 && std::all_of(h.begin(), h.end(), EsDeHost);
}

// Hex digits, ':' and '.' (an IPv4 tail), with at least one ':', and an
// optional zone after '%' ("fe80::1%4", "fe80::1%eth0").
bool EsIPv6(std::string_view h) {
    const auto zona = h.find('%');
    if (zona != std::string_view::npos) {
        const auto nombre = h.substr(zona + 1);
        if (nombre.empty() || !std::all_of(nombre.begin(), nombre.end(), EsDeHost)) return false;
        h = h.substr(0, zona);
    }
    return h.find(':') != std::string_view::npos &&
           std::all_of(h.begin(), h.end(), [](char c) { return EsHex(c) || c == ':' || c == '.'; });
}

// 1 to 65535 in decimal digits only; leading zeros change nothing.
std::optional<std::uint16_t> LeerNumeroPuerto(std::string_view texto) {
    if (texto.empty()) return std::nullopt;
    std::uint32_t valor = 0;
    for (const char c : texto) {
        if (!EsDigito(c)) return std::nullopt;
        valor = valor * 10 + static_cast<std::uint32_t>(c - '0');
        if (valor > kPuertoMaximo) return std::nullopt;
    }
    if (valor == 0) return std::nullopt;
    return static_cast<std::uint16_t>(valor);
}

PuertoDeRed Direccion(std::string_view host, std::optional<std::uint16_t> puerto, bool hostValido) {
    if (!hostValido || !puerto) return {FormaPuerto::MalFormado, {}, 0};
    return {FormaPuerto::DeRed, std::string(host), *puerto};
}

// "[IPv6]" followed by ":puerto", or by nothing when a port may be left out.
PuertoDeRed LeerCorchetes(std::string_view texto, bool puertoOpcional) {
    const auto cierre = texto.find(']');
    if (cierre == std::string_view::npos) return Direccion({}, {}, false);
    const auto host = texto.substr(1, cierre - 1);
    const auto resto = texto.substr(cierre + 1);
    if (resto.empty() && puertoOpcional) return Direccion(host, kPuertoRaw, EsIPv6(host));
    if (!resto.starts_with(':')) return Direccion({}, {}, false);
    return Direccion(host, LeerNumeroPuerto(resto.substr(1)), EsIPv6(host));
}

bool EmpiezaPorTcp(std::string_view texto) {
    if (texto.size() < kPrefijoTcp.size()) return false;
    return std::equal(kPrefijoTcp.begin(), kPrefijoTcp.end(), texto.begin(), [](char a, char b) {
        return a == ((b >= 'A' && b <= 'Z') ? static_cast<char>(b - 'A' + 'a') : b);
    });
}

}  // namespace

PuertoDeRed LeerPuertoDeRed(std::string_view texto) {
    // A blank typed before or after an address is not part of it.
    texto = SinBlancos(texto);
    if (EmpiezaPorTcp(texto)) {
        // After "tcp://" nothing else is meant: whatever does not read is malformed.
        const auto resto = texto.substr(kPrefijoTcp.size());
        if (resto.starts_with('[')) return LeerCorchetes(resto, true);
        const auto dosPuntos = resto.find(':');
        const auto host = resto.substr(0, dosPuntos);
        if (dosPuntos == std::string_view::npos) return Direccion(host, kPuertoRaw, EsHost(host));
        return Direccion(host, LeerNumeroPuerto(resto.substr(dosPuntos + 1)), EsHost(host));
    }
    // "[" ... "]:" reads as an address; "[caja].bin" stays a file.
    if (texto.starts_with('[') && texto.find("]:") != std::string_view::npos) {
        return LeerCorchetes(texto, false);
    }
    const auto dosPuntos = texto.find(':');
    if (dosPuntos == std::string_view::npos) return {};
    const auto host = texto.substr(0, dosPuntos);
    // "LPT1:", "COM10:9600" and "C:..." (a one-letter host) keep their
    // meaning as devices and drives.
    if (EsNombreReservado(host)) return {};
    if (host.empty() || EsHost(host)) {
        return Direccion(host, LeerNumeroPuerto(texto.substr(dosPuntos + 1)), !host.empty());
    }
    // Anything else that ends in ":" and digits and is no path ("Mi impresora:9100",
    // "impresora-cañada:9100") was meant as an address: as a file name it
    // would write a file (on NTFS, one with a stream named after the port).
    const auto ultimos = texto.rfind(':');
    const auto antes = texto.substr(0, ultimos);
    const auto despues = texto.substr(ultimos + 1);
    if (texto.find_first_of("\\/") == std::string_view::npos && antes.size() >= 2 &&
        !EsNombreReservado(antes) && std::all_of(despues.begin(), despues.end(), EsDigito)) {
        return Direccion({}, {}, false);
    }
    return {};
}

std::unique_ptr<OutputPort> ConectarPuertoDeRed(const PuertoDeRed& puerto, NetworkOpener* red) {
    if (puerto.forma != FormaPuerto::DeRed) {
        throw Fallo(errores::kParametroNoValido,
                    "Parámetro no válido: la dirección de red no es válida");
    }
    if (red == nullptr) throw Fallo(errores::kErrorInterno, "Error interno: sin acceso a la red");
    return red->Connect(puerto.host, puerto.puerto);
}
