#include "bridge/PuenteWeb.h"

#include <algorithm>
#include <utility>

#include "bridge/CuerpoJson.h"
#include "drawer/SinApertura.h"
#include "settings/Conversiones.h"

namespace {

constexpr std::int64_t kEntreAperturasMs = 1000;
// A page can invent any number of origins: a balloon each for this many,
// then one for all the others, and then none.
constexpr std::size_t kMaxAvisados = 3;
// The record (the event log) hears of this many, the screen of none beyond
// kMaxAvisados.
constexpr std::size_t kMaxAnotados = 64;
// Beyond them, a count: told at once, then once an hour at most, so that a
// page inventing origins cannot fill the log and still cannot hide.
constexpr std::int64_t kEntreResumenesMs = 60 * 60 * 1000;
constexpr std::size_t kMaxOrigenEnAviso = 120;
constexpr const char* kTextoSinRespuesta =
    "AbrirCajon no ha contestado en 10 segundos y no ha abierto el cajón";
constexpr const char* kTextoNoListado = "Origen no permitido: no está en KovraWebOrigenes";

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

// {"ok":false,"error":N,"mensaje":"..."}
std::string CuerpoError(int error, std::string_view mensaje) {
    return "{\"ok\":false,\"error\":" + std::to_string(error) +
           ",\"mensaje\":" + TextoJson(mensaje) + "}";
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

std::optional<std::uint16_t> LeerPuertoWeb(std::string_view texto) {
    const auto n = EnteroDecimal(texto, 5);
    if (!n || *n < 1024 || *n > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(*n);
}

std::optional<ConfiguracionWeb> LeerConfiguracionWeb(Parametros& parametros, Dialogs& dialogs,
                                                     ConversorIdn idn) {
    ListaOrigenes lista =
        LeerOrigenes(parametros.DelAdministrador(claves::KovraWebOrigenes, "").valor, idn);
    if (!lista.descartados.empty()) dialogs.Information(TextoOrigenesDescartados(lista));
    if (lista.origenes.empty()) return std::nullopt;
    ConfiguracionWeb c;
    c.origenes = std::move(lista.origenes);
    const std::string puerto =
        parametros.DelAdministrador(claves::KovraWebPuerto, std::to_string(kPuertoWebDefecto))
            .valor;
    const auto leido = LeerPuertoWeb(puerto);
    if (!leido) {
        dialogs.Information("El valor de KovraWebPuerto no es válido: \"" + ValorEnCaja(puerto) +
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

std::string MiembrosCajon(const EstadoCajon& estado) {
    switch (estado.cajon) {
        case EstadoCajon::Cajon::Abierto:
            return ",\"cajon\":\"abierto\",\"desde\":" + std::to_string(estado.desde);
        case EstadoCajon::Cajon::Cerrado:
            return ",\"cajon\":\"cerrado\"";
        case EstadoCajon::Cajon::Desconocido:
            break;
    }
    return ",\"cajon\":\"desconocido\"";
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
                     std::function<void(std::shared_ptr<PedidoApertura>)> abrir,
                     std::function<void(const std::string&)> avisar)
    : configuracion_(std::move(configuracion)),
      version_(std::move(version)),
      abrir_(std::move(abrir)),
      avisar_(std::move(avisar)) {}

void PuenteWeb::Conectar(std::function<void()> despertar) {
    despertar_ = std::move(despertar);
}

void PuenteWeb::Aceptada(IdConexion id, std::int64_t ahora) {
    if (const auto fuera = tabla_.Aceptar(id, ahora)) {
        Cerrada(*fuera);
        ordenes_.push_back({*fuera, {}, OrdenConexion::Cierre::Ya});
    }
}

void PuenteWeb::Recibidos(IdConexion id, std::string_view bytes, std::int64_t ahora) {
    ConexionWeb* c = tabla_.Buscar(id);
    if (c == nullptr) return;
    switch (c->fase) {
        case ConexionWeb::Fase::Vaciando:
            if (TablaConexiones::Vaciar(*c, bytes.size())) {
                tabla_.Quitar(id);
                ordenes_.push_back({id, {}, OrdenConexion::Cierre::Ya});
            }
            return;
        case ConexionWeb::Fase::Esperando:
            c->lector.Anadir(bytes);  // what comes beyond is only noted
            return;
        case ConexionWeb::Fase::Leyendo:
            if (bytes.empty()) {
                // Cut short: nobody is there to read an answer.
                tabla_.Quitar(id);
                ordenes_.push_back({id, {}, OrdenConexion::Cierre::Ya});
                return;
            }
            if (c->lector.Anadir(bytes) != LectorPeticion::Estado::Faltan) Atender(*c, ahora);
            return;
    }
}

void PuenteWeb::Cerrada(IdConexion id) {
    tabla_.Quitar(id);
    if (apertura_) {
        std::erase_if(apertura_->esperan, [id](const Espera& e) { return e.id == id; });
    }
}

void PuenteWeb::Atender(ConexionWeb& c, std::int64_t ahora) {
    const IdConexion id = c.id;
    const std::string origen = c.lector.Origen().value_or("");
    const bool cabeza = c.lector.Peticion().metodo == "HEAD";
    std::optional<Respuesta> r;
    if (c.lector.Actual() == LectorPeticion::Estado::Completa) {
        r = Decidir(c.lector.Peticion(), id, ahora);
    } else {
        r = Rechazar(c.lector.CodigoError(), TextoErrorLectura(c.lector.CodigoError()));
    }
    if (!r) {
        c.fase = ConexionWeb::Fase::Esperando;
        return;
    }
    Responder(id, *r, origen, cabeza, ahora);
}

PuenteWeb::Respuesta PuenteWeb::Rechazar(int codigo, std::string_view mensaje,
                                         std::string_view cabeceras) {
    return {codigo, "{\"ok\":false,\"mensaje\":" + TextoJson(mensaje) + "}",
            std::string(cabeceras)};
}

// The one place that says what /v1/estado tells a listed page.
std::string PuenteWeb::CuerpoEstado() const {
    std::string cuerpo = "{\"programa\":\"AbrirCajon\",\"version\":" + TextoJson(version_);
    if (const auto cajon = estadoCajon_ ? estadoCajon_() : std::nullopt) {
        cuerpo += MiembrosCajon(*cajon);
    }
    return cuerpo + "}";
}

void PuenteWeb::CambiarOrigenes(std::vector<std::string> origenes) {
    const std::lock_guard bloqueo(mutexOrigenes_);
    configuracion_.origenes = std::move(origenes);
}

bool PuenteWeb::Listado(std::string_view origen) const {
    // The browser writes scheme and host in lower case; the list is read so.
    const std::string buscado = Minusculas(origen);
    const std::lock_guard bloqueo(mutexOrigenes_);
    return std::find(configuracion_.origenes.begin(), configuracion_.origenes.end(), buscado) !=
           configuracion_.origenes.end();
}

void PuenteWeb::Resumir(std::int64_t ahora) {
    if (masRechazados_ == 0) return;
    if (anotar_) anotar_(ultimoRechazado_, masRechazados_);
    masRechazados_ = 0;
    proximoResumen_ = ahora + kEntreResumenesMs;
}

void PuenteWeb::Avisar(std::string_view origen, std::int64_t ahora) {
    // "null" names no site the cashier could recognise.
    if (origen.empty() || Minusculas(origen) == "null" ||
        std::find(avisados_.begin(), avisados_.end(), origen) != avisados_.end()) {
        return;
    }
    if (avisados_.size() >= kMaxAnotados) {
        ++masRechazados_;
        ultimoRechazado_ = origen;
        if (!proximoResumen_ || ahora >= *proximoResumen_) Resumir(ahora);
        return;
    }
    avisados_.emplace_back(origen);
    if (anotar_) anotar_(origen, 0);
    std::string texto;
    if (avisados_.size() <= kMaxAvisados) {
        texto = TextoOrigenNoListado(origen);
    } else if (!std::exchange(avisadosOtros_, true)) {
        texto = kTextoOtrosOrigenes;
    }
    if (!texto.empty() && avisar_) avisar_(texto);
}

std::optional<PuenteWeb::Respuesta> PuenteWeb::Decidir(const PeticionHttp& p, IdConexion id,
                                                       std::int64_t ahora) {
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
    const bool estado = p.ruta == kRutaEstado;
    if (!estado && p.ruta != kRutaAbrir) return Rechazar(404, "No existe");
    if (p.metodo == "OPTIONS") {
        // The preflight; a GET or an OPTIONS opens nothing and says nothing.
        if (!listado) return Rechazar(403, kTextoNoListado);
        Respuesta r{204, "",
                    std::string("Access-Control-Allow-Methods: ") + (estado ? "GET" : "POST") +
                        "\r\nAccess-Control-Allow-Headers: Content-Type\r\n"
                        "Access-Control-Max-Age: 600\r\n"};
        if (Minusculas(p.Cabecera("access-control-request-private-network").value_or("")) ==
            "true") {
            r.cabeceras += "Access-Control-Allow-Private-Network: true\r\n";
        }
        return r;
    }
    if (estado) {
        if (p.metodo != "GET" && p.metodo != "HEAD") {
            return Rechazar(405, "Método no permitido", "Allow: GET, HEAD, OPTIONS\r\n");
        }
        if (!listado) return Rechazar(403, kTextoNoListado);
        return Respuesta{200, CuerpoEstado(), {}};
    }
    if (p.metodo != "POST") {
        return Rechazar(405, "Método no permitido", "Allow: POST, OPTIONS\r\n");
    }
    if (!listado) {
        Avisar(origen, ahora);
        return Rechazar(403, kTextoNoListado);
    }
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
                        "como mucho; id, uno de 64");
    }
    return Abrir(*cuerpo, origen, id, ahora);
}

std::optional<PuenteWeb::Respuesta> PuenteWeb::Abrir(const CuerpoApertura& cuerpo,
                                                     std::string_view origen, IdConexion id,
                                                     std::int64_t ahora) {
    const std::string clave = cuerpo.id.value_or("");
    const std::string pagina = Minusculas(origen);
    if (!clave.empty()) {
        // A repeat of the request under way waits for its outcome.
        if (apertura_ && apertura_->id == clave && apertura_->pagina == pagina) {
            apertura_->esperan.push_back({id, std::string(origen), true});
            return std::nullopt;
        }
        for (const Recordada& r : recordadas_) {
            if (r.hasta > ahora && r.id == clave && r.pagina == pagina) {
                return Repetida(r.respuesta);
            }
        }
    }
    if (apertura_) {
        return Respuesta{
            503, CuerpoError(numero::kOcupado, TextoSinApertura(SinApertura::OtraApertura)), {}};
    }
    if (ultimaEnviada_ && ahora - *ultimaEnviada_ < kEntreAperturasMs) {
        return Rechazar(429, "Ya se abrió hace menos de un segundo", "Retry-After: 1\r\n");
    }
    std::string registro(origen);
    if (cuerpo.motivo && !cuerpo.motivo->empty()) registro += " " + Limpio(*cuerpo.motivo);
    Apertura& a = apertura_.emplace(Apertura{});
    a.pedido = std::make_shared<PedidoApertura>(std::move(registro), despertar_);
    a.pagina = pagina;
    a.id = clave;
    a.plazo = ahora + kEsperaVentanaMs;
    a.esperan.push_back({id, std::string(origen), false});
    // May answer at once (the window is gone): the answer waits for Ordenes.
    abrir_(apertura_->pedido);
    return std::nullopt;
}

PuenteWeb::Respuesta PuenteWeb::Repetida(Respuesta r) {
    r.cuerpo.insert(r.cuerpo.size() - 1, ",\"repetida\":true");
    return r;
}

void PuenteWeb::TerminarApertura(const ResultadoWeb& resultado, std::int64_t ahora) {
    Apertura a = std::move(*apertura_);
    apertura_.reset();
    Respuesta r{200, "{\"ok\":true}", {}};
    if (resultado.estado == ResultadoWeb::Estado::Enviado) {
        // Only a kick that went out holds the next one back.
        ultimaEnviada_ = ahora;
    } else {
        // The number and text of the kick's stop box, or of why nothing was sent.
        r = {resultado.estado == ResultadoWeb::Estado::Fallido ? 502 : 503,
             CuerpoError(resultado.numero, resultado.mensaje),
             {}};
    }
    // A kick that was made is remembered; one that was not may be asked for again.
    if (!a.id.empty() && resultado.estado != ResultadoWeb::Estado::NoAtendido) {
        if (recordadas_.size() >= kMaxIdsRecordados) recordadas_.erase(recordadas_.begin());
        recordadas_.push_back({a.pagina, a.id, ahora + kRecuerdoIdMs, r});
    }
    for (const Espera& e : a.esperan) {
        Responder(e.id, e.repetida ? Repetida(r) : r, e.origen, false, ahora);
    }
}

void PuenteWeb::Responder(IdConexion id, const Respuesta& r, std::string_view origen, bool cabeza,
                          std::int64_t ahora) {
    ConexionWeb* c = tabla_.Buscar(id);
    if (c == nullptr) return;
    std::string texto = "HTTP/1.1 " + std::to_string(r.codigo) + " " + Razon(r.codigo) + "\r\n";
    texto +=
        "Content-Type: application/json; charset=utf-8\r\n"
        "Cache-Control: no-store\r\n"
        "X-Content-Type-Options: nosniff\r\n"
        "Connection: close\r\n";
    // Also a refusal, so that a listed page can read why.
    if (!origen.empty() && Listado(origen)) {
        texto += "Access-Control-Allow-Origin: " + std::string(origen) +
                 "\r\nVary: Origin\r\nAccess-Control-Expose-Headers: Retry-After\r\n";
    }
    texto += r.cabeceras;
    // A 204 has no body, and so no length; a HEAD's answer, no body.
    if (r.codigo != 204) texto += "Content-Length: " + std::to_string(r.cuerpo.size()) + "\r\n";
    texto += "\r\n";
    if (!cabeza) texto += r.cuerpo;
    const bool vaciar = TablaConexiones::TrasResponder(*c, ahora);
    if (!vaciar) tabla_.Quitar(id);
    ordenes_.push_back(
        {id, std::move(texto),
         vaciar ? OrdenConexion::Cierre::SoloEnvio : OrdenConexion::Cierre::TrasEnviar});
}

std::vector<OrdenConexion> PuenteWeb::Ordenes(std::int64_t ahora) {
    if (apertura_) {
        if (const auto resultado = apertura_->pedido->Resultado()) {
            TerminarApertura(*resultado, ahora);
        } else if (!apertura_->tomada && ahora >= apertura_->plazo) {
            // Given up only if the window has not taken it: once it has, the
            // page waits for the kick's own outcome.
            if (apertura_->pedido->Abandonar()) {
                TerminarApertura(
                    {ResultadoWeb::Estado::NoAtendido, numero::kSinRespuesta, kTextoSinRespuesta},
                    ahora);
            } else {
                apertura_->tomada = true;
            }
        }
    }
    if (proximoResumen_ && ahora >= *proximoResumen_) Resumir(ahora);
    for (const IdConexion id : tabla_.Vencidas(ahora)) {
        Cerrada(id);
        ordenes_.push_back({id, {}, OrdenConexion::Cierre::Ya});
    }
    return std::exchange(ordenes_, {});
}

std::optional<std::int64_t> PuenteWeb::ProximoPlazo(std::int64_t ahora) const {
    auto plazo = tabla_.ProximoPlazo(ahora);
    if (apertura_ && !apertura_->tomada && (!plazo || apertura_->plazo < *plazo)) {
        plazo = apertura_->plazo;
    }
    if (masRechazados_ > 0 && (!plazo || *proximoResumen_ < *plazo)) plazo = proximoResumen_;
    return plazo;
}
