#include "drawer/ImpresoraDelPuerto.h"

#include <algorithm>

#include "platform/Fallo.h"
#include "platform/NombreDispositivo.h"

bool PuedeSerImpresora(std::string_view puerto) {
    if (puerto.empty() || EsNombreDeDispositivo(puerto)) return false;
    return puerto.find_first_of(":\\/") == std::string_view::npos;
}

std::optional<std::string> BuscarImpresora(std::string_view puerto,
                                           const std::vector<std::string>& instaladas,
                                           Printing& impresora) {
    auto it = std::find(instaladas.begin(), instaladas.end(), puerto);
    if (it == instaladas.end()) {
        it = std::find_if(instaladas.begin(), instaladas.end(),
                          [&](const std::string& n) { return impresora.SameName(n, puerto); });
    }
    if (it == instaladas.end()) return std::nullopt;
    return *it;
}

std::string ImpresoraDelPuerto(std::string_view puerto, Printing& impresora) {
    std::optional<std::string> encontrada;
    try {
        encontrada = BuscarImpresora(puerto, impresora.InstalledPrinters(), impresora);
    } catch (const Fallo&) {
        // A list that cannot be read (the spooler stopped) names no printer.
    }
    if (!encontrada) {
        throw Fallo(errores::kNombreImpresoraNoValido, errores::kTextoNombreImpresoraNoValido);
    }
    return *encontrada;
}
