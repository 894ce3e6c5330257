#pragma once
// The keyboard's state from the system, whichever program has the focus, and
// its raw input: every key going down or up in any program, however short
// the press, without taking the key from the program that has the focus.

#include <windows.h>

#include <optional>

#include "platform/KeyState.h"

class Win32KeyState : public KeyState {
  public:
    std::int16_t GetAsyncKeyState(int teclaVirtual) override;
};

// Asks for the keyboard's raw input (WM_INPUT) at `ventana` also while
// another program is in front (RIDEV_INPUTSINK). False when the system
// refuses; the keys are then only polled.
bool RecibirTecladoCrudo(HWND ventana);

struct TeclaCruda {
    int teclaVirtual;
    bool abajo;
};
// The key of one WM_INPUT, if it came from a keyboard.
std::optional<TeclaCruda> LeerTecladoCrudo(LPARAM lp);
