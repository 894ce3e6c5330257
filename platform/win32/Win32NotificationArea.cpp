#include "platform/win32/Win32NotificationArea.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>

#include "platform/win32/Texto.h"

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

std::string Win32NotificationArea::TextoDeTip(const std::string& utf8, std::size_t maximo) const {
    const std::wstring ancho = Ancho(utf8);
    std::string texto;
    // One character at a time (a surrogate pair is one), so that a cut never
    // splits the bytes of a double-byte or UTF-8 code page.
    for (std::size_t i = 0; i < ancho.size();) {
        const int largo = IS_HIGH_SURROGATE(ancho[i]) && i + 1 < ancho.size() ? 2 : 1;
        char bytes[8];
        const int n = WideCharToMultiByte(CP_ACP, 0, ancho.data() + i, largo, bytes, sizeof bytes,
                                          nullptr, nullptr);
        if (n <= 0 || texto.size() + static_cast<std::size_t>(n) > maximo) break;
        texto.append(bytes, static_cast<std::size_t>(n));
        i += static_cast<std::size_t>(largo);
    }
    return texto;
}

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
