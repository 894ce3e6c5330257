#include "platform/win32/Win32Globo.h"

#include <shellapi.h>

#include "platform/win32/Texto.h"

namespace {

// Beside the window's icon (1).
constexpr UINT kIdIconoGlobo = 2;
constexpr UINT_PTR kIdTimerGlobo = 0x4742;
constexpr UINT kDuracionMs = 15000;

NOTIFYICONDATAW Registro(HWND ventana) {
    NOTIFYICONDATAW datos{};
    datos.cbSize = sizeof datos;
    datos.hWnd = ventana;
    datos.uID = kIdIconoGlobo;
    return datos;
}

void CALLBACK QuitarGlobo(HWND ventana, UINT, UINT_PTR id, DWORD) {
    KillTimer(ventana, id);
    NOTIFYICONDATAW datos = Registro(ventana);
    Shell_NotifyIconW(NIM_DELETE, &datos);
}

}  // namespace

void MostrarGlobo(HWND ventana, HICON icono, const std::wstring& titulo,
                  const std::wstring& texto) {
    NOTIFYICONDATAW datos = Registro(ventana);
    datos.uFlags = NIF_ICON | NIF_TIP | NIF_INFO;
    datos.hIcon = icono;
    CopiarAncho(datos.szTip, titulo);
    CopiarAncho(datos.szInfoTitle, titulo);
    CopiarAncho(datos.szInfo, texto);
    datos.dwInfoFlags = NIIF_WARNING;
    if (!Shell_NotifyIconW(NIM_MODIFY, &datos)) Shell_NotifyIconW(NIM_ADD, &datos);
    SetTimer(ventana, kIdTimerGlobo, kDuracionMs, QuitarGlobo);
}
