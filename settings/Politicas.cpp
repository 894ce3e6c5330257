#include "settings/Politicas.h"

#include <algorithm>
#include <iterator>

#include "platform/Utf16.h"
#include "settings/Conversiones.h"
#include "settings/Parametros.h"

namespace {

bool Igual(std::string_view texto, std::string_view minusculas) {
    if (texto.size() != minusculas.size()) return false;
    for (std::size_t i = 0; i < texto.size(); ++i) {
        const char c = texto[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != minusculas[i]) {
            return false;
        }
    }
    return true;
}

bool EsNumero(std::string_view texto) {
    if (texto.starts_with('-')) texto.remove_prefix(1);
    return !texto.empty() && texto.find_first_not_of("0123456789") == std::string_view::npos;
}

// The longest value a report shows, in characters.
constexpr std::size_t kCorteAviso = 64;

std::string Decimal(std::uint64_t n) {
    char cifras[20];
    char* p = std::end(cifras);
    do *--p = static_cast<char>('0' + n % 10);
    while ((n /= 10) != 0);
    return std::string(p, std::end(cifras));
}

// The stored bytes as UTF-16 code units, little-endian; an odd last byte is
// no unit.
std::u16string Unidades(const ValorPolitica& valor) {
    const auto& d = valor.datos;
    std::u16string unidades(d.size() / 2, u'\0');
    for (std::size_t i = 0; i < unidades.size(); ++i) {
        unidades[i] = static_cast<char16_t>(d[2 * i] | d[2 * i + 1] << 8);
    }
    return unidades;
}

// The texts of a REG_SZ (one) or a REG_MULTI_SZ (each up to its NUL; an
// empty one ends the list), joined by a blank: codes or origins one a line
// read as they would on one line. None when one holds a control character:
// no parameter holds a line break or another (the file cannot); a tab may
// separate web origins.
std::optional<std::u16string> Textos(const ValorPolitica& valor) {
    const std::u16string unidades = Unidades(valor);
    std::u16string todo;
    std::size_t i = 0;
    do {
        const std::size_t fin = std::min(unidades.find(u'\0', i), unidades.size());
        const std::u16string_view uno(unidades.data() + i, fin - i);
        i = fin + 1;  // past the NUL
        if (uno.empty()) break;
        for (const char16_t c : uno) {
            if ((c < 0x20 && c != u'\t') || c == 0x7F) return std::nullopt;
        }
        if (!todo.empty()) todo += u' ';
        todo += uno;
    } while (valor.tipo == ValorPolitica::Tipo::Lista && i < unidades.size());
    return todo;
}

std::optional<std::string> Valor(const ValorPolitica& valor) {
    const auto& d = valor.datos;
    if (valor.demasiadoLargo) return std::nullopt;
    if (valor.tipo == ValorPolitica::Tipo::Numero && (d.size() == 4 || d.size() == 8)) {
        std::uint64_t n = 0;
        for (std::size_t i = d.size(); i-- > 0;) n = n << 8 | d[i];
        return Decimal(n);
    }
    if (valor.tipo != ValorPolitica::Tipo::Texto && valor.tipo != ValorPolitica::Tipo::Lista) {
        return std::nullopt;
    }
    const auto texto = Textos(valor);
    // Expanded, %VARIABLE% would be the user's own environment: the user
    // would set what the administrator fixed. As stored, it means nothing.
    constexpr std::uint32_t kTextoExpandible = 2;  // REG_EXPAND_SZ
    if (!texto || (valor.tipoRegistro == kTextoExpandible && texto->find(u'%') != texto->npos)) {
        return std::nullopt;
    }
    std::string utf8(SinBlancos(Utf16ToUtf8(*texto)));
    // What an administrator means by them in a switch.
    if (Igual(utf8, "true")) return "1";
    if (Igual(utf8, "false")) return "0";
    return utf8;
}

std::string NombreTipo(std::uint32_t tipo) {
    static constexpr const char* kNombres[] = {"REG_NONE",
                                               "REG_SZ",
                                               "REG_EXPAND_SZ",
                                               "REG_BINARY",
                                               "REG_DWORD",
                                               "REG_DWORD_BIG_ENDIAN",
                                               "REG_LINK",
                                               "REG_MULTI_SZ",
                                               "REG_RESOURCE_LIST",
                                               "REG_FULL_RESOURCE_DESCRIPTOR",
                                               "REG_RESOURCE_REQUIREMENTS_LIST",
                                               "REG_QWORD"};
    if (tipo < std::size(kNombres)) return kNombres[tipo];
    return "tipo " + Decimal(tipo);
}

// The value as a report shows it: a text's characters, any control one as
// '?', or else the first bytes in hexadecimal; cut.
std::string ValorVisible(const ValorPolitica& valor) {
    if (valor.demasiadoLargo) return "(demasiado largo)";
    std::string visible;
    if (valor.tipo == ValorPolitica::Tipo::Texto || valor.tipo == ValorPolitica::Tipo::Lista) {
        std::u16string texto = Unidades(valor);
        while (!texto.empty() && texto.back() == u'\0') texto.pop_back();  // its end
        texto.resize(std::min(texto.size(), kCorteAviso));
        for (auto& c : texto) {
            if (c < 0x20 || c == 0x7F || (c >= 0xD800 && c < 0xE000)) c = u'?';
        }
        return Utf16ToUtf8(texto);
    }
    for (std::size_t i = 0; i < valor.datos.size() && i < kCorteAviso / 2; ++i) {
        visible += "0123456789ABCDEF"[valor.datos[i] >> 4];
        visible += "0123456789ABCDEF"[valor.datos[i] & 0xF];
    }
    return visible;
}

}  // namespace

std::optional<std::string> ValorDePolitica(AlmacenPoliticas& almacen, std::string_view clave) {
    const std::u16string nombre = Utf8ToUtf16(clave);
    for (const RamaPoliticas rama : {RamaPoliticas::Equipo, RamaPoliticas::Usuario}) {
        const auto leido = almacen.Leer(rama, nombre, kLimitePolitica);
        if (!leido) continue;
        auto valor = Valor(*leido);
        // A lock must read as a number: "sí" is no "0".
        if (valor && clave == claves::KovraBloqueado && !EsNumero(*valor)) valor.reset();
        if (valor) return valor;
        // Set, but not usable: told, and never taken as not set, nor passed
        // to the user's branch, where the user may write.
        if (almacen.aviso != nullptr) {
            almacen.aviso->Inservible(clave, rama, NombreTipo(leido->tipoRegistro),
                                      ValorVisible(*leido));
        }
        return ValorMasEstricto(clave);
    }
    return std::nullopt;
}

std::optional<std::string> ValorMasEstricto(std::string_view clave) {
    if (clave == claves::KovraBloqueado) return "1";
    if (clave == claves::KovraWebOrigenes) return "";
    return std::nullopt;
}
