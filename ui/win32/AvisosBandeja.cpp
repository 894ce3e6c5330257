#include "ui/win32/AvisosBandeja.h"

#include <shellapi.h>

#include <string>

#include "platform/win32/ClaseVentana.h"
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
constexpr UINT kNoAbierto = WM_APP + 5;
constexpr UINT kComprobando = WM_APP + 6;
constexpr UINT kPatada = WM_APP + 7;
constexpr UINT kComprobado = WM_APP + 8;
// The program's own icon is id 1, while the window is minimized.
constexpr UINT kIdIconoSensor = 2;
constexpr UINT_PTR kIdTimerGlobo = 1;
constexpr UINT kDuracionGloboMs = 15000;
constexpr char kMenuComprobar[] = "Comprobar el sensor del cajón…";

}  // namespace

void AnadirComprobarSensor(HWND principal) {
    HMENU menu = GetSystemMenu(principal, FALSE);
    if (menu == nullptr) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kComandoComprobarSensor, Ancho(kMenuComprobar).c_str());
}

AvisosBandeja::AvisosBandeja(HINSTANCE instancia, HWND principal)
    : instancia_(instancia), principal_(principal) {
    RegistrarClaseVentana(instancia, kClase, &AvisosBandeja::Proc);
    // A hidden top-level window, not a message-only one: only top-level
    // windows hear that Explorer has restarted and lost every icon.
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClase, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            instancia, this);
    if (hwnd_ == nullptr) throw FalloWin32();
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    if (taskbarCreated_ != 0) {
        ChangeWindowMessageFilterEx(hwnd_, taskbarCreated_, MSGFLT_ALLOW, nullptr);
    }
    icono_ = static_cast<HICON>(LoadImageW(instancia, MAKEINTRESOURCEW(IDI_ICONO_A), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXSMICON),
                                           GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

AvisosBandeja::~AvisosBandeja() {
    Quitar();
    DestroyWindow(hwnd_);
}

void AvisosBandeja::Conectar(std::function<void()> patada,
                             std::function<void(std::optional<ModoSensor>, bool)> comprobado) {
    patada_ = std::move(patada);
    comprobado_ = std::move(comprobado);
}

void AvisosBandeja::Quitar() {
    abierto_ = comprobando_ = globo_ = false;
    Mostrar();
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
void AvisosBandeja::NoSeAbrio() {
    PostMessageW(hwnd_, kNoAbierto, 0, 0);
}
void AvisosBandeja::Comprobando() {
    PostMessageW(hwnd_, kComprobando, 0, 0);
}
void AvisosBandeja::PatadaDeComprobacion() {
    PostMessageW(hwnd_, kPatada, 0, 0);
}
void AvisosBandeja::Comprobado(std::optional<ModoSensor> modo, bool pateado) {
    PostMessageW(hwnd_, kComprobado, static_cast<WPARAM>(modo ? static_cast<int>(*modo) : 0),
                 pateado ? 1 : 0);
}

LRESULT CALLBACK AvisosBandeja::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* avisos = ObjetoDeVentana<AvisosBandeja>(hwnd, msg, lp);
    if (msg == WM_NCCREATE) avisos->hwnd_ = hwnd;  // before CreateWindowExW returns it
    return avisos != nullptr ? avisos->Mensaje(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT AvisosBandeja::Mensaje(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == taskbarCreated_ && msg != 0) {
        puesto_ = false;  // a new notification area has none of the old icons
        Mostrar();
        return 0;
    }
    switch (msg) {
        case kAbierto:
            abierto_ = true;
            Mostrar();
            return 0;
        case kAviso:
            if (abierto_) Globo(TextoAviso(static_cast<int>(wp)));
            return 0;
        case kCerrado:
            abierto_ = false;
            Mostrar();
            return 0;
        case kNoAbierto:
            Globo(kCajonNoAbierto);
            return 0;
        case kComprobando:
            comprobando_ = true;
            Mostrar();
            return 0;
        case kPatada:
            if (patada_) patada_();
            return 0;
        case kComprobado:
            comprobando_ = false;
            Mostrar();
            if (comprobado_) {
                comprobado_(wp != 0 ? std::optional(static_cast<ModoSensor>(wp)) : std::nullopt,
                            lp != 0);
            }
            return 0;
        case WM_TIMER:
            if (wp == kIdTimerGlobo) {
                KillTimer(hwnd_, kIdTimerGlobo);
                globo_ = false;
                Mostrar();
            }
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

void AvisosBandeja::Mostrar() {
    const char* sufijo = comprobando_ ? kSufijoComprobando : abierto_ ? kSufijoCajonAbierto : "";
    SetWindowTextW(principal_, Ancho(std::string(kCaptionPrincipal) + sufijo).c_str());
    const bool quiere = abierto_ || globo_;
    if (!quiere && !puesto_) return;
    // The second form of the record: the first that carries a balloon.
    NOTIFYICONDATAW datos{};
    datos.cbSize = NOTIFYICONDATAW_V2_SIZE;
    datos.hWnd = hwnd_;
    datos.uID = kIdIconoSensor;
    if (quiere) {
        datos.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        datos.uCallbackMessage = kIcono;
        datos.hIcon = icono_;
        // An icon there for a balloon alone is the program's, not the drawer's.
        CopiarAncho(datos.szTip, Ancho(abierto_ ? kTipCajonAbierto : "AbrirCajon"));
        if (puesto_) {
            Shell_NotifyIconW(NIM_MODIFY, &datos);
        } else {
            puesto_ = Shell_NotifyIconW(NIM_ADD, &datos) != FALSE;
        }
    } else {
        Shell_NotifyIconW(NIM_DELETE, &datos);
        puesto_ = false;
    }
}

void AvisosBandeja::Globo(const std::string& texto) {
    MessageBeep(MB_ICONWARNING);
    if (!abierto_) {
        // No open drawer to hang it on: the icon comes for the balloon only.
        globo_ = true;
        SetTimer(hwnd_, kIdTimerGlobo, kDuracionGloboMs, nullptr);
        Mostrar();
    }
    if (!puesto_) return;
    NOTIFYICONDATAW datos{};
    datos.cbSize = NOTIFYICONDATAW_V2_SIZE;
    datos.hWnd = hwnd_;
    datos.uID = kIdIconoSensor;
    datos.uFlags = NIF_INFO;
    CopiarAncho(datos.szInfo, Ancho(texto));
    CopiarAncho(datos.szInfoTitle, L"AbrirCajon");
    datos.dwInfoFlags = NIIF_WARNING | NIIF_NOSOUND;  // the sound is the one above
    Shell_NotifyIconW(NIM_MODIFY, &datos);
}
