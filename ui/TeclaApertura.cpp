#include "ui/TeclaApertura.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

bool TeclaApertura::Tick(KeyState& teclas) {
    const bool pulsada = std::exchange(pulsacionPendiente_, false);
    // Down and up again between two ticks: seen only by the raw input.
    if (teclas.GetAsyncKeyState(tecla_.teclaVirtual) >= 0) return pulsada;
    if (teclas.GetAsyncKeyState(kTeclaShift) != 0) return false;
    if (teclas.GetAsyncKeyState(kTeclaControl) != 0) return false;
    // Alt+F4 closes the program in front: with F4 as the key, that must not
    // open the drawer. F12 keeps Alt+F12.
    return !VeTodaPulsacion() || teclas.GetAsyncKeyState(kTeclaAlt) >= 0;
}

void TeclaApertura::EntradaCruda(int teclaVirtual, bool abajo, bool esperar) {
    if (teclaVirtual < 0 || teclaVirtual >= static_cast<int>(crudasAbajo_.size())) return;
    // The typematic repeats of a held key are no new press: the poll repeats it.
    const bool yaAbajo = std::exchange(crudasAbajo_[static_cast<std::size_t>(teclaVirtual)], abajo);
    if (!abajo || yaAbajo || teclaVirtual != tecla_.teclaVirtual || !VeTodaPulsacion() || esperar)
        return;
    const auto algunaAbajo = [&](std::initializer_list<int> lista) {
        return std::ranges::any_of(
            lista, [&](int t) { return crudasAbajo_[static_cast<std::size_t>(t)]; });
    };
    // Either key of each pair, as the system names it with or without its side.
    if (algunaAbajo({kTeclaShift, 0xA0, 0xA1}) || algunaAbajo({kTeclaControl, 0xA2, 0xA3}) ||
        algunaAbajo({kTeclaAlt, 0xA4, 0xA5})) {
        return;
    }
    pulsacionPendiente_ = true;
}
