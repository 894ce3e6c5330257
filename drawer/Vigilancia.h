#pragma once
// The decisions of the watch that follows a kick, from the kick to its line
// in the record: when to ask the printer, what each reading means, when the
// watch ends and with which line. It has no thread and no clock of its own:
// the watcher (VigilanteCajon) gives it the time of every event.

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "drawer/EstadoCajon.h"
#include "drawer/SensorCajon.h"

// What the window shows, and the sensor's check's turns that the window
// takes; called on the watcher's thread (the window's implementation posts).
class AvisosCajon {
  public:
    virtual ~AvisosCajon() = default;
    virtual void Abierto() = 0;               // the drawer reads open
    virtual void Aviso(int segundos) = 0;     // open this long: warn
    virtual void Cerrado() = 0;               // the watch is over
    virtual void NoSeAbrio() = 0;             // a kick the drawer did not follow
    virtual void Comprobando() = 0;           // the check has begun
    virtual void PatadaDeComprobacion() = 0;  // the check's kick is due now
    // The check is over: the value the drawer needs, if a change was seen;
    // `pateado` false when its kick failed or was not made.
    virtual void Comprobado(std::optional<ModoSensor> modo, bool pateado) = 0;
};

using Instante = std::chrono::steady_clock::time_point;

namespace tiempos {
using namespace std::chrono_literals;
// While the drawer is open: every half second for the first 5 s after the
// kick, then every second, so the sales program prints between two questions.
inline constexpr std::chrono::milliseconds kIntervaloInicial = 500ms;
inline constexpr std::chrono::milliseconds kTramoInicial = 5s;
inline constexpr std::chrono::milliseconds kIntervalo = 1s;
// A busy printer is asked again later, twice as late each time, up to this.
inline constexpr std::chrono::milliseconds kMayorEspera = 2s;
// A close is two closed readings in a row, the second asked this long after
// the first; none counts within kEsperaApertura of a kick, while a drawer
// that waits behind receipt data or sticks may still open.
inline constexpr std::chrono::milliseconds kConfirmacion = 500ms;
inline constexpr std::chrono::milliseconds kEsperaApertura = 3s;
inline constexpr std::chrono::milliseconds kSinRespuesta = 60s;
inline constexpr std::chrono::minutes kSinCambio{10};
}  // namespace tiempos

class Vigilancia {
  public:
    // `anotar` writes the record's line: the kick's, with the sensor's result.
    Vigilancia(AvisosCajon& avisos, std::function<void(const ResultadoApertura&)> anotar);

    // A kick that went out to `destino` at `t`: a watch begins, or, with one
    // under way on the same printer, the same opening goes on (its line is
    // timed from the first kick; the icon and the warnings stay as they are).
    // A watch of another printer ends first, unanswered. True for a new watch.
    bool Patada(const ResultadoApertura& apertura, const DestinoEstado& destino, int avisoSegundos,
                Instante t);
    bool Activa() const { return activa_; }
    const DestinoEstado& Destino() const { return destino_; }
    // When the next question is due (while active).
    Instante Proxima() const { return proxima_; }
    // The reading of the question asked at `t`.
    void Leida(LecturaCajon lectura, Instante t);
    // The program ends at `t`: a watch under way writes its line.
    void Terminar(Instante t);
    // The check takes the printer: the watch ends without a line.
    void Detener();
    EstadoCajon Estado(Instante t) const;

  private:
    void Fin(FinSensor fin, const std::string& texto, EstadoCajon::Cajon cajon);
    int Segundos(Instante t) const;

    AvisosCajon& avisos_;
    std::function<void(const ResultadoApertura&)> anotar_;
    bool activa_ = false;
    ResultadoApertura apertura_;
    DestinoEstado destino_;
    int aviso_ = 0;
    int avisosDados_ = 0;
    Instante inicio_{};     // the first kick
    Instante patada_{};     // the latest kick
    Instante respuesta_{};  // the latest answer, or the first kick
    Instante visto_{};      // the first open reading
    Instante proxima_{};
    bool vistoAbierto_ = false;
    bool vistoCerrado_ = false;             // before it was seen open
    std::optional<Instante> abiertoDesde_;  // open readings, and no other, since then
    std::optional<Instante> cierre_;        // the first of two closed readings
    int ocupados_ = 0;                      // busy answers in a row
    EstadoCajon::Cajon ultimo_ = EstadoCajon::Cajon::Desconocido;
    FinSensor fin_ = FinSensor::Ninguno;
    std::uint32_t vigilancias_ = 0;
};
