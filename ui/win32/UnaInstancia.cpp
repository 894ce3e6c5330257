#include "ui/win32/UnaInstancia.h"

#include <windows.h>

#include "ui/win32/VentanaPrincipal.h"

bool HayOtraInstancia() {
    // Held until the process ends: the system releases it then. The mutex of
    // a copy run as administrator may not be opened by one of the same user
    // without elevation: access denied then also means that a copy runs.
    CreateMutexW(nullptr, FALSE, L"Local\\AbrirCajon.UnaInstancia");
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) return false;

    // The first copy may still be starting (its chooser open before its window
    // is shown): wait a little for its window.
    HWND otra = nullptr;
    for (int i = 0; i < 50 && otra == nullptr; ++i) {
        otra = FindWindowW(kClaseVentanaPrincipal, nullptr);
        if (otra == nullptr) Sleep(100);
    }
    if (otra != nullptr) {
        DWORD proceso = 0;
        GetWindowThreadProcessId(otra, &proceso);
        // The user just started us, so we may hand the foreground on.
        AllowSetForegroundWindow(proceso);
        PostMessageW(otra, RegisterWindowMessageW(kMensajeMostrarVentana), 0, 0);
    }
    return true;
}
