#include "settings/Conversiones.h"

#include <cerrno>
#include <cstdlib>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "platform/KeyState.h"

namespace {

bool EsSaltable(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

class Lector {
  public:
    explicit Lector(std::string_view t) : texto_(t) {}

    // The next significant character, or '\0' at the end.
    char Ver() {
        while (pos_ < texto_.size() && EsSaltable(texto_[pos_])) ++pos_;
        return pos_ < texto_.size() ? texto_[pos_] : '\0';
    }
    void Avanzar() { ++pos_; }

  private:
    std::string_view texto_;
    std::size_t pos_ = 0;
};

int ValorDigito(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

double EnteroConBase(Lector& lector, int base) {
    std::uint64_t valor = 0;
    bool saturado = false;
    for (int d = ValorDigito(lector.Ver(), base); d >= 0; d = ValorDigito(lector.Ver(), base)) {
        if (valor > (std::numeric_limits<std::uint64_t>::max() - d) / base) saturado = true;
        if (!saturado) valor = valor * base + d;
        lector.Avanzar();
    }
    if (saturado) return static_cast<double>(std::numeric_limits<std::uint64_t>::max());
    if (valor <= 0xFFFFFFFFu) return static_cast<std::int32_t>(static_cast<std::uint32_t>(valor));
    return static_cast<double>(valor);
}

void LeerDigitos(Lector& lector, std::string& destino) {
    for (char c = lector.Ver(); c >= '0' && c <= '9'; c = lector.Ver()) {
        destino += c;
        lector.Avanzar();
    }
}

double Decimal(Lector& lector) {
    std::string numero;
    if (lector.Ver() == '+' || lector.Ver() == '-') {
        if (lector.Ver() == '-') numero += '-';
        lector.Avanzar();
    }
    std::string entera;
    std::string fraccion;
    LeerDigitos(lector, entera);
    if (lector.Ver() == '.') {
        lector.Avanzar();
        LeerDigitos(lector, fraccion);
    }
    if (entera.empty() && fraccion.empty()) return 0.0;
    numero += entera.empty() ? "0" : entera;
    if (!fraccion.empty()) {
        numero += '.';
        numero += fraccion;
    }

    if (lector.Ver() == 'E' || lector.Ver() == 'e') {
        lector.Avanzar();
        bool negativo = false;
        if (lector.Ver() == '+' || lector.Ver() == '-') {
            negativo = lector.Ver() == '-';
            lector.Avanzar();
        }
        // Saturates far beyond any double's range instead of overflowing an int.
        long exponente = 0;
        for (char c = lector.Ver(); c >= '0' && c <= '9'; c = lector.Ver()) {
            exponente = std::min(exponente * 10 + (c - '0'), 100000000L);
            lector.Avanzar();
        }
        numero += negativo ? "e-" : "e";
        numero += std::to_string(exponente);
    }

    bool fueraDeRango = false;
    const double valor = LeerDecimal(numero, fueraDeRango).value_or(0.0);
    if (fueraDeRango && numero.find("e-") == std::string::npos) {
        return numero.front() == '-' ? -std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::infinity();
    }
    return valor;
}

}  // namespace

std::optional<double> LeerDecimal(std::string texto, bool& fueraDeRango) {
    // The runtime's reader is already in the program for its formatting:
    // std::from_chars for double would add 40 KB to it.
    const char punto = *std::localeconv()->decimal_point;
    if (punto != '.' && punto != '\0') std::replace(texto.begin(), texto.end(), '.', punto);
    errno = 0;
    char* fin = nullptr;
    const double valor = std::strtod(texto.c_str(), &fin);
    fueraDeRango = errno == ERANGE;
    if (texto.empty() || fin != texto.c_str() + texto.size()) return std::nullopt;
    return valor;
}

double ValorNumerico(std::string_view texto) {
    Lector lector(texto);
    if (lector.Ver() == '&') {
        lector.Avanzar();
        const char tipo = lector.Ver();
        if (tipo == 'H' || tipo == 'h') {
            lector.Avanzar();
            return EnteroConBase(lector, 16);
        }
        if (tipo == 'O' || tipo == 'o') {
            lector.Avanzar();
            return EnteroConBase(lector, 8);
        }
        return 0.0;
    }
    return Decimal(lector);
}

bool ToBoolean(std::string_view Texto, bool IfBlankOrNullPut) {
    if (Texto == "-1") return true;
    if (Texto.empty() || Texto.front() == '?' || Texto.starts_with("\xC2\xBF")) {
        return IfBlankOrNullPut;
    }
    char primera = Texto.front();
    if (primera >= 'a' && primera <= 'z') primera = static_cast<char>(primera - 'a' + 'A');
    if (ValorNumerico(Texto) == 1.0) return true;
    return primera == 'Y' || primera == 'T' || primera == 'V' || primera == 'S';
}

std::string_view SinBlancos(std::string_view texto) {
    constexpr std::string_view kBlancos = " \t";
    const auto inicio = texto.find_first_not_of(kBlancos);
    if (inicio == std::string_view::npos) return {};
    return texto.substr(inicio, texto.find_last_not_of(kBlancos) + 1 - inicio);
}

std::string ValorEnCaja(std::string_view valor) {
    constexpr std::size_t kMaxCaracteres = 80;
    std::size_t caracteres = 0;
    for (std::size_t i = 0; i < valor.size(); ++i) {
        // A character begins at any byte but a continuation byte.
        if ((static_cast<unsigned char>(valor[i]) & 0xC0) != 0x80 &&
            ++caracteres > kMaxCaracteres) {
            return std::string(valor.substr(0, i)) + "…";
        }
    }
    return std::string(valor);
}

std::optional<unsigned long> EnteroDecimal(std::string_view texto, std::size_t maxCifras) {
    if (texto.empty() || texto.size() > maxCifras ||
        !std::all_of(texto.begin(), texto.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return std::stoul(std::string(texto));
}

std::optional<TeclaFuncion> LeerTeclaFuncion(std::string_view texto) {
    texto = SinBlancos(texto);
    // "F", then 1 to 24 without a leading zero.
    if (texto.size() < 2 || texto.size() > 3) return std::nullopt;
    if ((texto[0] != 'F' && texto[0] != 'f') || texto[1] < '1' || texto[1] > '9') {
        return std::nullopt;
    }
    int numero = 0;
    const char* fin = texto.data() + texto.size();
    const auto [leido, error] = std::from_chars(texto.data() + 1, fin, numero);
    if (error != std::errc{} || leido != fin || numero > 24) return std::nullopt;
    std::string nombre(texto);
    nombre[0] = 'F';
    return TeclaFuncion{kTeclaF1 + numero - 1, nombre};
}
