#include "platform/win32/Win32NotificationArea.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>

namespace {

// Copies the record as it stands, cbSize included: a record that was never
// filled (all zero) must reach the shell as such and be refused there.
NOTIFYICONDATAA Registro(const RegistroIcono& r) {
    NOTIFYICONDATAA datos{};
    datos.cbSize = r.cbSize;
    datos.hWnd = reinterpret_cast<HWND>(r.hWnd);
    datos.uID = r.uID;
    datos.uFlags = r.uFlags;
    datos.uCallbackMessage = r.uCallbackMessage;
    datos.hIcon = reinterpret_cast<HICON>(r.hIcon);
    static_assert(sizeof datos.szTip >= std::tuple_size_v<decltype(r.szTip)>);
    std::copy(r.szTip.begin(), r.szTip.end(), datos.szTip);
    return datos;
}

}  // namespace

std::uint32_t Win32NotificationArea::TamanoRegistro() const {
    return NOTIFYICONDATAA_V1_SIZE;
}

bool Win32NotificationArea::Agregar(const RegistroIcono& registro) {
    NOTIFYICONDATAA datos = Registro(registro);
    return Shell_NotifyIconA(NIM_ADD, &datos) != FALSE;
}

bool Win32NotificationArea::Quitar(const RegistroIcono& registro) {
    NOTIFYICONDATAA datos = Registro(registro);
    return Shell_NotifyIconA(NIM_DELETE, &datos) != FALSE;
}
