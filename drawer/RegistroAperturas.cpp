#include "drawer/RegistroAperturas.h"

#include <cstdio>
#include <iterator>
#include <utility>

#include "platform/Utf16.h"

namespace {

constexpr std::string_view kFinDeLinea = "\r\n";
constexpr char kSeparador = ';';
// Any value but "0" keeps the record on; this one is only the default.
constexpr std::string_view kRegistroEncendido = "1";

std::string TextoOrigen(OrigenApertura origen, std::string_view tecla) {
    switch (origen) {
        case OrigenApertura::Tecla:
            return "Tecla " + std::string(tecla);
        case OrigenApertura::Boton:
            return "Botón " + std::string(tecla);
        case OrigenApertura::OrdenAbrir:
            return "Orden /abrir";
        case OrigenApertura::Sensor:
            return "Sensor";
        case OrigenApertura::ComprobarSensor:
            return "Comprobar sensor";
        case OrigenApertura::Web:
            return "Web " + std::string(tecla);
        case OrigenApertura::Asistente:
            return "Asistente";
    }
    return {};
}

std::string TextoVia(ViaApertura via) {
    switch (via) {
        case ViaApertura::Puerto:
            return "Puerto";
        case ViaApertura::Impresora:
            return "Impresora";
        case ViaApertura::Raw:
            return "RAW";
        case ViaApertura::Red:
            return "Red";
    }
    return {};
}

// "Enviado", or the number and description of the kick's stop message.
std::string TextoResultado(const ResultadoApertura& resultado) {
    if (!resultado.sensor.empty()) return resultado.sensor;
    if (!resultado.fallo) return "Enviado";
    return "Error " + std::to_string(resultado.fallo->numero) + ": " + resultado.fallo->descripcion;
}

std::string Fecha(const MomentoLocal& m) {
    char texto[64];
    std::snprintf(texto, sizeof texto, "%04d-%02d-%02d", m.anio, m.mes, m.dia);
    return texto;
}

std::string Hora(const MomentoLocal& m) {
    char texto[64];
    std::snprintf(texto, sizeof texto, "%02d:%02d:%02d.%03d", m.hora, m.minuto, m.segundo,
                  m.milisegundo);
    return texto;
}

std::string LineaDeCampos(const std::array<std::string, kCamposEvento>& campos) {
    std::string linea = CampoCsv(campos[0]);
    for (std::size_t i = 1; i < campos.size(); ++i) {
        linea += kSeparador;
        linea += CampoCsv(campos[i]);
    }
    return linea + std::string(kFinDeLinea);
}

}  // namespace

std::string RutaJuntoAParametros(std::string_view rutaParametros, std::string_view nombre) {
    const auto barra = rutaParametros.find_last_of("\\/");
    const std::string_view carpeta =
        barra == std::string_view::npos ? std::string_view{} : rutaParametros.substr(0, barra + 1);
    return std::string(carpeta) + std::string(nombre);
}

std::string CampoCsv(std::string_view campo) {
    // A spreadsheet takes a field that begins so for a formula: a leading
    // apostrophe inside quotes keeps it text.
    const bool formula =
        !campo.empty() && std::string_view("=+-@\t\r").find(campo[0]) != std::string_view::npos;
    if (!formula && campo.find_first_of(";\"\r\n") == std::string_view::npos) {
        return std::string(campo);
    }
    std::string texto = formula ? "\"'" : "\"";
    for (const char c : campo) {
        if (c == '"') texto += '"';
        texto += c;
    }
    return texto + '"';
}

std::array<std::string, kCamposEvento> CamposApertura(const MomentoLocal& momento,
                                                      std::string_view usuario,
                                                      OrigenApertura origen, std::string_view tecla,
                                                      const ResultadoApertura& resultado,
                                                      std::uint64_t perdidas) {
    return {
        Fecha(momento),
        Hora(momento),
        std::string(usuario),
        // A web page's origin and motive: nothing in them may hide or turn
        // the line's text, in the file or in the event.
        TextoOrigen(origen, TextoVisible(tecla)),
        TextoVia(resultado.via),
        resultado.destino,
        TextoResultado(resultado),
        perdidas > 0 ? std::to_string(perdidas) : std::string(),
    };
}

std::string LineaApertura(const MomentoLocal& momento, std::string_view usuario,
                          OrigenApertura origen, std::string_view tecla,
                          const ResultadoApertura& resultado, std::uint64_t perdidas) {
    return LineaDeCampos(CamposApertura(momento, usuario, origen, tecla, resultado, perdidas));
}

void RegistroAperturas::Anotar(const std::string& rutaParametros, OrigenApertura origen,
                               std::string_view tecla,
                               const ResultadoApertura& resultado) noexcept {
    try {
        Poner({rutaParametros, reloj_.Ahora(), origen, std::string(tecla), resultado, {}, {}, {}});
    } catch (...) {
        ++perdidas_;  // no memory for the line: nothing may reach the kick
    }
}

void RegistroAperturas::AnotarOrigenRechazado(const std::string& rutaParametros,
                                              std::string_view origen, std::uint64_t mas) noexcept {
    try {
        Poner({rutaParametros,
               reloj_.Ahora(),
               OrigenApertura::Web,
               std::string(origen),
               {},
               mas,
               {},
               {}});
    } catch (...) {
        ++perdidas_;
    }
}

void RegistroAperturas::AnotarEvento(const std::string& rutaParametros, ClaseEvento clase,
                                     std::vector<std::string> textos) noexcept {
    try {
        Poner({rutaParametros,
               reloj_.Ahora(),
               OrigenApertura::Tecla,
               {},
               {},
               {},
               clase,
               std::move(textos)});
    } catch (...) {
        // No memory for it: an event has no line to count as lost.
    }
}

void RegistroAperturas::Poner(AperturaPendiente apertura) noexcept {
    try {
        {
            std::lock_guard bloqueo(mutex_);
            if (pendientes_.size() >= kMaxPendientes) {
                // A refused origin has no line to lose.
                if (!apertura.rechazados) ++perdidas_;
                return;
            }
            pendientes_.push_back(std::move(apertura));
        }
        hayPendientes_.notify_one();
    } catch (...) {
        ++perdidas_;  // no memory for the line: nothing may reach the kick
    }
}

void RegistroAperturas::EscribirPendientes() noexcept {
    for (;;) {
        std::deque<AperturaPendiente> lote;
        {
            std::lock_guard bloqueo(mutex_);
            lote.swap(pendientes_);
        }
        if (lote.empty()) return;
        for (const auto& apertura : lote) {
            try {
                Escribir(apertura);
            } catch (...) {
                // Nothing of the record may reach the cashier or stop the program.
                ++perdidas_;
            }
        }
    }
}

void RegistroAperturas::Atender(std::stop_token parar) {
    while (!parar.stop_requested()) {
        {
            std::unique_lock bloqueo(mutex_);
            hayPendientes_.wait(bloqueo, parar, [&] { return !pendientes_.empty(); });
        }
        EscribirPendientes();
    }
    EscribirPendientes();
}

void RegistroAperturas::Escribir(const AperturaPendiente& apertura) {
    parametros_.FijarRuta(apertura.rutaParametros);
    if (apertura.evento) {
        Informar(*apertura.evento, apertura.textos);
        return;
    }
    const std::uint64_t perdidas = perdidas_;
    const std::uint64_t mas = apertura.rechazados.value_or(0);
    auto campos = CamposApertura(apertura.momento, sesion_.NombreUsuario(), apertura.origen,
                                 apertura.tecla, apertura.resultado, mas > 0 ? mas : perdidas);
    if (apertura.rechazados) {
        campos[4].clear();  // no route, no destination: nothing was sent
        campos[5].clear();
        campos[6] = kResultadoOrigenRechazado;
        Informar(mas > 0 ? eventos::kOrigenesRechazados : eventos::kOrigenRechazado,
                 {campos.begin(), campos.end()});
        return;
    }
    // The event first: a file that a spreadsheet holds loses its line, not
    // the event.
    Informar(ClaseDeLinea(apertura.resultado), {campos.begin(), campos.end()});
    if (parametros_.DelAdministrador(claves::KovraRegistro, kRegistroEncendido).valor ==
        kRegistroApagado) {
        // The event was the line that told them: told again at every later
        // event, one loss would look like a till that loses lines for good.
        perdidas_ -= perdidas;
        return;
    }
    const std::string ruta = delEquipo_
                                 ? carpetaUsuario_ + "\\" + std::string(kNombreAperturas)
                                 : RutaJuntoAParametros(apertura.rutaParametros, kNombreAperturas);
    try {
        // ERROR_PATH_NOT_FOUND, as the system would say.
        if (delEquipo_ && carpetaUsuario_.empty()) throw Fallo(3, "No hay carpeta del usuario");
        Anadir(ruta, LineaDeCampos(campos));
        sinEscribir_ = false;
    } catch (const Fallo& fallo) {
        // A folder that cannot be written is told once, not at every kick.
        if (!std::exchange(sinEscribir_, true)) {
            Informar(eventos::kRegistroSinEscribir,
                     {ruta, std::to_string(fallo.numero), TextoDeFallo(fallo)});
        }
        throw;
    }
    // Lines lost meanwhile (a full queue) are told by the next one.
    perdidas_ -= perdidas;
}

void RegistroAperturas::Informar(ClaseEvento clase, std::vector<std::string> textos) noexcept {
    if (eventos_ == nullptr) return;
    try {
        if (parametros_.DelAdministrador(claves::KovraEventos, kRegistroEncendido).valor !=
            kEventosApagados) {
            TextosEvento(textos);
            eventos_->Informar(clase.tipo, clase.id, textos);
        }
    } catch (...) {
        // A log that fails loses the event; the line and the kick go on.
    }
}

void RegistroAperturas::Anadir(const std::string& ruta, const std::string& linea) {
    auto archivo = archivos_.Abrir(ruta);
    if (archivo->Tamano() >= kLimiteAperturas) {
        archivo.reset();  // an open file cannot be renamed
        // If the older copy cannot be replaced now, the line still goes into
        // the full file, and a later kick tries again.
        archivos_.Reemplazar(ruta, RutaJuntoAParametros(ruta, kNombreAperturasAnterior));
        archivo = archivos_.Abrir(ruta);
    }
    if (archivo->Tamano() == 0) {
        archivo->Anadir(std::string(kCabeceraAperturas) + std::string(kFinDeLinea) + linea);
    } else {
        archivo->Anadir(linea);
    }
}

EscritorAperturas::EscritorAperturas(RegistroAperturas& registro)
    : hilo_([this, &registro] {
          registro.Atender(parar_.get_token());
          std::lock_guard bloqueo(mutex_);
          acabado_ = true;
          terminado_.notify_all();
      }) {}

EscritorAperturas::~EscritorAperturas() {
    if (abandonado_ && !Terminar(std::chrono::milliseconds(0))) {
        hilo_.detach();
        return;
    }
    parar_.request_stop();
    if (hilo_.joinable()) hilo_.join();
}

bool EscritorAperturas::Terminar(std::chrono::milliseconds limite) {
    parar_.request_stop();
    {
        std::unique_lock bloqueo(mutex_);
        abandonado_ = !terminado_.wait_for(bloqueo, limite, [&] { return acabado_; });
        if (abandonado_) return false;
    }
    if (hilo_.joinable()) hilo_.join();
    return true;
}
