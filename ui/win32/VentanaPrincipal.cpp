#include "ui/win32/VentanaPrincipal.h"

#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

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

bool EsBoton(const Elemento& e) {
    return e.clase == Clase::Boton || e.clase == Clase::BotonConIcono;
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

    WNDCLASSEXW clase{};
    clase.cbSize = sizeof clase;
    clase.lpfnWndProc = Proc;
    clase.hInstance = instancia_;
    clase.hIcon = iconoVentana_;
    clase.hIconSm = iconoPequeno;
    clase.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    clase.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    clase.lpszClassName = kClaseVentanaPrincipal;
    if (RegisterClassExW(&clase) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw FalloWin32();
    }

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

template <class Evento>
void VentanaPrincipal::Reenviar(std::string_view nombre, Evento&& evento) {
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

HWND VentanaPrincipal::Hijo(Control control) const {
    return hijos_[static_cast<std::size_t>(control)];
}

LRESULT CALLBACK VentanaPrincipal::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* ventana =
            static_cast<VentanaPrincipal*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        ventana->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(ventana));
    }
    auto* ventana = reinterpret_cast<VentanaPrincipal*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (ventana == nullptr) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        ventana->hwnd_ = nullptr;
        ventana->hijos_.fill(nullptr);
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return ventana->Mensaje(msg, wp, lp);
}

LRESULT VentanaPrincipal::Mensaje(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == mensajeTaskbarCreated_ && msg != 0) {
        Reenviar("TaskbarCreated", [](frmAbrirCajon& l) { l.TaskbarCreated(); });
        return 0;
    }
    if (msg == mensajeMostrar_ && msg != 0) {
        // Before its first showing the start-up (and its chooser) is still on
        // screen; the window appears when it ends.
        if (mostrada_) Reenviar("MostrarVentana", [](frmAbrirCajon& l) { l.MostrarVentana(); });
        return 0;
    }
    if (msg == mensajeAbrir_ && msg != 0) return OrdenAbrir();
    for (const auto& [mensaje, manejador] : otros_) {
        if (msg == mensaje && msg != 0) return manejador(wp, lp);
    }
    if (msg == mensajeSalir_ && msg != 0) {
        OrdenSalir();
        return 0;
    }
    switch (msg) {
        case WM_COMMAND:
            Comando(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_TIMER:
            // While a box or the chooser is open the poll waits, or a held F12
            // on a failing port would stack one box per tick.
            if (wp == kIdTimer && logica_ != nullptr && !logica_->ModalAbierto() &&
                (dialogs_ == nullptr || !dialogs_->Abierto())) {
                Reenviar("Timer_Timer", [](frmAbrirCajon& l) { l.Timer_Timer(); });
            }
            return 0;
        case WM_INPUT:
            if (const auto tecla = LeerTecladoCrudo(lp)) {
                Reenviar("EntradaCruda", [&](frmAbrirCajon& l) {
                    l.EntradaCruda(tecla->teclaVirtual, tecla->abajo);
                });
            }
            break;  // the system frees the input in DefWindowProc
        case WM_SIZE:
            if (mostrada_) {
                ++redimensiones_;
                Reenviar("Form_Resize", [](frmAbrirCajon& l) { l.Form_Resize(); });
            }
            return 0;
        case WM_MOUSEMOVE: {
            // Also the notification-area icon's callback, its event code in x.
            const double x = GET_X_LPARAM(lp) * TwipsPorPixel();
            Reenviar("Form_MouseMove", [x](frmAbrirCajon& l) { l.Form_MouseMove(x); });
            return 0;
        }
        case WM_INITMENUPOPUP:
            if (HIWORD(lp) != 0) {  // the system menu: its sensor's item, greyed or not
                bool comprobable = false;
                Reenviar("ComprobarSensor",
                         [&](frmAbrirCajon& l) { comprobable = l.Sensor().Comprobable(); });
                EnableMenuItem(reinterpret_cast<HMENU>(wp), kComandoComprobarSensor,
                               MF_BYCOMMAND | (comprobable ? MF_ENABLED : MF_GRAYED));
            }
            break;
        case WM_SYSCOMMAND:
            if ((wp & 0xFFF0) == kComandoComprobarSensor) {
                Reenviar("ComprobarSensor", [](frmAbrirCajon& l) { l.ComprobarSensor(); });
                return 0;
            }
            if ((wp & 0xFFF0) == kComandoAsistente) {  // as /asistente
                PostMessageW(hwnd_, RegisterWindowMessageW(kMensajeAsistente), 0, 0);
                return 0;
            }
            if ((wp & 0xFFF0) == SC_CLOSE) {
                // The close box, Alt+F4 and the system menu only minimize.
                if (!ConsultarCierre(vbFormControlMenu)) Cerrar();
                return 0;
            }
            break;
        case WM_CLOSE:
            // A WM_CLOSE that did not come from the frame: the task manager.
            if (!ConsultarCierre(vbAppTaskManager)) Cerrar();
            return 0;
        case WM_QUERYENDSESSION:
            finConsultado_ = !ConsultarCierre(vbAppWindows);
            return finConsultado_ ? TRUE : FALSE;
        case WM_ENDSESSION:
            if (wp != FALSE) {
                if (!finConsultado_) ConsultarCierre(vbAppWindows);
                Cerrar();
                if (alTerminarSesion_) alTerminarSesion_();
            }
            finConsultado_ = false;
            return 0;
        case WM_ACTIVATE:
            Activacion(wp);
            return 0;
        case WM_SETFOCUS:
            if (foco_ != nullptr && IsWindow(foco_) && IsWindowEnabled(foco_)) SetFocus(foco_);
            return 0;
        case WM_NEXTDLGCTL: {
            // What the multi-line text box asks for on Tab (it takes all keys,
            // so the dialog navigation never sees that Tab). Only dialogs
            // answer it by themselves.
            HWND destino = LOWORD(lp) != 0 ? reinterpret_cast<HWND>(wp)
                                           : GetNextDlgTabItem(hwnd_, GetFocus(), wp != 0);
            if (destino != nullptr) {
                SetFocus(destino);
                if (SendMessageW(destino, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
                    SendMessageW(destino, EM_SETSEL, 0, -1);
                }
            }
            return 0;
        }
        case DM_GETDEFID: {
            // Enter presses the focused button, as a button with the focus does
            // in a dialog; elsewhere Enter does nothing (no default button).
            HWND foco = GetFocus();
            const Elemento* e = foco != nullptr && IsChild(hwnd_, foco)
                                    ? ElementoPorId(GetDlgCtrlID(foco))
                                    : nullptr;
            return e != nullptr && EsBoton(*e) ? MAKELRESULT(e->id, DC_HASDEFID) : 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return ColorEstatico(msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        case WM_DRAWITEM:
            Dibujar(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_PAINT:
            Pintar();
            return 0;
        case WM_DESTROY:
            terminando_ = true;
            KillTimer(hwnd_, kIdTimer);
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void VentanaPrincipal::Comando(int id, int notificacion) {
    const Elemento* e = ElementoPorId(id);
    if (e == nullptr) return;  // IDOK / IDCANCEL from Enter and Esc: nothing to do
    if (e->id == kIdImageInfo) {
        if (notificacion == STN_CLICKED) {
            Reenviar("ImageInfo_Click", [](frmAbrirCajon& l) { l.ImageInfo_Click(); });
        }
        return;
    }
    if (!e->control) return;
    // A quick second click on an owner-drawn button arrives as a double-click;
    // for these buttons it is just another click.
    const bool clic = notificacion == BN_CLICKED ||
                      (e->clase == Clase::BotonConIcono && notificacion == BN_DOUBLECLICKED);
    switch (*e->control) {
        case Control::Command:
            if (clic) Reenviar("Command_Click", [](frmAbrirCajon& l) { l.Command_Click(); });
            break;
        case Control::Command1:
            if (clic) Reenviar("Command1_Click", [](frmAbrirCajon& l) { l.Command1_Click(); });
            break;
        case Control::cmdEnd:
            if (clic) Reenviar("cmdEnd_Click", [](frmAbrirCajon& l) { l.cmdEnd_Click(); });
            break;
        case Control::cmdSelectPrinter:
            if (clic) {
                Reenviar("cmdSelectPrinter_Click",
                         [](frmAbrirCajon& l) { l.cmdSelectPrinter_Click(); });
            }
            break;
        case Control::CheckPrinter:
            if (clic)
                Reenviar("CheckPrinter_Click", [](frmAbrirCajon& l) { l.CheckPrinter_Click(); });
            break;
        case Control::txtAscii:
            if (notificacion == EN_KILLFOCUS) {
                Reenviar("txtAscii_LostFocus", [](frmAbrirCajon& l) { l.txtAscii_LostFocus(); });
            }
            break;
        case Control::txtPuerto:
            if (notificacion == EN_KILLFOCUS) {
                Reenviar("txtPuerto_LostFocus", [](frmAbrirCajon& l) { l.txtPuerto_LostFocus(); });
            }
            break;
        case Control::lblInfo:
            if (notificacion == STN_CLICKED) {
                Reenviar("lblInfo_Click", [](frmAbrirCajon& l) { l.lblInfo_Click(); });
            }
            break;
        default:
            break;
    }
}

LRESULT VentanaPrincipal::ColorEstatico(UINT msg, HDC dc, HWND control) {
    const Elemento* e = ElementoPorId(GetDlgCtrlID(control));
    if (e != nullptr && e->clase == Clase::Etiqueta) {
        // Transparent labels: the text over the form's own background, in
        // the system's colour for it unless the design gives one (a dark
        // high-contrast theme would otherwise get black on black).
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(
            dc, e->colorTexto != kColorDelSistema ? e->colorTexto : GetSysColor(COLOR_BTNTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    if (e != nullptr && (e->clase == Clase::Texto || e->clase == Clase::TextoVarias)) {
        // A read-only or disabled text box keeps the white of a text box; the
        // system's grey would make the read-only description look disabled.
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    return DefWindowProcW(hwnd_, msg, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(control));
}

void VentanaPrincipal::Pintar() {
    Pintura pintura(hwnd_);
    for (const Elemento& e : DisenoPrincipal()) {
        if (e.clase != Clase::Rectangulo) continue;
        const RectPixeles p = APixeles(e.pos, dpi_);
        const RECT r{p.left, p.top, p.left + p.width, p.top + p.height};
        // One pixel inside the rectangle, no fill.
        FrameRect(pintura.get(), &r, GetSysColorBrush(COLOR_WINDOWTEXT));
    }
}

void VentanaPrincipal::Dibujar(const DRAWITEMSTRUCT& item) {
    if (item.CtlType == ODT_BUTTON) {
        const Elemento* e = ElementoPorId(static_cast<int>(item.CtlID));
        const HICON icono = e != nullptr && e->icono == Icono::A ? iconoA_.get() : iconoB_.get();
        PintarBotonConIcono(item, icono, ladoIcono_);
        return;
    }
    if (item.CtlType == ODT_STATIC && item.CtlID == kIdImageInfo) {
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        if (!imagen_.bitmap) return;
        DcMemoria memoria(item.hDC);
        Seleccion seleccion(memoria.get(), imagen_.bitmap.get());
        BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, imagen_.tamano.cx, imagen_.tamano.cy,
               memoria.get(), 0, 0, SRCCOPY);
    }
}

void VentanaPrincipal::Activacion(WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        // Remember where the focus was, to give it back on return.
        HWND foco = GetFocus();
        if (foco != nullptr && IsChild(hwnd_, foco)) foco_ = foco;
        return;
    }
    if (HIWORD(wp) != 0) return;  // activated while minimized: no focus to give
    HWND destino = foco_ != nullptr && IsWindow(foco_) && IsWindowEnabled(foco_)
                       ? foco_
                       : Hijo(Control::Command);
    SetFocus(destino);
}

LRESULT VentanaPrincipal::OrdenAbrir() {
    // Still starting, already ending, or a box open: F12 would do nothing now.
    if (logica_ == nullptr || !mostrada_ || terminando_ ||
        (dialogs_ != nullptr && dialogs_->Abierto())) {
        return salida::kOcupado;
    }
    LRESULT codigo = salida::kOcupado;
    Reenviar("OrdenAbrir", [&](frmAbrirCajon& l) {
        // The caller hears the answer before a stop box waits for the cashier.
        codigo = l.OrdenAbrir([](int respuesta) { ReplyMessage(respuesta); });
    });
    return codigo;
}

std::optional<SinApertura> VentanaPrincipal::AbrirDesdeWeb(
    const std::string& pagina, const std::function<void(const ResultadoApertura&)>& responder) {
    if (logica_ == nullptr || terminando_) return SinApertura::Cerrando;
    if (!mostrada_) return SinApertura::Arrancando;
    if (dialogs_ != nullptr && dialogs_->Abierto()) return SinApertura::MensajeAbierto;
    std::optional<SinApertura> sin;
    Reenviar("OrdenWeb", [&](frmAbrirCajon& l) { sin = l.OrdenWeb(pagina, responder); });
    return sin;
}

void VentanaPrincipal::OrdenSalir() {
    ReplyMessage(0);
    Reenviar("OrdenSalir", [](frmAbrirCajon& l) { l.OrdenSalir(); });
}

bool VentanaPrincipal::ConsultarCierre(UnloadMode modo) {
    // If the logic fails, a close from the frame stays refused and a close by
    // the system goes ahead: neither should be turned around by a failure.
    bool rechazado = modo == vbFormControlMenu;
    Reenviar("Form_QueryUnload", [&](frmAbrirCajon& l) { rechazado = l.Form_QueryUnload(modo); });
    return rechazado;
}

void VentanaPrincipal::Cerrar() {
    if (terminando_) return;
    Reenviar("Form_Unload", [](frmAbrirCajon& l) { l.Form_Unload(); });
    terminando_ = true;
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

std::string VentanaPrincipal::Texto(Control control) const {
    HWND h = Hijo(control);
    const int n = GetWindowTextLengthW(h);
    std::wstring texto(static_cast<std::size_t>(n) + 1, L'\0');
    const int leidos = GetWindowTextW(h, texto.data(), n + 1);
    texto.resize(static_cast<std::size_t>(leidos > 0 ? leidos : 0));
    return Utf8(texto);
}

void VentanaPrincipal::FijarTexto(Control control, const std::string& texto) {
    SetWindowTextW(Hijo(control), Ancho(texto).c_str());
}

int VentanaPrincipal::Valor(Control control) const {
    return SendMessageW(Hijo(control), BM_GETCHECK, 0, 0) == BST_CHECKED ? kMarcado : kDesmarcado;
}

void VentanaPrincipal::FijarValor(Control control, int valor) {
    // BM_SETCHECK changes the state without a BN_CLICKED: no click reaches the logic.
    SendMessageW(Hijo(control), BM_SETCHECK, valor == kMarcado ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::optional<Control> VentanaPrincipal::ControlConFoco() const {
    HWND foco = GetFocus();
    if (foco == nullptr || !IsChild(hwnd_, foco)) return std::nullopt;
    const Elemento* e = ElementoPorId(GetDlgCtrlID(foco));
    return e != nullptr ? e->control : std::nullopt;
}

bool VentanaPrincipal::Habilitado(Control control) const {
    return IsWindowEnabled(Hijo(control)) != FALSE;
}

void VentanaPrincipal::Habilitar(Control control, bool habilitado) {
    EnableWindow(Hijo(control), habilitado ? TRUE : FALSE);
}

void VentanaPrincipal::FijarConsejo(Control control, const std::string& consejo) {
    HWND hijo = Hijo(control);
    if (consejos_ == nullptr && !consejo.empty()) {
        consejos_ =
            CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instancia_, nullptr);
    }
    if (consejos_ == nullptr || hijo == nullptr) return;
    // A greyed-out control gets no mouse messages: the system gives them to
    // the window below it, so the tip belongs to the window, over the
    // control's place.
    std::wstring texto = Ancho(consejo);
    TTTOOLINFOW herramienta{};
    herramienta.cbSize = TTTOOLINFOW_V2_SIZE;
    herramienta.uFlags = TTF_SUBCLASS;
    herramienta.hwnd = hwnd_;
    herramienta.uId = static_cast<UINT_PTR>(GetDlgCtrlID(hijo));
    GetWindowRect(hijo, &herramienta.rect);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&herramienta.rect), 2);
    herramienta.lpszText = texto.data();
    SendMessageW(consejos_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&herramienta));
    if (!texto.empty())
        SendMessageW(consejos_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&herramienta));
}

void VentanaPrincipal::FijarComprobarSensor(bool habilitado, const std::string& consejo) {
    HMENU menu = GetSystemMenu(hwnd_, FALSE);
    wchar_t texto[160] = {};
    if (menu == nullptr ||
        GetMenuStringW(menu, kComandoComprobarSensor, texto, 80, MF_BYCOMMAND) <= 0)
        return;  // no sensor, no item
    // The tip after a tab, where a menu shows a key: a menu item has no tooltip.
    if (wchar_t* tab = wcschr(texto, L'\t')) *tab = L'\0';
    if (!consejo.empty()) {
        wcscat(texto, L"\t");
        wcsncat(texto, Ancho(consejo).c_str(), 78);
    }
    ModifyMenuW(menu, kComandoComprobarSensor,
                MF_BYCOMMAND | MF_STRING | (habilitado ? MF_ENABLED : MF_GRAYED),
                kComandoComprobarSensor, texto);
}

std::string VentanaPrincipal::Caption() const {
    const int n = GetWindowTextLengthW(hwnd_);
    std::wstring texto(static_cast<std::size_t>(n) + 1, L'\0');
    const int leidos = GetWindowTextW(hwnd_, texto.data(), n + 1);
    texto.resize(static_cast<std::size_t>(leidos > 0 ? leidos : 0));
    return Utf8(texto);
}

int VentanaPrincipal::WindowState() const {
    return IsIconic(hwnd_) ? kVentanaMinimizada : kVentanaNormal;
}

void VentanaPrincipal::FijarWindowState(int estado) {
    ShowWindow(hwnd_, estado == kVentanaMinimizada ? SW_MINIMIZE : SW_RESTORE);
}

void VentanaPrincipal::Ocultar() {
    ShowWindow(hwnd_, SW_HIDE);
}

void VentanaPrincipal::Mostrar() {
    ShowWindow(hwnd_, SW_SHOW);
    if (!IsIconic(hwnd_)) LlevarAPantalla();
}

// A window restored where a removed monitor used to be would come back where
// nobody sees it: it is moved onto the nearest monitor's work area.
void VentanaPrincipal::LlevarAPantalla() {
    RECT r{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetWindowRect(hwnd_, &r) ||
        !GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return;
    }
    const RECT& area = monitor.rcWork;
    const LONG x = std::max(area.left, std::min(r.left, area.right - (r.right - r.left)));
    const LONG y = std::max(area.top, std::min(r.top, area.bottom - (r.bottom - r.top)));
    if (x != r.left || y != r.top) {
        SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void VentanaPrincipal::TraerAlFrente() {
    SetForegroundWindow(hwnd_);
}

void VentanaPrincipal::TerminarPrograma() {
    terminando_ = true;
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    PostQuitMessage(0);
}
