#include "platform/NombreDispositivo.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

std::string EnMayusculasSinDosPuntos(std::string_view name) {
    std::string n(name);
    std::transform(n.begin(), n.end(), n.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (n.ends_with(':')) n.pop_back();
    return n;
}

}  // namespace

bool EsNombreDeDispositivo(std::string_view name) {
    if (name.starts_with("\\\\.\\")) return true;
    const std::string n = EnMayusculasSinDosPuntos(name);
    if (n == "PRN" || n == "AUX" || n == "NUL") return true;
    const bool lptCom = n.starts_with("LPT") || n.starts_with("COM");
    return lptCom && n.size() == 4 && n[3] >= '1' && n[3] <= '9';
}

bool EsNombreReservado(std::string_view name) {
    if (EsNombreDeDispositivo(name)) return true;
    const std::string n = EnMayusculasSinDosPuntos(name);
    if (n == "CON") return true;
    if (!n.starts_with("LPT") && !n.starts_with("COM")) return false;
    return n.size() > 3 && std::all_of(n.begin() + 3, n.end(),
                                       [](unsigned char c) { return c >= '0' && c <= '9'; });
}

bool EsPuertoDelEquipo(std::string_view name) {
    if (!name.starts_with("\\\\.\\")) return EsNombreDeDispositivo(name);
    const std::string n = EnMayusculasSinDosPuntos(name.substr(4));
    return EsNombreReservado(n) && n != "CON" && n.size() > 3;
}
