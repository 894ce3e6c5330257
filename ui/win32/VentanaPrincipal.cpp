#include "ui/win32/VentanaPrincipal.h"

#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "platform/win32/ClaseVentana.h"
#include "platform/win32/ErroresWin32.h"
#include "platform/win32/Texto.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32KeyState.h"
#include "resources/Recursos.h"
#include "settings/InformeError.h"
#include "ui/Ordenes.h"
#include "ui/win32/AvisosBandeja.h"
#include "ui/win32/BotonConIcono.h"
#include "ui/win32/UnaInstancia.h"
#include "ui/win32/VentanaAsistente.h"

namespace {

constexpr DWORD kEstilo = WS_OVERLAPPEDWINDOW;
// Tab and arrow navigation between the controls, as in a dialog.
constexpr DWORD kEstiloExtendido = WS_EX_CONTROLPARENT;
// The system's dialog face (Tahoma or Microsoft Sans Serif, as installed).
constexpr wchar_t kCaraDialogo[] = L"MS Shell Dlg";

FuenteGdi CrearFuente(int centesimasDePunto, bool negrita, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(centesimasDePunto, dpi, 72 * 100);
    lf.lfWeight = negrita ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    wcsncpy(lf.lfFaceName, kCaraDialogo, LF_FACESIZE - 1);
    FuenteGdi fuente(CreateFontIndirectW(&lf));
    if (!fuente) throw FalloWin32();
    return fuente;
}

int DpiDePantalla() {
    DcVentana pantalla(nullptr);
    const int dpi = pantalla.get() != nullptr ? GetDeviceCaps(pantalla.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : 96;
}

}  // namespace

VentanaPrincipal::VentanaPrincipal(HINSTANCE instancia) : instancia_(instancia) {}

VentanaPrincipal::~VentanaPrincipal() {
    // The logic may already be gone: nothing reaches it while the window dies.
    logica_ = nullptr;
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void VentanaPrincipal::Crear() {
    dpi_ = DpiDePantalla();
    // LR_SHARED: the system owns these and frees them with the module, so the
    // class and the notification-area icon can use them to the very end.
    iconoVentana_ = static_cast<HICON>(LoadImageW(instancia_, MAKEINTRESOURCEW(IDI_ABRIRCAJON),
                                                  IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                  GetSystemMetrics(SM_CYICON), LR_SHARED));
    const auto iconoPequeno = static_cast<HICON>(
        LoadImageW(instancia_, MAKEINTRESOURCEW(IDI_ABRIRCAJON), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));

    RegistrarClaseVentana(instancia_, kClaseVentanaPrincipal, ProcedimientoDe<VentanaPrincipal>,
                          iconoVentana_, iconoPequeno);

    RECT r{0, 0, Pixeles(kAnchoClienteTwips, dpi_), Pixeles(kAltoClienteTwips, dpi_)};
    AdjustWindowRectEx(&r, kEstilo, FALSE, kEstiloExtendido);
    const int ancho = r.right - r.left;
    const int alto = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - ancho) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - alto) / 2;
    marcoCentrado_ = RECT{x, y, x + ancho, y + alto};

    mensajeTaskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    mensajeMostrar_ = RegisterWindowMessageW(kMensajeMostrarVentana);
    mensajeAbrir_ = RegisterWindowMessageW(kMensajeAbrir);
    mensajeSalir_ = RegisterWindowMessageW(kMensajeSalir);
    if (CreateWindowExW(kEstiloExtendido, kClaseVentanaPrincipal, Ancho(kCaptionPrincipal).c_str(),
                        kEstilo, x, y, ancho, alto, nullptr, nullptr, instancia_,
                        this) == nullptr) {
        throw FalloWin32();
    }
    // A copy started as administrator still takes the orders and the
    // "show yourself" of the till's user, and the news of a restarted
    // Explorer: the system drops messages from a lower integrity level unless
    // the window lets them in.
    for (const UINT mensaje :
         {mensajeMostrar_, mensajeAbrir_, mensajeSalir_, mensajeTaskbarCreated_}) {
        if (mensaje != 0) ChangeWindowMessageFilterEx(hwnd_, mensaje, MSGFLT_ALLOW, nullptr);
    }
    CrearFuentes();
    CargarImagenes();
    CrearControles();
    foco_ = Hijo(Control::Command);
}

void VentanaPrincipal::CrearFuentes() {
    fuentes_[static_cast<int>(Letra::Ventana)] = CrearFuente(825, false, dpi_);
    fuentes_[static_cast<int>(Letra::Negrita12)] = CrearFuente(1200, true, dpi_);
    fuentes_[static_cast<int>(Letra::Negrita975)] = CrearFuente(975, true, dpi_);
}

void VentanaPrincipal::CargarImagenes() {
    // The button icons grow with the DPI like everything else in the window.
    ladoIcono_ = MulDiv(32, dpi_, 96);
    iconoA_ = IconoPropio(static_cast<HICON>(LoadImageW(instancia_, MAKEINTRESOURCEW(IDI_ICONO_A),
                                                        IMAGE_ICON, ladoIcono_, ladoIcono_, 0)));
    iconoB_ = IconoPropio(static_cast<HICON>(LoadImageW(instancia_, MAKEINTRESOURCEW(IDI_ICONO_B),
                                                        IMAGE_ICON, ladoIcono_, ladoIcono_, 0)));

    // A picture that cannot be read leaves its place empty: the drawer must
    // still open, so this is no reason to refuse to start.
    try {
        Imagen natural = CargarJpegDeRecurso(instancia_, IDR_INFOCAJON);
        const RectPixeles lugar = APixeles(ElementoPorId(kIdImageInfo)->pos, dpi_);
        // The design's place is the picture at 96 dpi; at any other DPI the
        // picture is scaled to fill the same place, as the rest of the layout is.
        if (natural.tamano.cx == lugar.width && natural.tamano.cy == lugar.height) {
            imagen_ = std::move(natural);
        } else {
            imagen_ = EscalarImagen(natural, SIZE{lugar.width, lugar.height});
        }
    } catch (const Fallo&) {
        imagen_ = Imagen{};
    }
}

void VentanaPrincipal::CrearControles() {
    for (const Elemento& e : DisenoPrincipal()) {
        const wchar_t* clase = nullptr;
        // Some controls of the design overlap by a few pixels; clipping keeps
        // each to its own place in the z-order set below.
        DWORD estilo = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        DWORD extendido = 0;
        switch (e.clase) {
            case Clase::Boton:
                clase = L"Button";
                estilo |= BS_PUSHBUTTON;
                break;
            case Clase::BotonConIcono:
                clase = L"Button";
                estilo |= BS_OWNERDRAW;
                break;
            case Clase::Casilla:
                clase = L"Button";
                estilo |= BS_AUTOCHECKBOX;
                break;
            case Clase::Texto:
                clase = L"Edit";
                estilo |= ES_LEFT | ES_AUTOHSCROLL;
                extendido = WS_EX_CLIENTEDGE;
                break;
            case Clase::TextoVarias:
                // Read-only rather than disabled: the text can still be selected and copied.
                clase = L"Edit";
                estilo |= ES_LEFT | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
                extendido = WS_EX_CLIENTEDGE;
                break;
            case Clase::Etiqueta:
                clase = L"Static";
                estilo |= (e.centrado ? SS_CENTER : SS_LEFT) | SS_NOPREFIX;
                break;
            case Clase::Imagen:
                clase = L"Static";
                estilo |= SS_OWNERDRAW;
                break;
            case Clase::Rectangulo:
            case Clase::Temporizador:
                continue;
        }
        if (e.tabStop) estilo |= WS_TABSTOP;
        if (e.notificaClic) estilo |= SS_NOTIFY;
        const RectPixeles p = APixeles(e.pos, dpi_);
        HWND h = CreateWindowExW(
            extendido, clase, Ancho(e.texto).c_str(), estilo, p.left, p.top, p.width, p.height,
            hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(e.id)), instancia_, nullptr);
        if (h == nullptr) throw FalloWin32();
        if (e.control) hijos_[static_cast<std::size_t>(*e.control)] = h;
        SendMessageW(h, WM_SETFONT,
                     reinterpret_cast<WPARAM>(fuentes_[static_cast<int>(e.letra)].get()), FALSE);
        if (e.clase == Clase::Casilla && e.marcada) SendMessageW(h, BM_SETCHECK, BST_CHECKED, 0);
    }
    // Buttons and boxes lie above the picture, and the picture above the
    // labels: lblIni's last lines of pixels reach into the picture and into
    // lblInfo, and only blank space of a label is lost that way. The labels
    // take no focus, so moving them leaves the Tab order as it is.
    for (Control etiqueta : {Control::lblIni, Control::lblInfo, Control::LabelComentario}) {
        SetWindowPos(Hijo(etiqueta), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void VentanaPrincipal::Conectar(frmAbrirCajon& logica, Win32Dialogs& dialogs) {
    logica_ = &logica;
    dialogs_ = &dialogs;
}

void VentanaPrincipal::Reenviar(std::string_view nombre,
                                const std::function<void(frmAbrirCajon&)>& evento) {
    if (logica_ == nullptr || dialogs_ == nullptr || terminando_) return;
    frmAbrirCajon& logica = *logica_;
    try {
        ProcedimientoGuardado(*dialogs_, nombre, [&](Linea&) { evento(logica); });
    } catch (...) {
        // Only the report box itself can fail here. An exception must never
        // unwind through the system's message dispatch, so the event is lost.
    }
}

void VentanaPrincipal::Cargar() {
    Reenviar("Form_Load", [](frmAbrirCajon& l) { l.Form_Load(); });
}

void VentanaPrincipal::Centrar() {
    SetWindowPos(hwnd_, nullptr, marcoCentrado_.left, marcoCentrado_.top,
                 marcoCentrado_.right - marcoCentrado_.left,
                 marcoCentrado_.bottom - marcoCentrado_.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void VentanaPrincipal::MostrarPorPrimeraVez() {
    if (terminando_ || hwnd_ == nullptr) return;
    Centrar();
    mostrada_ = true;
    const int antes = redimensiones_;
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    // Without a window manager (and on some systems) showing a window of the
    // right size sends no WM_SIZE; the logic counts on a resize at first display.
    if (redimensiones_ == antes) {
        ++redimensiones_;
        Reenviar("Form_Resize", [](frmAbrirCajon& l) { l.Form_Resize(); });
    }
    UpdateWindow(hwnd_);
    SetFocus(Hijo(Control::Command));
    IniciarTimer(hwnd_, kIdTimer, kIntervaloTimerMs);
    // Refused, the key is still polled: only its shortest presses are missed.
    if (logica_ != nullptr && logica_->VeTodaPulsacion()) RecibirTecladoCrudo(hwnd_);
}

void IniciarTimer(HWND ventana, UINT_PTR id, UINT milisegundos) {
    SetLastError(ERROR_SUCCESS);
    if (SetTimer(ventana, id, milisegundos, nullptr) == 0) throw FalloWin32();
}

int VentanaPrincipal::Bucle() {
    MSG msg{};
    BOOL r;
    while ((r = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (r == -1) return 1;
        if (hwnd_ != nullptr && IsDialogMessageW(hwnd_, &msg)) continue;
        // The drawer assistant's keys (Tab, Enter, Esc): a modeless dialog.
        if (HWND activa = GetActiveWindow();
            activa != nullptr && activa != hwnd_ && IsDialogMessageW(activa, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
