#include "platform/win32/Win32Dialogs.h"

#include <string_view>
#include <vector>

#include "platform/ModalAbierto.h"
#include "platform/Titulo.h"
#include "platform/win32/Texto.h"

namespace {

// An in-memory dialog template: the system has no input box of its own.
class Plantilla {
  public:
    void Dialogo(DWORD estilo, DWORD extendido, short cx, short cy, const std::wstring& titulo,
                 int controles) {
        DWord(estilo);
        DWord(extendido);
        Word(static_cast<WORD>(controles));
        Word(0), Word(0), Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
        Word(0);  // no menu
        Word(0);  // default class
        Texto(titulo);
        Word(8);
        Texto(L"MS Shell Dlg");
    }
    void Control(WORD clase, WORD id, DWORD estilo, short x, short y, short cx, short cy,
                 const std::wstring& texto) {
        if (datos_.size() % 2 != 0) datos_.push_back(0);
        DWord(estilo | WS_CHILD | WS_VISIBLE);
        DWord(0);
        Word(static_cast<WORD>(x)), Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
        Word(id);
        Word(0xFFFF), Word(clase);
        Texto(texto);
        Word(0);
    }
    const DLGTEMPLATE* Datos() const { return reinterpret_cast<const DLGTEMPLATE*>(datos_.data()); }

  private:
    void Word(WORD w) { datos_.push_back(w); }
    void DWord(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Texto(const std::wstring& t) {
        for (wchar_t c : t) Word(static_cast<WORD>(c));
        Word(0);
    }
    // DWORD-aligned storage, as the template requires.
    std::vector<WORD> datos_;
};

// Every box opens above all other windows and takes the foreground where the
// system allows it: a failed kick while the window sits in the notification
// area must not hide behind the till program, for the F12 poll waits until
// the box is answered.
constexpr UINT kSobreTodo = MB_TOPMOST | MB_SETFOREGROUND;

// Some systems (Wine among them) leave MB_TOPMOST out: as a box of this
// thread becomes active, it is put above all other windows all the same.
LRESULT CALLBACK AlActivar(int codigo, WPARAM wp, LPARAM lp) {
    if (codigo == HCBT_ACTIVATE) {
        const HWND caja = reinterpret_cast<HWND>(wp);
        wchar_t clase[16] = {};
        if (GetClassNameW(caja, clase, 16) > 0 && std::wstring_view(clase) == L"#32770") {
            SetWindowPos(caja, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    return CallNextHookEx(nullptr, codigo, wp, lp);
}

// The hook above, on this thread, for as long as one box is open.
class CajaEncima {
  public:
    CajaEncima() : gancho_(SetWindowsHookExW(WH_CBT, AlActivar, nullptr, GetCurrentThreadId())) {}
    ~CajaEncima() {
        if (gancho_ != nullptr) UnhookWindowsHookEx(gancho_);
    }
    CajaEncima(const CajaEncima&) = delete;
    CajaEncima& operator=(const CajaEncima&) = delete;

  private:
    HHOOK gancho_;
};

constexpr WORD kClaseBoton = 0x0080;
constexpr WORD kClaseEdit = 0x0081;
constexpr WORD kClaseEstatico = 0x0082;
constexpr WORD kIdTexto = 100;

struct EstadoInput {
    std::wstring defecto;
    std::wstring respuesta;
};

INT_PTR CALLBACK ProcInput(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* estado = reinterpret_cast<EstadoInput*>(GetWindowLongPtrW(dlg, DWLP_USER));
    switch (msg) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dlg, DWLP_USER, lp);
            estado = reinterpret_cast<EstadoInput*>(lp);
            SetDlgItemTextW(dlg, kIdTexto, estado->defecto.c_str());
            HWND edit = GetDlgItem(dlg, kIdTexto);
            SendMessageW(edit, EM_SETSEL, 0, -1);
            SetFocus(edit);
            return FALSE;
        }
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK) {
                const int n = GetWindowTextLengthW(GetDlgItem(dlg, kIdTexto));
                std::wstring texto(static_cast<std::size_t>(n) + 1, L'\0');
                GetDlgItemTextW(dlg, kIdTexto, texto.data(), n + 1);
                texto.resize(static_cast<std::size_t>(n));
                estado->respuesta = texto;
                EndDialog(dlg, IDOK);
                return TRUE;
            }
            if (LOWORD(wp) == IDCANCEL) {
                EndDialog(dlg, IDCANCEL);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

int Win32Dialogs::Mostrar(const std::string& text, UINT estilo) {
    ModalAbierto abierta(abiertos_);
    CajaEncima encima;
    return MessageBoxW(owner_, Ancho(text).c_str(), Ancho(kTituloPrograma).c_str(),
                       estilo | kSobreTodo);
}

void Win32Dialogs::Report(const std::string& text) {
    Mostrar(text, MB_OK);
}
void Win32Dialogs::Stop(const std::string& text) {
    Mostrar(text, MB_OK | MB_ICONSTOP);
}
void Win32Dialogs::Information(const std::string& text) {
    Mostrar(text, MB_OK | MB_ICONINFORMATION);
}

bool Win32Dialogs::AskYesNo(const std::string& text) {
    return Mostrar(text, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

std::string Win32Dialogs::InputBox(const std::string& prompt, const std::string& title,
                                   const std::string& defecto) {
    ModalAbierto abierta(abiertos_);
    Plantilla p;
    // Above every window and in the foreground, as the message boxes.
    p.Dialogo(DS_MODALFRAME | DS_SETFONT | DS_CENTER | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION |
                  WS_SYSMENU,
              WS_EX_TOPMOST, 240, 100, Ancho(title), 4);
    p.Control(kClaseEstatico, 0xFFFF, SS_LEFT, 7, 7, 170, 60, Ancho(prompt));
    p.Control(kClaseBoton, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 183, 7, 50, 14, L"Aceptar");
    p.Control(kClaseBoton, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 183, 25, 50, 14, L"Cancelar");
    p.Control(kClaseEdit, kIdTexto, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 78, 226, 14, L"");
    EstadoInput estado{Ancho(defecto), {}};
    const INT_PTR r = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), p.Datos(), owner_,
                                              ProcInput, reinterpret_cast<LPARAM>(&estado));
    return r == IDOK ? Utf8(estado.respuesta) : std::string();
}
