#pragma once
// Watches the drawer after a kick, on a thread of its own, so that neither
// the key's poll nor the window ever waits for the printer: asks the printer
// for the drawer's state when the watch (Vigilancia) says, and runs the
// sensor's check. A kick's output pauses it, so that no question holds the
// printer's port while the kick goes out.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "drawer/Vigilancia.h"
#include "platform/ConsultaEstado.h"

// Where the sensor's check stands, on the watcher's thread. Outside the
// watcher's class: clang takes a nested one with member initializers for
// one that std::optional cannot make.
struct ComprobacionSensor {
    DestinoEstado destino;
    enum class Paso { Cerrado, Patada, Abierto } paso = Paso::Cerrado;
    std::optional<std::uint8_t> cerrado;
    ResultadoApertura apertura;
    int aviso = 0;
    Instante patada{};
    Instante proxima{};
};

class VigilanteCajon {
  public:
    // `anotar` writes the record's line: the kick's, with the sensor's result.
    VigilanteCajon(ConsultaEstado& consulta, AvisosCajon& avisos,
                   std::function<void(const ResultadoApertura&)> anotar);
    // As Terminar, waiting for a question under way.
    ~VigilanteCajon();
    VigilanteCajon(const VigilanteCajon&) = delete;
    VigilanteCajon& operator=(const VigilanteCajon&) = delete;

    // KovraSensor: read at start, or found by the check.
    void FijarModo(ModoSensor modo);
    ModoSensor Modo();

    // Around a kick's output: waits for a question under way, and for a port
    // opening it left behind (1.5 s at most), and asks no other until Reanudar.
    void Pausar();
    void Reanudar();
    // After a kick: watches the drawer from now on, or goes on with the watch
    // under way (Vigilancia::Patada). A kick that cannot talk back, or
    // failed, changes nothing.
    void Vigilar(const ResultadoApertura& apertura, int avisoSegundos);

    // The sensor's check on `destino`: ends the watch under way, reads the
    // drawer closed, has the window kick (PatadaDeComprobacion), then reads
    // it for up to 3 s for a change; the drawer it opened is watched.
    void Comprobar(const DestinoEstado& destino);
    // The check's kick, or none when it could not be made.
    void PatadaComprobada(const std::optional<ResultadoApertura>& apertura, int avisoSegundos);

    // For the till's program, from any thread; none with the sensor off.
    std::optional<EstadoCajon> Estado();

    // The end of the program: a watch under way writes its line at once;
    // then waits at most `limite` for the thread. False when it is still in
    // a question then: the caller ends the process without it.
    bool Terminar(std::chrono::milliseconds limite);

  private:
    using Comprobacion = ComprobacionSensor;

    void Atender();
    // When the next question is due; none while paused or with nothing to ask.
    std::optional<Instante> Debida() const;
    void Leida(const RespuestaEstado& respuesta, Instante t);
    void Comprobada(const RespuestaEstado& respuesta, Instante t);

    ConsultaEstado& consulta_;
    AvisosCajon& avisos_;
    std::mutex mutex_;
    // Plain std::thread and condition_variable: the release stays small.
    std::condition_variable cambio_;
    Vigilancia vigilancia_;
    std::optional<Comprobacion> comprobacion_;
    ModoSensor modo_ = ModoSensor::Apagado;
    int pausas_ = 0;
    bool enVuelo_ = false;
    // Changes whenever what is being asked for changes: an answer to a
    // question asked before is dropped.
    unsigned generacion_ = 0;
    bool parar_ = false;
    bool acabado_ = false;
    std::thread hilo_;  // last: it starts once the rest is made
};
