#include "settings/Politicas.h"

#include <iterator>

#include "platform/Utf16.h"
#include "settings/Conversiones.h"

namespace {

std::optional<std::string> Valor(const ValorPolitica& valor) {
    const auto& d = valor.datos;
    if (valor.tipo == ValorPolitica::Tipo::Numero && d.size() == 4) {
        std::uint32_t n = d[0] | d[1] << 8 | d[2] << 16 | std::uint32_t{d[3]} << 24;
        char cifras[10];
        char* p = std::end(cifras);
        do *--p = static_cast<char>('0' + n % 10);
        while ((n /= 10) != 0);
        return std::string(p, std::end(cifras));
    }
    if (valor.tipo != ValorPolitica::Tipo::Texto || valor.demasiadoLargo) return std::nullopt;
    std::u16string texto(d.size() / 2, u'\0');
    std::size_t n = 0;
    // The text ends at its first NUL, as every reader of a REG_SZ takes it.
    for (; n < texto.size() && (d[2 * n] | d[2 * n + 1]) != 0; ++n) {
        const auto c = static_cast<char16_t>(d[2 * n] | d[2 * n + 1] << 8);
        // No parameter holds a line break or another control character (the
        // file cannot); a tab may separate web origins.
        if ((c < 0x20 && c != u'\t') || c == 0x7F) return std::nullopt;
        texto[n] = c;
    }
    return std::string(SinBlancos(Utf16ToUtf8(std::u16string_view(texto.data(), n))));
}

}  // namespace

std::optional<std::string> ValorDePolitica(AlmacenPoliticas& almacen, std::string_view clave) {
    const std::u16string nombre = Utf8ToUtf16(clave);
    for (const RamaPoliticas rama : {RamaPoliticas::Equipo, RamaPoliticas::Usuario}) {
        if (const auto leido = almacen.Leer(rama, nombre, kLimitePolitica)) {
            if (auto valor = Valor(*leido)) return valor;
        }
    }
    return std::nullopt;
}
