#pragma once
// The keyboard's state from the system, whichever program has the focus.

#include "platform/KeyState.h"

class Win32KeyState : public KeyState {
  public:
    std::int16_t GetAsyncKeyState(int teclaVirtual) override;
};
