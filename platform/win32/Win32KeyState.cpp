#include "platform/win32/Win32KeyState.h"

#include <windows.h>

std::int16_t Win32KeyState::GetAsyncKeyState(int teclaVirtual) {
    return static_cast<std::int16_t>(::GetAsyncKeyState(teclaVirtual));
}
