#include "ui/win32/VentanaPrincipal.h"

#include "platform/win32/Texto.h"
#include "resources/Recursos.h"

namespace {

constexpr wchar_t kClase[] = L"AbrirCajon.frmAbrirCajon";
constexpr int kAnchoTwips = 10215;
constexpr int kAltoTwips = 7920;

int Pixeles(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

}  // namespace

bool VentanaPrincipal::Crear(HINSTANCE instancia, int mostrar) {
    WNDCLASSEXW clase{};
    clase.cbSize = sizeof clase;
    clase.lpfnWndProc = Proc;
    clase.hInstance = instancia;
    clase.hIcon = LoadIconW(instancia, MAKEINTRESOURCEW(IDI_ABRIRCAJON));
    clase.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    clase.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    clase.lpszClassName = kClase;
    RegisterClassExW(&clase);

    HDC pantalla = GetDC(nullptr);
    const int dpi = GetDeviceCaps(pantalla, LOGPIXELSX);
    ReleaseDC(nullptr, pantalla);
    RECT r{0, 0, Pixeles(kAnchoTwips, dpi), Pixeles(kAltoTwips, dpi)};
    const DWORD estilo = WS_OVERLAPPEDWINDOW;
    AdjustWindowRectEx(&r, estilo, FALSE, 0);
    const int ancho = r.right - r.left;
    const int alto = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - ancho) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - alto) / 2;

    hwnd_ = CreateWindowExW(0, kClase, Ancho("Apertura cajón").c_str(), estilo, x, y, ancho, alto,
                            nullptr, nullptr, instancia, this);
    if (hwnd_ == nullptr) return false;
    ShowWindow(hwnd_, mostrar);
    UpdateWindow(hwnd_);
    return true;
}

LRESULT CALLBACK VentanaPrincipal::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* ventana = static_cast<VentanaPrincipal*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        ventana->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(ventana));
    }
    auto* ventana = reinterpret_cast<VentanaPrincipal*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return ventana != nullptr ? ventana->Mensaje(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT VentanaPrincipal::Mensaje(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ENDSESSION:
            if (wp != FALSE) DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd_, msg, wp, lp);
    }
}
