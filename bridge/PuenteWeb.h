#pragma once
// The browser bridge: a point-of-sale program that runs in a web page opens
// the drawer with fetch() to this program on the loopback address. Any page
// the cashier opens can reach that address too, so a kick needs a request
// that only a listed origin's page can make: a JSON POST, which the browser
// sends only after a preflight that this bridge answers for listed origins
// alone. Portable: this is the room of the listener (platform/win32), which
// hands it every byte of every connection and sends what it answers.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/OrigenesWeb.h"
#include "bridge/PedidoApertura.h"
#include "bridge/TablaConexiones.h"
#include "drawer/EstadoCajon.h"
#include "platform/Dialogs.h"
#include "platform/Fallo.h"
#include "platform/SalaConexiones.h"
#include "settings/Parametros.h"

struct CuerpoApertura;

namespace claves {
inline constexpr std::string_view KovraWebPuerto = "KovraWebPuerto";
}  // namespace claves

inline constexpr std::uint16_t kPuertoWebDefecto = 47110;
inline constexpr std::string_view kRutaAbrir = "/v1/abrir";
inline constexpr std::string_view kRutaEstado = "/v1/estado";
// How long the window has to take a kick before the page hears that nothing
// was done; once taken, the page waits for the kick's own outcome.
inline constexpr std::int64_t kEsperaVentanaMs = 10000;
// How long a request's "id" is remembered, and how many at most.
inline constexpr std::int64_t kRecuerdoIdMs = 10 * 60 * 1000;
inline constexpr std::size_t kMaxIdsRecordados = 256;

struct ConfiguracionWeb {
    std::vector<std::string> origenes;  // as the browser writes them
    std::uint16_t puerto = kPuertoWebDefecto;
};

// A port of 1024 to 65535 written with digits only.
std::optional<std::uint16_t> LeerPuertoWeb(std::string_view texto);

// Read once, at start; the program never writes them. None: the bridge stays
// off, because no origin is listed or (after its box) the port is not valid.
// Entries that are no origin are named in one box, and the others still work.
std::optional<ConfiguracionWeb> LeerConfiguracionWeb(Parametros& parametros, Dialogs& dialogs,
                                                     ConversorIdn idn);

// The box when the port cannot be taken: the system's number and text.
std::string TextoPuertoOcupado(std::uint16_t puerto, const Fallo& fallo);

class PuenteWeb final : public SalaConexiones {
  public:
    // `abrir` hands a kick to the window's thread and returns at once; the
    // window tells its outcome through the PedidoApertura. `avisar` shows a
    // balloon. Both are called on the listener's thread.
    PuenteWeb(ConfiguracionWeb configuracion, std::string version,
              std::function<void(std::shared_ptr<PedidoApertura>)> abrir,
              std::function<void(const std::string&)> avisar);

    // Hears each refused origin that the record is told of (the first 64
    // distinct ones of a run, beyond those the balloons name) with 0; after
    // them, the number of refused requests from others since the last time
    // and the latest origin: at the first, and then once an hour at most.
    // On the listener's thread; set before the first request.
    void AlAvisar(std::function<void(std::string_view, std::uint64_t)> anotar) {
        anotar_ = std::move(anotar);
    }
    // Tells what is counted and not told yet; for the end, once the listener
    // has stopped.
    void Resumir(std::int64_t ahora);

    // The origins an administrator's change lists now: from the next request
    // on, on any thread.
    void CambiarOrigenes(std::vector<std::string> origenes);

    void Conectar(std::function<void()> despertar) override;
    bool Admite(std::int64_t ahora) const override { return tabla_.Admite(ahora); }
    void Aceptada(IdConexion id, std::int64_t ahora) override;
    void Recibidos(IdConexion id, std::string_view bytes, std::int64_t ahora) override;
    void Cerrada(IdConexion id) override;
    std::vector<OrdenConexion> Ordenes(std::int64_t ahora) override;
    std::optional<std::int64_t> ProximoPlazo(std::int64_t ahora) const override;

    // The drawer's state for /v1/estado, asked on the listener's thread; a
    // function that gives none (the sensor off) adds nothing. Set before
    // the first request.
    void FijarEstadoCajon(std::function<std::optional<EstadoCajon>()> estado) {
        estadoCajon_ = std::move(estado);
    }

  private:
    struct Respuesta {
        int codigo = 200;
        std::string cuerpo;
        std::string cabeceras;  // lines beyond those of every answer, each ending in CR LF
    };
    // A connection waiting for the kick under way, with its Origin as sent.
    struct Espera {
        IdConexion id = 0;
        std::string origen;
        bool repetida = false;  // a repeat of the request that asked for it
    };
    struct Apertura {
        std::shared_ptr<PedidoApertura> pedido;
        std::string pagina;  // the origin in lower case
        std::string id;      // empty: none
        std::int64_t plazo = 0;
        bool tomada = false;  // by the window: no more limit of ours
        std::vector<Espera> esperan;
    };
    // The answer to a request that carried an id, for its repeats.
    struct Recordada {
        std::string pagina, id;
        std::int64_t hasta = 0;
        Respuesta respuesta;
    };

    void Atender(ConexionWeb& c, std::int64_t ahora);
    // None: the answer comes once the kick is over.
    std::optional<Respuesta> Decidir(const PeticionHttp& p, IdConexion id, std::int64_t ahora);
    std::optional<Respuesta> Abrir(const CuerpoApertura& cuerpo, std::string_view origen,
                                   IdConexion id, std::int64_t ahora);
    static Respuesta Rechazar(int codigo, std::string_view mensaje,
                              std::string_view cabeceras = {});
    static Respuesta Repetida(Respuesta r);
    std::string CuerpoEstado() const;
    void Responder(IdConexion id, const Respuesta& r, std::string_view origen, bool cabeza,
                   std::int64_t ahora);
    void TerminarApertura(const ResultadoWeb& resultado, std::int64_t ahora);
    bool Listado(std::string_view origen) const;
    void Avisar(std::string_view origen, std::int64_t ahora);

    ConfiguracionWeb configuracion_;
    std::string version_;
    std::function<void(std::shared_ptr<PedidoApertura>)> abrir_;
    std::function<void(const std::string&)> avisar_;
    std::function<void(std::string_view, std::uint64_t)> anotar_;
    std::function<void()> despertar_;
    TablaConexiones tabla_;
    std::vector<OrdenConexion> ordenes_;
    std::optional<Apertura> apertura_;
    std::optional<std::int64_t> ultimaEnviada_;
    std::vector<Recordada> recordadas_;
    std::vector<std::string> avisados_;
    bool avisadosOtros_ = false;
    std::uint64_t masRechazados_ = 0;  // not told yet
    std::string ultimoRechazado_;
    std::optional<std::int64_t> proximoResumen_;
    mutable std::mutex mutexOrigenes_;  // configuracion_.origenes, for CambiarOrigenes
    std::function<std::optional<EstadoCajon>()> estadoCajon_;
};

// The members /v1/estado adds for the drawer: ,"cajon":"abierto","desde":N
// (the seconds since it was seen open), or "cerrado", or "desconocido".
std::string MiembrosCajon(const EstadoCajon& estado);

// The balloons for pages whose origin is not listed: one per origin, for the
// first few, and then one for all the others.
std::string TextoOrigenNoListado(std::string_view origen);
inline constexpr const char* kTextoOtrosOrigenes =
    "Otras páginas que no están en KovraWebOrigenes también han intentado abrir el cajón.";
