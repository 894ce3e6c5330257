#include "ui/win32/VentanaPrinters.h"

#include <cwchar>
#include <vector>

#include "platform/win32/ClaseVentana.h"
#include "platform/win32/ErroresWin32.h"
#include "platform/win32/ObjetosGdi.h"
#include "platform/win32/Texto.h"
#include "platform/win32/Win32Dialogs.h"
#include "settings/InformeError.h"
#include "ui/VistaPrinters.h"
#include "ui/frmPrinters.h"
#include "ui/win32/DisenoPrincipal.h"

namespace {

constexpr wchar_t kClase[] = L"AbrirCajon.frmPrinters";
constexpr DWORD kEstilo = WS_OVERLAPPEDWINDOW;
constexpr DWORD kEstiloExtendido = WS_EX_CONTROLPARENT;
constexpr int kAnchoClienteTwips = 6000;
constexpr int kAltoClienteTwips = 6240;
constexpr int kIdAceptar = 100;  // tab index 0
constexpr int kIdLista = 101;    // tab index 1
constexpr RectTwips kPosAceptar{4590, 5670, 1275, 495};
constexpr RectTwips kPosLista{30, 90, 5925, 5325};

// The chooser's window for one showing; it is the view of its logic.
class Dialogo final : public VistaPrinters {
  public:
    explicit Dialogo(HINSTANCE instancia) : instancia_(instancia) {}
    ~Dialogo() override {
        logica_ = nullptr;
        HabilitarOtras();
        if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    }
    Dialogo(const Dialogo&) = delete;
    Dialogo& operator=(const Dialogo&) = delete;

    void Crear();
    void Conectar(frmPrinters& logica) { logica_ = &logica; }
    Win32Dialogs& Cajas() { return cajas_; }
    // Shows the window and runs its modal loop until it closes.
    void MostrarModal();

    void AgregarFila(const std::string& texto) override {
        SendMessageW(Lista(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Ancho(texto).c_str()));
    }
    void SeleccionarFila(int indice) override { SendMessageW(Lista(), LB_SETCURSEL, indice, 0); }
    int FilaSeleccionada() const override {
        const LRESULT fila = SendMessageW(Lista(), LB_GETCURSEL, 0, 0);
        return fila == LB_ERR ? -1 : static_cast<int>(fila);
    }
    void Cerrar() override;

  private:
    friend LRESULT CALLBACK ::ProcedimientoDe<Dialogo>(HWND, UINT, WPARAM, LPARAM);
    void AlNacer(HWND hwnd) { hwnd_ = hwnd; }
    void AlMorir();
    LRESULT Mensaje(UINT msg, WPARAM wp, LPARAM lp);
    HWND Lista() const { return GetDlgItem(hwnd_, kIdLista); }
    void DeshabilitarOtras();
    void HabilitarOtras();

    HINSTANCE instancia_;
    HWND hwnd_ = nullptr;
    FuenteGdi fuente_;
    frmPrinters* logica_ = nullptr;
    Win32Dialogs cajas_;
    std::vector<HWND> deshabilitadas_;
    HWND foco_ = nullptr;
    bool cerrado_ = false;
};

void Dialogo::Crear() {
    // No icon of its own: the system's default one.
    RegistrarClaseVentana(instancia_, kClase, ProcedimientoDe<Dialogo>);

    int dpi = 96;
    {
        DcVentana pantalla(nullptr);
        if (pantalla.get() != nullptr) dpi = GetDeviceCaps(pantalla.get(), LOGPIXELSX);
    }
    RECT r{0, 0, Pixeles(kAnchoClienteTwips, dpi), Pixeles(kAltoClienteTwips, dpi)};
    AdjustWindowRectEx(&r, kEstilo, FALSE, kEstiloExtendido);
    // No owner: the chooser is a top-level window of its own, at the place
    // the system gives new windows.
    if (CreateWindowExW(kEstiloExtendido, kClase, Ancho(kCaptionPrinters).c_str(), kEstilo,
                        CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr,
                        nullptr, instancia_, this) == nullptr) {
        throw FalloWin32();
    }
    cajas_.SetOwner(hwnd_);

    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(825, dpi, 7200);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    wcsncpy(lf.lfFaceName, L"MS Shell Dlg", LF_FACESIZE - 1);
    fuente_ = FuenteGdi(CreateFontIndirectW(&lf));
    if (!fuente_) throw FalloWin32();

    struct Hijo {
        const wchar_t* clase;
        int id;
        std::string texto;
        DWORD estilo;
        DWORD extendido;
        RectTwips pos;
    };
    // Created in tab order: "Aceptar" first, so it has the focus at open.
    const Hijo hijos[] = {
        {L"Button", kIdAceptar, kCaptionAceptar, BS_PUSHBUTTON | WS_TABSTOP, 0, kPosAceptar},
        // Not sorted: row i must stay installed printer i. No integral height:
        // the list keeps exactly its designed size.
        {L"ListBox", kIdLista, "", WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE,
         kPosLista},
    };
    for (const Hijo& h : hijos) {
        const RectPixeles p = APixeles(h.pos, dpi);
        HWND control = CreateWindowExW(
            h.extendido, h.clase, Ancho(h.texto).c_str(), WS_CHILD | WS_VISIBLE | h.estilo, p.left,
            p.top, p.width, p.height, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(h.id)),
            instancia_, nullptr);
        if (control == nullptr) throw FalloWin32();
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fuente_.get()), FALSE);
    }
    foco_ = GetDlgItem(hwnd_, kIdAceptar);
}

BOOL CALLBACK Recoger(HWND h, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

void Dialogo::DeshabilitarOtras() {
    std::vector<HWND> propias;
    EnumThreadWindows(GetCurrentThreadId(), Recoger, reinterpret_cast<LPARAM>(&propias));
    for (HWND h : propias) {
        if (h == hwnd_ || !IsWindowEnabled(h)) continue;
        EnableWindow(h, FALSE);
        deshabilitadas_.push_back(h);
    }
}

void Dialogo::HabilitarOtras() {
    for (HWND h : deshabilitadas_) {
        if (IsWindow(h)) EnableWindow(h, TRUE);
    }
    deshabilitadas_.clear();
}

void Dialogo::MostrarModal() {
    DeshabilitarOtras();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    SetFocus(GetDlgItem(hwnd_, kIdAceptar));
    MSG msg{};
    while (!cerrado_) {
        const BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r == 0) {
            // The program is ending: leave, and let the outer loop see it too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (r == -1) break;
        if (hwnd_ != nullptr && IsDialogMessageW(hwnd_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    HabilitarOtras();
}

void Dialogo::Cerrar() {
    // The others first, so that the system activates one of them rather than
    // some other program's window when this one goes.
    HabilitarOtras();
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void Dialogo::AlMorir() {
    hwnd_ = nullptr;
    cerrado_ = true;
    // A close that came in through a sent message leaves the modal loop
    // asleep in GetMessage: wake it so it sees the window is gone.
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

LRESULT Dialogo::Mensaje(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wp) == kIdAceptar && HIWORD(wp) == BN_CLICKED && logica_ != nullptr) {
                frmPrinters& logica = *logica_;
                try {
                    ProcedimientoGuardado(cajas_, "cmdAceptar_Click",
                                          [&](Linea&) { logica.cmdAceptar_Click(); });
                } catch (...) {
                    // Only the report box can fail here; nothing may unwind
                    // through the system's message dispatch.
                }
            }
            return 0;
        case WM_CLOSE:
            // The close box just closes: current printer and name stay as they were.
            Cerrar();
            return 0;
        case DM_GETDEFID:
            // Enter presses "Aceptar" only while it has the focus: it is not
            // the default button.
            return GetFocus() == GetDlgItem(hwnd_, kIdAceptar)
                       ? MAKELRESULT(kIdAceptar, DC_HASDEFID)
                       : 0;
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND foco = GetFocus();
                if (foco != nullptr && IsChild(hwnd_, foco)) foco_ = foco;
            } else if (HIWORD(wp) == 0 && foco_ != nullptr && IsWindow(foco_)) {
                SetFocus(foco_);
            }
            return 0;
        default:
            return DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

}  // namespace

void VentanaPrinters::Mostrar(std::string& SelectedPrinterName) {
    Dialogo dialogo(instancia_);
    dialogo.Crear();
    frmPrinters logica(impresora_, dialogo.Cajas(), dialogo, SelectedPrinterName);
    dialogo.Conectar(logica);
    logica.Form_Load();  // a failure goes to our caller; the destructor removes the window
    dialogo.MostrarModal();
    SelectedPrinterName = logica.SelectedPrinterName();
}
