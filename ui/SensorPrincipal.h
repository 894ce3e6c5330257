#pragma once
// The main window's part in the drawer's sensor: KovraSensor at start, the
// watch handed each kick, and the check that finds the value a drawer needs.
// It kicks through the function it is given, so the window's logic uses it
// and it never uses the window's logic.

#include <functional>
#include <string>

#include "drawer/RegistroAperturas.h"
#include "drawer/SensorCajon.h"
#include "drawer/VigilanteCajon.h"
#include "platform/Dialogs.h"
#include "settings/Parametros.h"

class SensorPrincipal {
  public:
    // No `vigilante`: no sensor (AbrirCajon.exe /abrir with no copy running).
    SensorPrincipal(Parametros& parametros, Dialogs& dialogs, VigilanteCajon* vigilante,
                    ConsultaEstado* estado,
                    std::function<ResultadoApertura(OrigenApertura)> patear);

    // KovraSensor, read once at start; a value that does not read gives a box.
    void Leer();
    // After a kick's output: the watch, when the sensor is on.
    void TrasPatada(const ResultadoApertura& resultado);
    // "Comprobar el sensor del cajón…" on the port as typed (none: the
    // printer route, or a port that cannot talk back).
    void Comprobar(const std::string& puerto, bool porImpresora);

  private:
    Parametros& parametros_;
    Dialogs& dialogs_;
    VigilanteCajon* vigilante_;
    ConsultaEstado* estado_;
    std::function<ResultadoApertura(OrigenApertura)> patear_;
    ModoSensor modo_ = ModoSensor::Apagado;
    bool comprobando_ = false;  // the check's own kick is not watched
};
