#include "drawer/ImpresoraDelPuerto.h"

#include <algorithm>

#include "platform/Fallo.h"
#include "platform/NombreDispositivo.h"

namespace {

// The UTF-8 lead byte of U+00C0..U+00FF.
constexpr unsigned char kLatin1Alto = 0xC3;

// One character's case folded: ASCII A-Z, and the second byte of À..Þ
// (U+00C0..U+00DE but not × U+00D7) after the lead byte C3 moves to à..þ.
unsigned char Plegar(unsigned char c, unsigned char anterior) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c - 'A' + 'a');
    if (anterior == kLatin1Alto && c >= 0x80 && c <= 0x9E && c != 0x97) {
        return static_cast<unsigned char>(c + 0x20);
    }
    return c;
}

}  // namespace

bool PuedeSerImpresora(std::string_view puerto) {
    if (puerto.empty() || EsNombreDeDispositivo(puerto)) return false;
    return puerto.find_first_of(":\\/") == std::string_view::npos;
}

bool MismoNombreDeImpresora(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x == y) continue;
        // The lead bytes are equal here: both strings are at the same place.
        const auto previo = i > 0 ? static_cast<unsigned char>(a[i - 1]) : 0;
        if (Plegar(x, previo) != Plegar(y, previo)) return false;
    }
    return true;
}

std::optional<std::string> BuscarImpresora(std::string_view puerto,
                                           const std::vector<std::string>& instaladas) {
    auto it = std::find(instaladas.begin(), instaladas.end(), puerto);
    if (it == instaladas.end()) {
        it = std::find_if(instaladas.begin(), instaladas.end(),
                          [&](const std::string& n) { return MismoNombreDeImpresora(n, puerto); });
    }
    if (it == instaladas.end()) return std::nullopt;
    return *it;
}

std::optional<std::string> ImpresoraDelPuerto(std::string_view puerto, Printing& impresora) {
    if (!PuedeSerImpresora(puerto)) return std::nullopt;
    std::vector<std::string> instaladas;
    try {
        instaladas = impresora.InstalledPrinters();
    } catch (const Fallo&) {
        return std::nullopt;
    }
    return BuscarImpresora(puerto, instaladas);
}
