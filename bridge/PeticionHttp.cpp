#include "bridge/PeticionHttp.h"

#include <algorithm>

#include "settings/Conversiones.h"

namespace {

constexpr std::string_view kFinCabeceras = "\r\n\r\n";

bool EsToken(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u <= 32 || u >= 127) return false;
    return std::string_view("()<>@,;:\\\"/[]?={}").find(c) == std::string_view::npos;
}

// Headers whose repetition would let two readers of one request disagree.
bool Unica(std::string_view nombre) {
    for (const char* n : {"host", "origin", "content-type", "content-length", "sec-fetch-mode"}) {
        if (nombre == n) return true;
    }
    return false;
}

}  // namespace

std::string Minusculas(std::string_view texto) {
    std::string s(texto);
    std::transform(s.begin(), s.end(), s.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return s;
}

std::optional<std::string_view> PeticionHttp::Cabecera(std::string_view nombre) const {
    for (const auto& [n, v] : cabeceras) {
        if (n == nombre) return std::string_view(v);
    }
    return std::nullopt;
}

LectorPeticion::Estado LectorPeticion::Fallar(int codigo) {
    codigoError_ = codigo;
    return estado_ = Estado::Error;
}

LectorPeticion::Estado LectorPeticion::Anadir(std::string_view bytes) {
    if (estado_ != Estado::Faltan) {
        sobran_ = sobran_ || !bytes.empty();
        return estado_;
    }
    if (!cabecerasLeidas_) {
        // Only as much as can still belong to the headers is kept.
        const std::size_t antes = cabeceras_.size();
        const std::size_t cabe = kMaxCabecerasHttp + kFinCabeceras.size() - antes;
        cabeceras_.append(bytes.substr(0, cabe));
        const std::size_t desde = antes >= 3 ? antes - 3 : 0;
        const std::size_t fin = cabeceras_.find(kFinCabeceras, desde);
        if (fin == std::string::npos || fin > kMaxCabecerasHttp) {
            // Headers of the limit may still be waiting for the rest of their end.
            if (fin == std::string::npos &&
                cabeceras_.size() < kMaxCabecerasHttp + kFinCabeceras.size())
                return estado_;
            sobran_ = true;
            return Fallar(431);
        }
        const std::size_t usados = fin + kFinCabeceras.size() - antes;
        cabeceras_.resize(fin + kFinCabeceras.size());
        bytes.remove_prefix(std::min(usados, bytes.size()));
        if (LeerCabeceras(std::string_view(cabeceras_).substr(0, fin)) == Estado::Error) {
            sobran_ = largoCuerpo_ > 0 || !bytes.empty();
            return estado_;
        }
        cabecerasLeidas_ = true;
    }
    const std::size_t falta = largoCuerpo_ - peticion_.cuerpo.size();
    peticion_.cuerpo.append(bytes.substr(0, falta));
    sobran_ = bytes.size() > falta;
    if (peticion_.cuerpo.size() == largoCuerpo_) estado_ = Estado::Completa;
    return estado_;
}

std::optional<std::string> LectorPeticion::Origen() const {
    std::optional<std::string> origen;
    std::size_t inicio = cabeceras_.find("\r\n");
    for (std::size_t fin; inicio != std::string::npos; inicio = fin) {
        inicio += 2;
        fin = cabeceras_.find("\r\n", inicio);
        if (fin == std::string::npos) break;  // a line not read whole
        const std::string_view linea = std::string_view(cabeceras_).substr(inicio, fin - inicio);
        if (Minusculas(linea.substr(0, 7)) != "origin:") continue;
        if (origen) return std::nullopt;
        origen = std::string(SinBlancos(linea.substr(7)));
    }
    return origen;
}

LectorPeticion::Estado LectorPeticion::LeerCabeceras(std::string_view texto) {
    std::size_t fin = texto.find("\r\n");
    const std::string_view linea = texto.substr(0, fin);
    // METHOD SP target SP HTTP/1.x, nothing more.
    const std::size_t a = linea.find(' ');
    const std::size_t b = a == std::string_view::npos ? a : linea.find(' ', a + 1);
    if (b == std::string_view::npos || a == 0 || b == a + 1) return Fallar(400);
    peticion_.metodo = std::string(linea.substr(0, a));
    peticion_.ruta = std::string(linea.substr(a + 1, b - a - 1));
    const std::string_view version = linea.substr(b + 1);
    if (!std::all_of(peticion_.metodo.begin(), peticion_.metodo.end(), EsToken) ||
        peticion_.ruta.find_first_of(" \t\r\n") != std::string::npos ||
        (version != "HTTP/1.1" && version != "HTTP/1.0")) {
        return Fallar(400);
    }
    while (fin != std::string_view::npos) {
        const std::size_t inicio = fin + 2;
        fin = texto.find("\r\n", inicio);
        const std::string_view l = texto.substr(inicio, fin - inicio);
        const std::size_t dos = l.find(':');
        // No folded lines, no blank before the colon, no bare CR or LF.
        if (dos == std::string_view::npos || dos == 0 ||
            !std::all_of(l.begin(), l.begin() + static_cast<std::ptrdiff_t>(dos), EsToken) ||
            l.find_first_of("\r\n") != std::string_view::npos) {
            return Fallar(400);
        }
        std::string nombre = Minusculas(l.substr(0, dos));
        if (Unica(nombre) && peticion_.Cabecera(nombre)) return Fallar(400);
        peticion_.cabeceras.emplace_back(std::move(nombre),
                                         std::string(SinBlancos(l.substr(dos + 1))));
    }
    // A body comes with its length; chunks are not needed by any browser.
    if (peticion_.Cabecera("transfer-encoding")) return Fallar(501);
    if (const auto largo = peticion_.Cabecera("content-length")) {
        if (largo->empty() || !std::all_of(largo->begin(), largo->end(),
                                           [](char c) { return c >= '0' && c <= '9'; })) {
            return Fallar(400);
        }
        // Counted no further than one past the limit: however many digits,
        // too large a body is refused and read away.
        largoCuerpo_ = 0;
        for (const char c : *largo) {
            largoCuerpo_ =
                std::min(largoCuerpo_ * 10 + static_cast<std::size_t>(c - '0'), kMaxCuerpoHttp + 1);
        }
        if (largoCuerpo_ > kMaxCuerpoHttp) return Fallar(413);
    }
    return estado_;
}
