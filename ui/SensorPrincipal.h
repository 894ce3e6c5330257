#pragma once
// The main window's part in the drawer's sensor: KovraSensor at start, the
// pause and the watch around each kick, and the check that finds the value a
// drawer needs. It kicks through the function it is given, so the window's
// logic uses it and it never uses the window's logic.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "drawer/CoordinadorApertura.h"
#include "drawer/RegistroAperturas.h"
#include "drawer/VigilanteCajon.h"
#include "platform/Dialogs.h"
#include "settings/Parametros.h"

// The main window's caption says so while the drawer is open, or while the
// check runs.
inline constexpr char kSufijoCajonAbierto[] = " - Cajón abierto";
inline constexpr char kSufijoComprobando[] = " - Comprobando el sensor…";
// The caption without either.
std::string SinSufijoDelSensor(std::string_view caption);

class SensorPrincipal : public SensorDePatadas {
  public:
    // `patear` kicks as F12 does; none when it cannot now (a box is open).
    // No `vigilante`: no sensor (AbrirCajon.exe /abrir with no copy running).
    SensorPrincipal(Parametros& parametros, Dialogs& dialogs, VigilanteCajon* vigilante,
                    std::function<std::optional<ResultadoApertura>(OrigenApertura)> patear);

    // KovraSensor, read once at start; a value that does not read gives a box.
    void Leer();
    // Before a kick's output, and once it is over: no question meanwhile,
    // then the watch.
    void AntesDePatada() override;
    void TrasPatada(const ResultadoApertura& resultado) override;

    // "Comprobar el sensor del cajón…" on the port as typed: asks to close
    // the drawer, then leaves the rest to the watcher's thread.
    void Comprobar(const std::string& puerto, bool porImpresora);
    // False (the item greyed) with no sensor at hand, with KovraBloqueado,
    // with KovraSensor set by policy, or while a check runs.
    bool Comprobable();
    // The watcher's turns of the check, on the window's thread.
    void PatadaDeComprobacion();
    void Comprobado(std::optional<ModoSensor> modo, bool pateado);

  private:
    bool Bloqueado();

    Parametros& parametros_;
    Dialogs& dialogs_;
    VigilanteCajon* vigilante_;
    std::function<std::optional<ResultadoApertura>(OrigenApertura)> patear_;
    bool pausado_ = false;
    bool comprobando_ = false;
    bool pateandoComprobacion_ = false;
};
