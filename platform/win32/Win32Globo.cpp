#include "platform/win32/Win32Globo.h"

#include <shellapi.h>

#include <algorithm>

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

template <std::size_t N>
void Copiar(const std::wstring& texto, wchar_t (&destino)[N]) {
    const std::size_t n = std::min(texto.size(), N - 1);
    std::copy_n(texto.begin(), n, destino);
    destino[n] = L'\0';
}

}  // namespace

void MostrarGlobo(HWND ventana, HICON icono, const std::wstring& titulo,
                  const std::wstring& texto) {
    NOTIFYICONDATAW datos = Registro(ventana);
    datos.uFlags = NIF_ICON | NIF_TIP | NIF_INFO;
    datos.hIcon = icono;
    Copiar(titulo, datos.szTip);
    Copiar(titulo, datos.szInfoTitle);
    Copiar(texto, datos.szInfo);
    datos.dwInfoFlags = NIIF_WARNING;
    if (!Shell_NotifyIconW(NIM_MODIFY, &datos)) Shell_NotifyIconW(NIM_ADD, &datos);
    SetTimer(ventana, kIdTimerGlobo, kDuracionMs, QuitarGlobo);
}
