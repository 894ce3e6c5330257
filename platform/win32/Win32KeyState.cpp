#include "platform/win32/Win32KeyState.h"

std::int16_t Win32KeyState::GetAsyncKeyState(int teclaVirtual) {
    return static_cast<std::int16_t>(::GetAsyncKeyState(teclaVirtual));
}

bool RecibirTecladoCrudo(HWND ventana) {
    // Generic desktop controls (page 1), keyboard (usage 6). Without
    // RIDEV_NOLEGACY the key still reaches the program that has the focus.
    RAWINPUTDEVICE teclado{0x01, 0x06, RIDEV_INPUTSINK, ventana};
    return RegisterRawInputDevices(&teclado, 1, sizeof teclado) != FALSE;
}

std::optional<TeclaCruda> LeerTecladoCrudo(LPARAM lp) {
    RAWINPUT entrada{};
    UINT tamano = sizeof entrada;
    if (GetRawInputData(reinterpret_cast<HRAWINPUT>(lp), RID_INPUT, &entrada, &tamano,
                        sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1) ||
        entrada.header.dwType != RIM_TYPEKEYBOARD) {
        return std::nullopt;
    }
    const RAWKEYBOARD& k = entrada.data.keyboard;
    // 0xFF: a prefix of an extended key, no key of its own.
    if (k.VKey == 0 || k.VKey >= 0xFF) return std::nullopt;
    return TeclaCruda{k.VKey, (k.Flags & RI_KEY_BREAK) == 0};
}
