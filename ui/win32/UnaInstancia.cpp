#include "ui/win32/UnaInstancia.h"

#include <windows.h>

#include <memory>

#include "ui/win32/VentanaPrincipal.h"

namespace {

constexpr wchar_t kMutex[] = L"Local\\AbrirCajon.UnaInstancia";

struct CerrarHandle {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using Handle = std::unique_ptr<void, CerrarHandle>;

ULONGLONG FinDeLaEspera() {
    return GetTickCount64() + kEsperaOrdenMilisegundos;
}
DWORD Restante(ULONGLONG fin) {
    const ULONGLONG ahora = GetTickCount64();
    return ahora < fin ? static_cast<DWORD>(fin - ahora) : 0;
}

// The copy's main window; one that has only just started may not have made
// it yet.
HWND VentanaDeLaCopia(ULONGLONG fin) {
    for (;;) {
        if (HWND ventana = FindWindowW(kClaseVentanaPrincipal, nullptr)) return ventana;
        if (Restante(fin) == 0) return nullptr;
        Sleep(50);
    }
}

// The window's answer to a registered message, if it comes before `fin`.
std::optional<LRESULT> Enviar(HWND ventana, const wchar_t* nombre, ULONGLONG fin) {
    DWORD_PTR respuesta = 0;
    if (SendMessageTimeoutW(ventana, RegisterWindowMessageW(nombre), 0, 0, SMTO_NORMAL,
                            Restante(fin), &respuesta) == 0) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(respuesta);
}

}  // namespace

bool HayOtraInstancia() {
    // Held until the process ends: the system releases it then. The mutex of
    // a copy run as administrator may not be opened by one of the same user
    // without elevation: access denied then also means that a copy runs.
    CreateMutexW(nullptr, FALSE, kMutex);
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

bool Win32CopiaAbierta::Hay() {
    Handle mutex(OpenMutexW(SYNCHRONIZE, FALSE, kMutex));
    return mutex != nullptr || GetLastError() == ERROR_ACCESS_DENIED;
}

std::optional<int> Win32CopiaAbierta::Abrir() {
    const ULONGLONG fin = FinDeLaEspera();
    HWND ventana = VentanaDeLaCopia(fin);
    if (ventana == nullptr) return std::nullopt;
    DWORD proceso = 0;
    GetWindowThreadProcessId(ventana, &proceso);
    // The stop box of a failed kick may then come to the front.
    AllowSetForegroundWindow(proceso);
    const auto respuesta = Enviar(ventana, kMensajeAbrir, fin);
    if (!respuesta) return std::nullopt;
    return static_cast<int>(*respuesta);
}

std::optional<std::optional<EstadoCajon>> Win32CopiaAbierta::Cajon() {
    const ULONGLONG fin = FinDeLaEspera();
    HWND ventana = VentanaDeLaCopia(fin);
    if (ventana == nullptr) return std::nullopt;
    const auto respuesta = Enviar(ventana, kMensajeEstadoCajon, fin);
    if (!respuesta) return std::nullopt;
    return DesempaquetarCajon(static_cast<std::uint32_t>(*respuesta));
}

bool Win32CopiaAbierta::Asistente() {
    HWND ventana = VentanaDeLaCopia(FinDeLaEspera());
    if (ventana == nullptr) return false;
    DWORD proceso = 0;
    GetWindowThreadProcessId(ventana, &proceso);
    // The assistant may then come to the front.
    AllowSetForegroundWindow(proceso);
    return PostMessageW(ventana, RegisterWindowMessageW(kMensajeAsistente), 0, 0) != FALSE;
}

bool Win32CopiaAbierta::Salir() {
    const ULONGLONG fin = FinDeLaEspera();
    HWND ventana = VentanaDeLaCopia(fin);
    if (ventana == nullptr) return false;
    DWORD id = 0;
    GetWindowThreadProcessId(ventana, &id);
    Handle proceso(OpenProcess(SYNCHRONIZE, FALSE, id));
    if (!Enviar(ventana, kMensajeSalir, fin)) return false;
    if (proceso) return WaitForSingleObject(proceso.get(), Restante(fin)) == WAIT_OBJECT_0;
    // No handle to wait on: the copy has ended once its mutex is gone.
    while (Hay()) {
        if (Restante(fin) == 0) return false;
        Sleep(50);
    }
    return true;
}
