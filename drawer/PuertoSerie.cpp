#include "drawer/PuertoSerie.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "platform/Fallo.h"

namespace {

constexpr int kMayorPuerto = 255;

std::string Minusculas(std::string_view texto) {
    std::string t(texto);
    std::transform(t.begin(), t.end(), t.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return t;
}

std::string_view SinBlancos(std::string_view t) {
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    return t;
}

bool SoloDigitos(std::string_view t) {
    return !t.empty() &&
           std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "1".."255", without leading zeros: the numbers the system gives COM ports.
std::optional<int> NumeroPuerto(std::string_view t) {
    if (!SoloDigitos(t) || t.size() > 3 || t.front() == '0') return std::nullopt;
    const int n = std::stoi(std::string(t));
    if (n > kMayorPuerto) return std::nullopt;
    return n;
}

// MODE's speeds: the full number, or its first two digits (96 for 9600).
bool Velocidad(std::string_view t) {
    if (!SoloDigitos(t) || t.size() > 7) return false;
    static constexpr std::array<std::string_view, 9> kAbreviadas = {"11", "15", "30", "60", "12",
                                                                    "24", "48", "96", "19"};
    if (t.size() == 2)
        return std::find(kAbreviadas.begin(), kAbreviadas.end(), t) != kAbreviadas.end();
    const long v = std::stol(std::string(t));
    return v >= 75 && v <= 4000000;
}

bool Uno(std::string_view t, std::initializer_list<std::string_view> validos) {
    return std::find(validos.begin(), validos.end(), t) != validos.end();
}

bool Paridad(std::string_view t) {
    return Uno(t, {"n", "e", "o", "m", "s"});
}
bool Datos(std::string_view t) {
    return Uno(t, {"5", "6", "7", "8"});
}
bool Parada(std::string_view t) {
    return Uno(t, {"1", "1.5", "2"});
}

std::vector<std::string_view> Partir(std::string_view t, char separador) {
    std::vector<std::string_view> partes;
    for (;;) {
        const auto p = t.find(separador);
        partes.push_back(t.substr(0, p));
        if (p == std::string_view::npos) return partes;
        t.remove_prefix(p + 1);
    }
}

// baud[,parity[,data[,stop[,handshake]]]]
bool FormaMode(std::string_view t) {
    const auto partes = Partir(t, ',');
    if (partes.size() > 5) return false;
    for (std::size_t i = 0; i < partes.size(); ++i) {
        const auto p = SinBlancos(partes[i]);
        const bool bien = i == 0   ? Velocidad(p)
                          : i == 1 ? Paridad(p)
                          : i == 2 ? Datos(p)
                          : i == 3 ? Parada(p)
                                   : Uno(p, {"x", "p"});
        if (!bien) return false;
    }
    return true;
}

// key=value pairs separated by blanks.
bool FormaClaves(std::string_view t) {
    bool alguna = false;
    for (const auto par : Partir(t, ' ')) {
        if (par.empty()) continue;
        const auto igual = par.find('=');
        if (igual == std::string_view::npos) return false;
        const auto clave = par.substr(0, igual);
        const auto valor = par.substr(igual + 1);
        bool bien = false;
        if (clave == "baud")
            bien = Velocidad(valor);
        else if (clave == "parity")
            bien = Paridad(valor);
        else if (clave == "data")
            bien = Datos(valor);
        else if (clave == "stop")
            bien = Parada(valor);
        else if (Uno(clave, {"xon", "odsr", "octs", "idsr", "to"}))
            bien = Uno(valor, {"on", "off"});
        else if (clave == "dtr")
            bien = Uno(valor, {"on", "off", "hs"});
        else if (clave == "rts")
            bien = Uno(valor, {"on", "off", "hs", "tg"});
        if (!bien) return false;
        alguna = true;
    }
    return alguna;
}

}  // namespace

bool AjustesSerieValidos(std::string_view ajustes) {
    const std::string t = Minusculas(SinBlancos(ajustes));
    if (t.empty()) return true;
    return t.find('=') != std::string::npos ? FormaClaves(t) : FormaMode(t);
}

std::optional<PuertoSerie> LeerPuertoSerie(std::string_view texto) {
    const std::string t = Minusculas(texto);
    std::string_view resto = t;
    const bool largo = resto.starts_with("\\\\.\\");
    if (largo) resto.remove_prefix(4);
    if (!resto.starts_with("com")) return std::nullopt;
    resto.remove_prefix(3);
    const auto dosPuntos = resto.find(':');
    if (largo && dosPuntos != std::string_view::npos) return std::nullopt;
    const auto numero = NumeroPuerto(resto.substr(0, dosPuntos));
    if (!numero) return std::nullopt;
    PuertoSerie puerto;
    puerto.dispositivo = "\\\\.\\COM" + std::to_string(*numero);
    if (dosPuntos != std::string_view::npos) {
        puerto.ajustes =
            std::string(SinBlancos(texto.substr(texto.size() - resto.size() + dosPuntos + 1)));
    }
    puerto.ajustesValidos = AjustesSerieValidos(puerto.ajustes);
    return puerto;
}

std::unique_ptr<OutputPort> AbrirPuertoSerie(const PuertoSerie& puerto, PortOpener& puertos) {
    if (!puerto.ajustesValidos) {
        throw Fallo(errores::kParametroNoValido,
                    "Parámetro no válido: los ajustes del puerto serie no son válidos");
    }
    return puertos.OpenSerial(puerto.dispositivo, puerto.ajustes);
}
