#include "platform/NombreDispositivo.h"

#include <algorithm>
#include <cctype>
#include <string>

bool EsNombreDeDispositivo(std::string_view name) {
    if (name.starts_with("\\\\.\\")) return true;
    std::string n(name);
    std::transform(n.begin(), n.end(), n.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (n.ends_with(':')) n.pop_back();
    if (n == "PRN" || n == "AUX" || n == "NUL") return true;
    const bool lptCom = n.starts_with("LPT") || n.starts_with("COM");
    return lptCom && n.size() == 4 && n[3] >= '1' && n[3] <= '9';
}
