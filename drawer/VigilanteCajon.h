#pragma once
// Watches the drawer after a kick, on a thread of its own, so that neither
// the key's poll nor the window ever waits for the printer: asks the printer
// for the drawer's state every half second while it reads open, tells the
// window what to show, and writes the record's line when it reads closed or
// the printer does not answer.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "drawer/EnviarApertura.h"
#include "drawer/SensorCajon.h"
#include "platform/ConsultaEstado.h"

// What the window shows; called on the watcher's thread.
class AvisosCajon {
  public:
    virtual ~AvisosCajon() = default;
    virtual void Abierto() = 0;            // the drawer reads open
    virtual void Aviso(int segundos) = 0;  // open this long: warn
    virtual void Cerrado() = 0;            // it no longer reads open
};

class VigilanteCajon {
  public:
    // `anotar` writes the record's line: the kick's, with the sensor's result.
    VigilanteCajon(ConsultaEstado& consulta, AvisosCajon& avisos,
                   std::function<void(const ResultadoApertura&)> anotar);
    // Stops the watch, waiting for a question under way (500 ms at most).
    ~VigilanteCajon();
    VigilanteCajon(const VigilanteCajon&) = delete;
    VigilanteCajon& operator=(const VigilanteCajon&) = delete;

    // After a kick: watches the drawer from now on, in place of any watch
    // before. A kick that cannot talk back, or failed, is not watched.
    void Vigilar(const ResultadoApertura& apertura, ModoSensor modo, int avisoSegundos);

  private:
    struct Vigilancia {
        ResultadoApertura apertura;
        DestinoEstado destino;
        ModoSensor modo = ModoSensor::Apagado;
        int aviso = 0;
        std::chrono::steady_clock::time_point inicio;
    };

    void Atender();
    void Seguir(const Vigilancia& v);
    // False when the wait was cut short by a new kick or the end.
    bool Esperar(std::chrono::milliseconds tiempo);
    void Anotar(const Vigilancia& v, FinSensor fin, std::string resultado);

    ConsultaEstado& consulta_;
    AvisosCajon& avisos_;
    std::function<void(const ResultadoApertura&)> anotar_;
    std::mutex mutex_;
    // Plain std::thread and condition_variable: the release stays small.
    std::condition_variable cambio_;
    std::optional<Vigilancia> pendiente_;
    bool parar_ = false;
    std::thread hilo_;  // last: it starts once the rest is made
};
