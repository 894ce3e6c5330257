#include "ui/win32/AvisosBandeja.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "drawer/SensorCajon.h"
#include "platform/win32/ErroresWin32.h"
#include "platform/win32/Texto.h"
#include "resources/Recursos.h"
#include "ui/frmAbrirCajon.h"
#include "ui/win32/VentanaPrincipal.h"

namespace {

constexpr wchar_t kClase[] = L"AbrirCajon.Sensor";
constexpr UINT kAbierto = WM_APP + 1;
constexpr UINT kAviso = WM_APP + 2;
constexpr UINT kCerrado = WM_APP + 3;
constexpr UINT kIcono = WM_APP + 4;  // the icon's callback
// The program's own icon is id 1, while the window is minimized.
constexpr UINT kIdIconoSensor = 2;
constexpr char kMenuComprobar[] = "Comprobar el sensor del cajón…";
constexpr char kSufijoCaption[] = " - Cajón abierto";

}  // namespace

void AnadirComprobarSensor(HWND principal) {
    HMENU menu = GetSystemMenu(principal, FALSE);
    if (menu == nullptr) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kComandoComprobarSensor, Ancho(kMenuComprobar).c_str());
}

AvisosBandeja::AvisosBandeja(HINSTANCE instancia, HWND principal)
    : instancia_(instancia), principal_(principal) {
    WNDCLASSEXW clase{};
    clase.cbSize = sizeof clase;
    clase.lpfnWndProc = &AvisosBandeja::Proc;
    clase.hInstance = instancia;
    clase.lpszClassName = kClase;
    RegisterClassExW(&clase);
    hwnd_ = CreateWindowExW(0, kClase, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instancia, this);
    if (hwnd_ == nullptr) throw FalloWin32();
    icono_ = static_cast<HICON>(LoadImageW(instancia, MAKEINTRESOURCEW(IDI_ICONO_A), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXSMICON),
                                           GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

AvisosBandeja::~AvisosBandeja() {
    Mostrar(false);
    DestroyWindow(hwnd_);
}

void AvisosBandeja::Abierto() {
    PostMessageW(hwnd_, kAbierto, 0, 0);
}
void AvisosBandeja::Aviso(int segundos) {
    PostMessageW(hwnd_, kAviso, static_cast<WPARAM>(segundos), 0);
}
void AvisosBandeja::Cerrado() {
    PostMessageW(hwnd_, kCerrado, 0, 0);
}

LRESULT CALLBACK AvisosBandeja::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        const auto* datos = reinterpret_cast<const CREATESTRUCTW*>(lp);
        auto* avisos = static_cast<AvisosBandeja*>(datos->lpCreateParams);
        avisos->hwnd_ = hwnd;  // before CreateWindowExW returns it
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(avisos));
    }
    auto* avisos = reinterpret_cast<AvisosBandeja*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return avisos != nullptr ? avisos->Mensaje(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT AvisosBandeja::Mensaje(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case kAbierto:
            Mostrar(true);
            return 0;
        case kAviso:
            Avisar(static_cast<int>(wp));
            return 0;
        case kCerrado:
            Mostrar(false);
            return 0;
        case kIcono:
            // As on the program's own icon: the window comes back.
            if (LOWORD(lp) == WM_LBUTTONDBLCLK || LOWORD(lp) == WM_RBUTTONUP) {
                PostMessageW(principal_, RegisterWindowMessageW(kMensajeMostrarVentana), 0, 0);
            }
            return 0;
        default:
            return DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

void AvisosBandeja::Mostrar(bool abierto) {
    const std::string caption = std::string(kCaptionPrincipal) + (abierto ? kSufijoCaption : "");
    SetWindowTextW(principal_, Ancho(caption).c_str());
    if (abierto == puesto_) return;
    // The second form of the record: the first that carries a balloon.
    NOTIFYICONDATAW datos{};
    datos.cbSize = NOTIFYICONDATAW_V2_SIZE;
    datos.hWnd = hwnd_;
    datos.uID = kIdIconoSensor;
    if (abierto) {
        datos.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        datos.uCallbackMessage = kIcono;
        datos.hIcon = icono_;
        CopiarAncho(datos.szTip, Ancho(kTipCajonAbierto));
        puesto_ = Shell_NotifyIconW(NIM_ADD, &datos) != FALSE;
    } else {
        Shell_NotifyIconW(NIM_DELETE, &datos);
        puesto_ = false;
    }
}

void AvisosBandeja::Avisar(int segundos) {
    MessageBeep(MB_ICONWARNING);
    if (!puesto_) return;
    NOTIFYICONDATAW datos{};
    datos.cbSize = NOTIFYICONDATAW_V2_SIZE;
    datos.hWnd = hwnd_;
    datos.uID = kIdIconoSensor;
    datos.uFlags = NIF_INFO;
    CopiarAncho(datos.szInfo, Ancho(TextoAviso(segundos)));
    CopiarAncho(datos.szInfoTitle, L"AbrirCajon");
    datos.dwInfoFlags = NIIF_WARNING | NIIF_NOSOUND;  // the sound is the one above
    Shell_NotifyIconW(NIM_MODIFY, &datos);
}
