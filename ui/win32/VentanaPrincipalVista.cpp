// The main window as the logic sees it (VistaPrincipal): the controls'
// texts, values, states and tips, the window's state, and how it is painted.
#include "ui/win32/VentanaPrincipal.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/Texto.h"
#include "ui/win32/AvisosBandeja.h"
#include "ui/win32/BotonConIcono.h"

HWND VentanaPrincipal::Hijo(Control control) const {
    return hijos_[static_cast<std::size_t>(control)];
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
