#include "ui/win32/UnaInstancia.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#include "platform/win32/Unico.h"
#include "ui/win32/VentanaPrincipal.h"

namespace {

ULONGLONG FinDeLaEspera() {
    return GetTickCount64() + kEsperaOrdenMilisegundos;
}
DWORD Restante(ULONGLONG fin) {
    const ULONGLONG ahora = GetTickCount64();
    return ahora < fin ? static_cast<DWORD>(fin - ahora) : 0;
}

// True once this thread owns `mutex`, waiting at most `ms`: the copy that
// owned it has ended (or died, which leaves it abandoned).
bool Adquirir(HANDLE mutex, DWORD ms) {
    const DWORD r = WaitForSingleObject(mutex, ms);
    return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

enum class Copia { Ninguna, ConVentana, SinVentana };

// Whether a copy runs, as seen until `fin`: its window answers, or its mutex
// is let go (a copy that was ending). A copy still starting (its chooser
// open before its window) shows no window: after the wait it still runs.
// With no copy, this thread owns `mutex` when this returns.
Copia BuscarCopia(HANDLE mutex, ULONGLONG fin, HWND& ventana) {
    for (;;) {
        if (mutex != nullptr && Adquirir(mutex, 0)) return Copia::Ninguna;
        ventana = FindWindowW(kClaseVentanaPrincipal, nullptr);
        if (ventana != nullptr) return Copia::ConVentana;
        const DWORD paso = std::min<DWORD>(100, Restante(fin));
        if (paso == 0) return Copia::SinVentana;
        if (mutex == nullptr) {
            Sleep(paso);
        } else if (Adquirir(mutex, paso)) {
            return Copia::Ninguna;
        }
    }
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

std::optional<CopiaUnica> CopiaUnica::Tomar() {
    // The mutex of a copy run as administrator may not be opened by one of
    // the same user without elevation: access denied also means that a copy
    // runs, and only its window can tell more.
    ObjetoUnico mutex(CreateMutexW(nullptr, FALSE, kMutexUnaCopia));
    if (!mutex && GetLastError() != ERROR_ACCESS_DENIED) return CopiaUnica(std::move(mutex));
    HWND otra = nullptr;
    if (BuscarCopia(mutex.get(), FinDeLaEspera(), otra) == Copia::Ninguna) {
        return CopiaUnica(std::move(mutex));
    }
    if (otra != nullptr) {
        DWORD proceso = 0;
        GetWindowThreadProcessId(otra, &proceso);
        // The user just started us, so we may hand the foreground on.
        AllowSetForegroundWindow(proceso);
        PostMessageW(otra, RegisterWindowMessageW(kMensajeMostrarVentana), 0, 0);
    }
    return std::nullopt;
}

void CopiaUnica::Soltar() {
    if (!mutex_) return;
    ReleaseMutex(mutex_.get());
    mutex_.reset();
}

bool Win32CopiaAbierta::Hay() {
    ObjetoUnico mutex(OpenMutexW(SYNCHRONIZE, FALSE, kMutexUnaCopia));
    if (!mutex) return GetLastError() == ERROR_ACCESS_DENIED;
    HWND ventana = nullptr;
    if (BuscarCopia(mutex.get(), FinDeLaEspera(), ventana) != Copia::Ninguna) return true;
    // Owned only to learn that nobody else did: the order is carried out
    // here, and a copy that starts meanwhile must not wait for this one.
    ReleaseMutex(mutex.get());
    return false;
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
    ObjetoUnico proceso(OpenProcess(SYNCHRONIZE, FALSE, id));
    if (!Enviar(ventana, kMensajeSalir, fin)) return false;
    if (proceso) return WaitForSingleObject(proceso.get(), Restante(fin)) == WAIT_OBJECT_0;
    // No handle to wait on: the copy has ended once its mutex is gone.
    while (Hay()) {
        if (Restante(fin) == 0) return false;
        Sleep(50);
    }
    return true;
}
