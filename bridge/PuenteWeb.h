#pragma once
// The browser bridge: a point-of-sale program that runs in a web page opens
// the drawer with fetch() to this program on the loopback address. Any page
// the cashier opens can reach that address too, so a kick needs a request
// that only a listed origin's page can make: a JSON POST, which the browser
// sends only after a preflight that this bridge answers for listed origins
// alone. Portable: the listener (platform/win32) hands each request read
// with LectorPeticion to Responder and sends back the text it returns.

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/PeticionHttp.h"
#include "drawer/EnviarApertura.h"
#include "platform/Dialogs.h"
#include "settings/Parametros.h"

namespace claves {
inline constexpr std::string_view KovraWebOrigenes = "KovraWebOrigenes";
inline constexpr std::string_view KovraWebPuerto = "KovraWebPuerto";
}  // namespace claves

inline constexpr std::uint16_t kPuertoWebDefecto = 47110;
inline constexpr std::string_view kRutaAbrir = "/v1/abrir";
inline constexpr std::string_view kRutaEstado = "/v1/estado";

struct ConfiguracionWeb {
    std::vector<std::string> origenes;  // as listed
    std::uint16_t puerto = kPuertoWebDefecto;
};

// The origins of KovraWebOrigenes, split at blanks and commas.
std::vector<std::string> LeerOrigenes(std::string_view texto);
// A port of 1024 to 65535 written with digits only.
std::optional<std::uint16_t> LeerPuertoWeb(std::string_view texto);

// Read once, at start; the program never writes them. None: the bridge stays
// off, because no origin is listed or (after its box) the port is not valid.
std::optional<ConfiguracionWeb> LeerConfiguracionWeb(Parametros& parametros, Dialogs& dialogs);

// The box when the port cannot be taken: the system's number and text.
std::string TextoPuertoOcupado(std::uint16_t puerto, const Fallo& fallo);

// How a kick asked for by the bridge went: sent, failed (with the number and
// the text of its stop box), or not made at all because the program could
// not take it now (a box open, the window busy or ending: as F12 would).
struct ResultadoWeb {
    enum class Estado { Enviado, Fallido, NoAtendido } estado = Estado::NoAtendido;
    int numero = 0;
    std::string mensaje;
};

class PuenteWeb {
  public:
    // `abrir` makes the kick where F12's kick runs and returns once its
    // outcome is known, before any stop box is closed; it gets what the
    // record names after "Web ": the page's origin and the motive. `avisar` shows the balloon.
    // `milisegundos` is a steady clock.
    PuenteWeb(ConfiguracionWeb configuracion, std::string version,
              std::function<ResultadoWeb(const std::string&)> abrir,
              std::function<void(const std::string&)> avisar,
              std::function<std::int64_t()> milisegundos);

    // Hears the origin of each balloon, as it is raised, on the listener's
    // thread; set before the first request.
    void AlAvisar(std::function<void(std::string_view)> anotar) { anotar_ = std::move(anotar); }

    // The whole answer to one request (or to a reader's error), ready to
    // send. Safe to call from several connections at once.
    std::string Responder(const LectorPeticion& lector);

  private:
    struct Respuesta;
    Respuesta Decidir(const PeticionHttp& p);
    static Respuesta Rechazar(int codigo, std::string_view mensaje,
                              std::string_view cabeceras = {});
    bool Listado(std::string_view origen) const;
    void Avisar(std::string_view origen);

    ConfiguracionWeb configuracion_;
    std::string version_;
    std::function<ResultadoWeb(const std::string&)> abrir_;
    std::function<void(const std::string&)> avisar_;
    std::function<void(std::string_view)> anotar_;
    std::function<std::int64_t()> milisegundos_;
    std::mutex mutex_;
    std::optional<std::int64_t> ultimaApertura_;
    std::set<std::string> avisados_;
};

// The balloon for a page whose origin is not listed.
std::string TextoOrigenNoListado(std::string_view origen);
