#pragma once
// The drawer assistant's decisions: where the drawer may hang (the
// candidates, best first), which commands to try there and in which order,
// what each try showed, and what is written once one opened the drawer. It
// has no thread and no clock: its window gives it the time and the printer's
// answers, and kicks through the one coordinator.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "drawer/CoordinadorApertura.h"
#include "drawer/SensorCajon.h"
#include "drawer/Vigilancia.h"
#include "platform/InventarioImpresion.h"

enum class RutaCajon { Red, Raw, Puerto };

struct CandidatoCajon {
    // KovraPuerto on the port route: an address, a printer's name, "COM1:".
    std::string puerto = {};
    std::string impresora = {};      // the installed printer's name; empty for a port
    std::string puertoWindows = {};  // that printer's port, as Windows names it
    RutaCajon ruta = RutaCajon::Puerto;
    bool recibos = false;
    bool star = false;
    bool configurado = false;
};

// The kick's settings now: the driver route on the remembered printer, or
// the port route on KovraPuerto.
struct AjustesCajon {
    bool porControlador = false;
    std::string puerto;
    std::string impresora;
};

// By the printer's or the driver's name: "TM-T20", "Star TSP100", "POS-80".
bool EsDeRecibos(std::string_view nombre);
bool EsStar(std::string_view nombre);

// The route now configured, then every installed printer (receipt printers
// first; one on a Standard TCP/IP port in RAW mode by the network, any other
// by its queue), then the serial and parallel ports; each route once.
std::vector<CandidatoCajon> CandidatosCajon(InventarioImpresion& inventario,
                                            const AjustesCajon& ahora);
// The texts joined: one call where `+` would inline a copy at each step.
std::string Unir(std::initializer_list<std::string_view> partes);

// "por la red en 192.168.1.50:9100", "por la cola de Windows (USB001)"
std::string ViaEnPalabras(const CandidatoCajon& candidato);
// The list's line: who, and the route in words.
std::string TextoCandidato(const CandidatoCajon& candidato);

enum class FamiliaOrden { EscPos, TiempoReal, Star, Controlador };
struct OrdenCajon {
    std::string_view nombre;
    std::string_view codigos;  // empty for the driver's job
    FamiliaOrden familia;
    int cajon;  // 0: the driver's
};
// The commands to try on a route, in order: ESC/POS, real time (straight to
// a port or the network only), Star (first for a Star printer), the
// printer's driver (a printer only).
std::vector<OrdenCajon> OrdenesPara(const CandidatoCajon& candidato);

// A try's kick: the command's codes to the candidate's route (the driver's
// job on that printer, made current), through the coordinator as the
// assistant's. None while another kick is under way.
std::optional<ResultadoApertura> PatearPrueba(CoordinadorApertura& apertura, Printing& impresora,
                                              const CandidatoCajon& candidato,
                                              const OrdenCajon& orden, Dialogs& cajas);

namespace tiempos_asistente {
using namespace std::chrono_literals;
// Two tries never closer than this: a drawer still springing open is not
// taken for the next command's.
inline constexpr std::chrono::milliseconds kEntrePruebas = 1500ms;
inline constexpr std::chrono::milliseconds kPrimeraLectura = 300ms;
inline constexpr std::chrono::milliseconds kEntreLecturas = 250ms;
// Another kick under way: the same try again after this.
inline constexpr std::chrono::milliseconds kReintento = 250ms;
// The cashier's answer counts from this long after the question is put: a
// second Enter or the second click of a double click, queued while the try
// was being made, does not answer it.
inline constexpr std::chrono::milliseconds kAntesDeContestar = 500ms;
}  // namespace tiempos_asistente

// The tries on one route, one at a time. With a printer that answers DLE
// EOT 1 it reads pin 3 twice before each try and for 1.5 s after it, and the
// drawer opened when the level changed on two readings in a row; an answer
// missing or busy is never an opening, and with no steady answer before the
// try, or none at all after it, the cashier is asked.
class PruebasCajon {
  public:
    enum class Paso { Esperar, Preguntar, Patear, Cajero, Abierto, Ninguna, Fallo };

    PruebasCajon(std::vector<OrdenCajon> ordenes, std::optional<DestinoEstado> sensor);

    // What is due at `ahora`: a status question (its answer to Respuesta), the
    // try's kick (its outcome to Pateado), the cashier's answer (Contestar),
    // nothing yet, or the end (Fallo: a kick failed, and its stop box said why).
    Paso Tic(Instante ahora);
    void Respuesta(const RespuestaEstado& respuesta);
    void Pateado(const std::optional<ResultadoApertura>& resultado, Instante ahora);
    // False, and nothing done, before kAntesDeContestar from the question.
    bool Contestar(bool abierto, Instante ahora);
    // A kick not of these tries (F12, a page, an earlier round's) at
    // `cuando`: the next try comes kEntrePruebas after it, and a try whose
    // drawer the sensor was watching is made again from its first reading.
    void OtraPatada(Instante cuando);
    // Once opened: the same command once more; Abierto again either way,
    // Confirmado says how it went.
    void Repetir();

    const OrdenCajon& Orden() const { return ordenes_[indice_]; }
    int Numero() const { return static_cast<int>(indice_) + 1; }
    int Total() const { return static_cast<int>(ordenes_.size()); }
    const std::optional<DestinoEstado>& Destino() const { return sensor_; }
    std::optional<ModoSensor> Modo() const { return modo_; }
    bool Repetido() const { return repetido_; }
    bool Confirmado() const { return confirmado_; }

  private:
    enum class Fase { Antes, Patada, Observar, Cajero, Abierto, Ninguna, Fallo };
    void Siguiente();
    void Abrio(std::optional<ModoSensor> modo);
    // The readings before a try, to be taken again.
    void Olvidar();

    std::vector<OrdenCajon> ordenes_;
    std::optional<DestinoEstado> sensor_;
    std::size_t indice_ = 0;
    Fase fase_ = Fase::Antes;
    bool enVuelo_ = false;
    int preguntas_ = 0;  // before the try
    std::optional<std::uint8_t> primera_;
    // The answer of a question asked before another kick: not read.
    bool descartar_ = false;
    std::optional<std::uint8_t> antes_;
    bool vistoIgual_ = false;
    // A change seen once after the kick, waiting for the next reading.
    std::optional<ModoSensor> cambio_;
    Instante patada_{};
    Instante proxima_{};
    Instante pregunta_{};
    Instante cajero_{};
    std::optional<ModoSensor> modo_;
    bool repetido_ = false;
    bool confirmado_ = false;
};

// What opened the drawer.
struct HallazgoCajon {
    CandidatoCajon candidato;
    OrdenCajon orden;
    std::optional<ModoSensor> sensor;
};
// "Impresora Star por la red en 192.168.1.50:9100 · orden Star (BEL) ·
// cajón 1 · sensor: abierto con el pin 3 alto"
std::string TextoHallazgo(const HallazgoCajon& hallazgo);
// The keys and values that set it: KovraTipo, KovraPuerto and KovraASCII
// (PrinterDeviceName instead for the driver's job), KovraSensor when read.
std::vector<std::pair<std::string_view, std::string>> LineasHallazgo(const HallazgoCajon& h);
// False with KovraBloqueado or any of its lines set by the administrator, or
// a file this user cannot write (the machine's copy).
bool SePuedeGuardar(Parametros& parametros, const HallazgoCajon& hallazgo);
// The lines through the one writer; nothing at all, and false, when they
// cannot be kept.
bool GuardarHallazgo(Parametros& parametros, const HallazgoCajon& hallazgo);
