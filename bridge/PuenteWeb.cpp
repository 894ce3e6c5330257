#include "bridge/PuenteWeb.h"

#include <algorithm>

#include "bridge/CuerpoJson.h"
#include "settings/Conversiones.h"

namespace {

constexpr std::int64_t kEntreAperturasMs = 1000;
// A page can invent any number of origins: the balloons stop at this many.
constexpr std::size_t kMaxAvisados = 64;
constexpr std::size_t kMaxOrigenEnAviso = 120;

bool Separador(char c) {
    return c == ' ' || c == '\t' || c == ',';
}

const char* Razon(int codigo) {
    switch (codigo) {
        case 200:
            return "OK";
        case 204:
            return "No Content";
        case 400:
            return "Bad Request";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 413:
            return "Content Too Large";
        case 415:
            return "Unsupported Media Type";
        case 429:
            return "Too Many Requests";
        case 431:
            return "Request Header Fields Too Large";
        case 501:
            return "Not Implemented";
        case 502:
            return "Bad Gateway";
        default:
            return "Service Unavailable";
    }
}

std::string TextoErrorLectura(int codigo) {
    switch (codigo) {
        case 413:
            return "El cuerpo pasa de 1024 bytes";
        case 431:
            return "Las cabeceras pasan de 8192 bytes";
        case 501:
            return "Transfer-Encoding no admitido: envíe Content-Length";
        default:
            return "Petición HTTP no válida";
    }
}

// The media type without its parameters, in lower case.
std::string TipoDeContenido(std::string_view valor) {
    return Minusculas(SinBlancos(valor.substr(0, valor.find(';'))));
}

// Control characters of a motive would break the record's line.
std::string Limpio(std::string texto) {
    std::replace_if(
        texto.begin(), texto.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, ' ');
    return texto;
}

}  // namespace

struct PuenteWeb::Respuesta {
    int codigo = 200;
    std::string cuerpo;
    std::string cabeceras;  // lines beyond those of every answer, each ending in CR LF
};

std::vector<std::string> LeerOrigenes(std::string_view texto) {
    std::vector<std::string> origenes;
    std::size_t i = 0;
    while (i < texto.size()) {
        while (i < texto.size() && Separador(texto[i])) ++i;
        const std::size_t inicio = i;
        while (i < texto.size() && !Separador(texto[i])) ++i;
        if (i > inicio) {
            std::string_view o = texto.substr(inicio, i - inicio);
            // Browsers never end an origin with '/'; a listed one may.
            if (o.size() > 1 && o.back() == '/') o.remove_suffix(1);
            origenes.emplace_back(o);
        }
    }
    return origenes;
}

std::optional<std::uint16_t> LeerPuertoWeb(std::string_view texto) {
    const auto n = EnteroDecimal(texto, 5);
    if (!n || *n < 1024 || *n > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(*n);
}

std::optional<ConfiguracionWeb> LeerConfiguracionWeb(Parametros& parametros, Dialogs& dialogs) {
    ConfiguracionWeb c;
    c.origenes = LeerOrigenes(parametros.VRXGetParametro(claves::KovraWebOrigenes, ""));
    if (c.origenes.empty()) return std::nullopt;
    const std::string puerto =
        parametros.VRXGetParametro(claves::KovraWebPuerto, std::to_string(kPuertoWebDefecto));
    const auto leido = LeerPuertoWeb(puerto);
    if (!leido) {
        dialogs.Information("El valor de KovraWebPuerto no es válido: \"" + puerto +
                            "\" (debe ser un puerto de 1024 a 65535). El programa de ventas en "
                            "el navegador no podrá abrir el cajón.");
        return std::nullopt;
    }
    c.puerto = *leido;
    return c;
}

std::string TextoPuertoOcupado(std::uint16_t puerto, const Fallo& fallo) {
    return "No se puede usar el puerto " + std::to_string(puerto) +
           " para el programa de ventas en el navegador (KovraWebPuerto):\r\n" +
           std::to_string(fallo.numero) + "." + fallo.descripcion +
           "\r\nEl programa de ventas en el navegador no podrá abrir el cajón.";
}

std::string TextoOrigenNoListado(std::string_view origen) {
    std::string texto(origen.substr(0, kMaxOrigenEnAviso));
    // Only what a browser puts in an origin is shown as it is.
    std::replace_if(
        texto.begin(), texto.end(),
        [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F;
        },
        '?');
    return texto + " ha intentado abrir el cajón y no está en KovraWebOrigenes.";
}

PuenteWeb::PuenteWeb(ConfiguracionWeb configuracion, std::string version,
                     std::function<ResultadoWeb(const std::string&)> abrir,
                     std::function<void(const std::string&)> avisar,
                     std::function<std::int64_t()> milisegundos)
    : configuracion_(std::move(configuracion)),
      version_(std::move(version)),
      abrir_(std::move(abrir)),
      avisar_(std::move(avisar)),
      milisegundos_(std::move(milisegundos)) {}

bool PuenteWeb::Listado(std::string_view origen) const {
    // Scheme and host are case-insensitive; the port is digits.
    const std::string buscado = Minusculas(origen);
    return std::any_of(configuracion_.origenes.begin(), configuracion_.origenes.end(),
                       [&](const std::string& o) { return Minusculas(o) == buscado; });
}

void PuenteWeb::Avisar(std::string_view origen) {
    if (origen.empty() || origen == "null") return;
    {
        std::lock_guard bloqueo(mutex_);
        if (avisados_.size() >= kMaxAvisados || !avisados_.emplace(origen).second) return;
    }
    if (avisar_) avisar_(TextoOrigenNoListado(origen));
    if (anotar_) anotar_(origen);
}

PuenteWeb::Respuesta PuenteWeb::Rechazar(int codigo, std::string_view mensaje,
                                         std::string_view cabeceras) {
    return {codigo, "{\"ok\":false,\"mensaje\":" + TextoJson(mensaje) + "}",
            std::string(cabeceras)};
}

PuenteWeb::Respuesta PuenteWeb::Decidir(const PeticionHttp& p) {
    // Built by append: GCC 12 misreads ":" + to_string(...) (-Wrestrict).
    const std::string puerto = std::string(":").append(std::to_string(configuracion_.puerto));
    const std::string host = Minusculas(p.Cabecera("host").value_or(""));
    // Only the loopback names: a page that had its own name point here (DNS
    // rebinding) still sends that name.
    if (host != "127.0.0.1" + puerto && host != "localhost" + puerto && host != "[::1]" + puerto) {
        return Rechazar(403, "Host no permitido: use 127.0.0.1 o localhost");
    }
    const std::string_view origen = p.Cabecera("origin").value_or("");
    const bool listado = !origen.empty() && Listado(origen);
    const auto noListado = [&] {
        Avisar(origen);
        return Rechazar(403, "Origen no permitido: no está en KovraWebOrigenes");
    };
    if (p.ruta == kRutaEstado) {
        if (p.metodo != "GET") return Rechazar(405, "Método no permitido", "Allow: GET\r\n");
        if (!listado) return noListado();
        return {200, "{\"programa\":\"AbrirCajon\",\"version\":" + TextoJson(version_) + "}", {}};
    }
    if (p.ruta != kRutaAbrir) return Rechazar(404, "No existe");
    if (p.metodo == "OPTIONS") {
        if (!listado) return noListado();
        Respuesta r{204, "",
                    "Access-Control-Allow-Methods: POST\r\n"
                    "Access-Control-Allow-Headers: Content-Type\r\n"
                    "Access-Control-Max-Age: 600\r\n"};
        if (Minusculas(p.Cabecera("access-control-request-private-network").value_or("")) ==
            "true") {
            r.cabeceras += "Access-Control-Allow-Private-Network: true\r\n";
        }
        return r;
    }
    if (p.metodo != "POST") {
        return Rechazar(405, "Método no permitido", "Allow: POST, OPTIONS\r\n");
    }
    if (!listado) return noListado();
    if (const auto modo = p.Cabecera("sec-fetch-mode"); modo && Minusculas(*modo) != "cors") {
        return Rechazar(403, "Sec-Fetch-Mode debe ser cors");
    }
    if (TipoDeContenido(p.Cabecera("content-type").value_or("")) != "application/json") {
        return Rechazar(415, "Content-Type debe ser application/json");
    }
    const auto cuerpo = LeerCuerpoApertura(p.cuerpo);
    if (!cuerpo) {
        return Rechazar(400,
                        "El cuerpo debe ser un objeto JSON; motivo, un texto de 80 caracteres "
                        "como mucho");
    }
    {
        std::lock_guard bloqueo(mutex_);
        const std::int64_t ahora = milisegundos_();
        if (ultimaApertura_ && ahora - *ultimaApertura_ < kEntreAperturasMs) {
            return Rechazar(429, "Ya se abrió hace menos de un segundo", "Retry-After: 1\r\n");
        }
        ultimaApertura_ = ahora;
    }
    std::string registro(origen);
    if (cuerpo->motivo && !cuerpo->motivo->empty()) registro += " " + Limpio(*cuerpo->motivo);
    const ResultadoWeb resultado = abrir_(registro);
    if (resultado.estado == ResultadoWeb::Estado::Enviado) return {200, "{\"ok\":true}", {}};
    // The number and text of the kick's stop box, or of why nothing was sent.
    return {resultado.estado == ResultadoWeb::Estado::Fallido ? 502 : 503,
            "{\"ok\":false,\"error\":" + std::to_string(resultado.numero) +
                ",\"mensaje\":" + TextoJson(resultado.mensaje) + "}",
            {}};
}

std::string PuenteWeb::Responder(const LectorPeticion& lector) {
    Respuesta r;
    // Also a body too large answers its page, whose headers were read.
    const std::string_view origen = lector.Peticion().Cabecera("origin").value_or("");
    if (lector.Actual() == LectorPeticion::Estado::Completa) {
        r = Decidir(lector.Peticion());
    } else {
        r = Rechazar(lector.CodigoError(), TextoErrorLectura(lector.CodigoError()));
    }
    std::string texto = "HTTP/1.1 " + std::to_string(r.codigo) + " " + Razon(r.codigo) + "\r\n";
    texto +=
        "Content-Type: application/json; charset=utf-8\r\n"
        "Cache-Control: no-store\r\n"
        "X-Content-Type-Options: nosniff\r\n"
        "Connection: close\r\n";
    if (!origen.empty() && Listado(origen)) {
        texto += "Access-Control-Allow-Origin: " + std::string(origen) + "\r\nVary: Origin\r\n";
    }
    texto += r.cabeceras;
    // A 204 has no body, and so no length.
    if (r.codigo != 204) texto += "Content-Length: " + std::to_string(r.cuerpo.size()) + "\r\n";
    return texto + "\r\n" + r.cuerpo;
}
