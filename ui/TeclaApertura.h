#pragma once
// The key that opens the drawer, watched system-wide: F12 unless KovraTecla
// names another function key. F12 is polled at every tick of the window's
// timer; another key is also seen through the system's raw keyboard input,
// so a press too short for the poll still counts.

#include <array>

#include "platform/KeyState.h"
#include "settings/Conversiones.h"

class TeclaApertura {
  public:
    // `tecla` replaces F12 (read at start).
    void Fijar(TeclaFuncion tecla) { tecla_ = std::move(tecla); }
    const TeclaFuncion& Tecla() const { return tecla_; }

    // A tick of the window's timer: true when the drawer should open now.
    // The key down with neither Shift nor Control (nor Alt, for a key other
    // than F12), or a short press the raw input saw since the last tick.
    bool Tick(KeyState& teclas);
    // A key went down or up, as the raw input reports it from any program.
    // `esperar`: a box is open, and the press does not count.
    void EntradaCruda(int teclaVirtual, bool abajo, bool esperar);
    // True when the key is not F12: its every press is seen (EntradaCruda).
    bool VeTodaPulsacion() const { return tecla_.teclaVirtual != kTeclaF12; }

  private:
    TeclaFuncion tecla_{kTeclaF12, "F12"};
    std::array<bool, 256> crudasAbajo_{};
    bool pulsacionPendiente_ = false;
};
