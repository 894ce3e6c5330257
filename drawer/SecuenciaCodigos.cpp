#include "drawer/SecuenciaCodigos.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/Fallo.h"
#include "settings/Conversiones.h"

namespace {

[[noreturn]] void NoEsNumero() {
    throw Fallo(errores::kTiposNoCoinciden, "No coinciden los tipos");
}
[[noreturn]] void Desborda() {
    throw Fallo(errores::kDesbordamiento, "Desbordamiento");
}

bool EsDigito(char c) {
    return c >= '0' && c <= '9';
}

// "&H1B" / "&O33": a whole number that must fit in 32 bits, as a Long.
std::int64_t EnteroConBase(std::string_view digitos, int base) {
    if (digitos.empty()) NoEsNumero();
    std::uint64_t valor = 0;
    for (const char c : digitos) {
        int d = -1;
        if (EsDigito(c)) d = c - '0';
        if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        if (d < 0 || d >= base) NoEsNumero();
        valor = valor * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
        if (valor > 0xFFFFFFFFu) Desborda();
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(valor));
}

// Sign, digits, optional fraction and exponent, and nothing else.
bool EsDecimalCompleto(std::string_view t) {
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t digitos = 0;
    while (i < t.size() && EsDigito(t[i])) ++i, ++digitos;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && EsDigito(t[i])) ++i, ++digitos;
    }
    if (digitos == 0) return false;
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        const std::size_t inicio = i;
        while (i < t.size() && EsDigito(t[i])) ++i;
        if (i == inicio) return false;
    }
    return i == t.size();
}

std::int64_t EnteroDecimal(std::string_view item) {
    if (!EsDecimalCompleto(item)) NoEsNumero();
    std::string_view texto = item;
    bool fueraDeRango = false;
    const auto leido = LeerDecimal(std::string(texto), fueraDeRango);
    if (!leido) NoEsNumero();
    const double valor = *leido;
    if (fueraDeRango) {
        // Too small in magnitude is zero; too large overflows.
        const auto e = texto.find_first_of("eE");
        if (e != std::string_view::npos && texto.substr(e + 1).starts_with('-')) return 0;
        Desborda();
    }
    const double redondeado = std::nearbyint(valor);  // ties to even, the default mode
    if (!(redondeado >= std::numeric_limits<std::int32_t>::min() &&
          redondeado <= std::numeric_limits<std::int32_t>::max())) {
        Desborda();
    }
    return static_cast<std::int64_t>(redondeado);
}

}  // namespace

std::vector<std::string_view> DividirItems(std::string_view texto) {
    std::vector<std::string_view> items;
    if (texto.empty()) return items;
    while (true) {
        const auto blanco = texto.find(' ');
        items.push_back(texto.substr(0, blanco));
        if (blanco == std::string_view::npos) break;
        texto.remove_prefix(blanco + 1);
    }
    return items;
}

unsigned char CodigoDeItem(std::string_view item) {
    std::int64_t valor = 0;
    if (item.size() >= 2 && item[0] == '&' && (item[1] == 'H' || item[1] == 'h')) {
        valor = EnteroConBase(item.substr(2), 16);
    } else if (item.size() >= 2 && item[0] == '&' && (item[1] == 'O' || item[1] == 'o')) {
        valor = EnteroConBase(item.substr(2), 8);
    } else {
        valor = EnteroDecimal(item);
    }
    if (valor < 0 || valor > 255) {
        throw Fallo(errores::kArgumentoNoValido, "Llamada a procedimiento o argumento no válidos");
    }
    return static_cast<unsigned char>(valor);
}
