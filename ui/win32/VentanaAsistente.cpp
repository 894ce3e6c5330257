#include "ui/win32/VentanaAsistente.h"

#include <string>

#include "platform/win32/Texto.h"
#include "settings/Conversiones.h"

namespace {

constexpr char kTitulo[] = "Asistente del cajón";
constexpr char kMenu[] = "Asistente del cajón…";
constexpr int kIdTexto = 10;
constexpr int kIdLista = 11;
constexpr int kIdOtro = 12;
constexpr UINT kRespuesta = WM_APP + 1;
constexpr UINT_PTR kIdTimer = 1;

constexpr char kTextoDonde[] =
    "Paso 1 de 3. ¿De dónde cuelga el cajón?\r\n\r\nElija la impresora o el puerto (la "
    "primera es la más probable), cierre el cajón y pulse Siguiente: el asistente probará "
    "las órdenes de apertura una a una.";
constexpr char kTextoNinguna[] =
    "Ninguna orden ha abierto el cajón. Compruebe:\r\n"
    "- que el cable del cajón está en la toma del cajón de la impresora, no en la del "
    "teléfono, que es igual;\r\n"
    "- que el cajón no está cerrado con llave;\r\n"
    "- que el cajón es de la tensión de la impresora (24 V o 12 V);\r\n"
    "- el controlador de la impresora: elija la impresora en la lista, no su puerto.\r\n\r\n"
    "No se ha guardado nada.";
constexpr char kTextoConSensor[] = "La impresora dice si el cajón se abre: no toque nada.";
constexpr char kTextoSinSensor[] = "Después le preguntará si el cajón se ha abierto.";
constexpr char kTextoProbarOtraVez[] =
    ".\r\n\r\nCiérrelo. Para asegurarse, pulse «Probar otra vez»; para guardarla, Siguiente.";
constexpr char kTextoGuardar[] = "\r\n\r\nGuardar escribe en el archivo de parámetros:";
constexpr char kTextoBloqueado[] =
    "\r\n\r\nNo se guarda nada: el archivo está bloqueado (KovraBloqueado) o el "
    "administrador fija estos valores. Estas son las líneas que debe poner:";

std::string Orden(const PruebasCajon& p) {
    const OrdenCajon& o = p.Orden();
    return Unir(
        {"«", o.nombre, o.codigos.empty() ? "»" : "» (", o.codigos, o.codigos.empty() ? "" : ")"});
}

std::string Lineas(const HallazgoCajon& h) {
    std::string texto;
    for (const auto& [clave, valor] : LineasHallazgo(h)) texto += Unir({"\r\n", clave, "=", valor});
    return texto;
}

// "2 de 7: «ESC/POS pin 5» (27 112 1 25 250)"
std::string Prueba(const PruebasCajon& p) {
    return Unir({std::to_string(p.Numero()), " de ", std::to_string(p.Total()), ": ", Orden(p)});
}

}  // namespace

void AnadirAsistente(HWND principal) {
    AppendMenuW(GetSystemMenu(principal, FALSE), MF_STRING, kComandoAsistente,
                Ancho(kMenu).c_str());
}

VentanaAsistente::~VentanaAsistente() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    Esperar();
}

void VentanaAsistente::Abrir() {
    if (pateando_) return;  // closed during its kick: the tries are still in use
    if (hwnd_ != nullptr) {
        ShowWindow(hwnd_, SW_RESTORE);
        SetForegroundWindow(hwnd_);
        return;
    }
    // A question of the last opening may still be under way.
    Esperar();
    pruebas_.reset();
    const AjustesCajon ahora{
        ValorNumerico(s_.parametros.VRXGetParametro(claves::KovraTipo, defecto::KovraTipo)) == 1.0,
        s_.parametros.VRXGetParametro(claves::KovraPuerto, defecto::KovraPuerto),
        s_.parametros.VRXGetParametro(claves::PrinterDeviceName, "")};
    candidatos_ = CandidatosCajon(s_.inventario, ahora);
    // An empty dialog: the controls are made at WM_INITDIALOG.
    struct alignas(4) {
        DLGTEMPLATE t;
        WORD menu, clase, titulo;
    } plantilla{
        {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_APPWINDOW, 0, 0, 0, 0, 0},
        0,
        0,
        0};
    CreateDialogIndirectParamW(instancia_, &plantilla.t, nullptr, &VentanaAsistente::Proc,
                               reinterpret_cast<LPARAM>(this));
    if (hwnd_ == nullptr) return;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

INT_PTR CALLBACK VentanaAsistente::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        reinterpret_cast<VentanaAsistente*>(lp)->hwnd_ = hwnd;
    }
    auto* v = reinterpret_cast<VentanaAsistente*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (v == nullptr) return FALSE;
    try {
        return v->Mensaje(msg, wp, lp);
    } catch (...) {
        // Nothing may unwind through the system's message dispatch.
        return FALSE;
    }
}

INT_PTR VentanaAsistente::Mensaje(UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowTextW(hwnd_, Ancho(kTitulo).c_str());
            CrearControles();
            Mostrar(Pagina::Donde);
            return FALSE;  // the focus is set
        case WM_COMMAND:
            if (HIWORD(wp) != BN_CLICKED) {
                // A double click on a candidate goes on with it.
                if (LOWORD(wp) == kIdLista && HIWORD(wp) == LBN_DBLCLK) Adelante();
                return TRUE;
            }
            if (LOWORD(wp) == IDOK) Adelante();
            if (LOWORD(wp) == kIdOtro) Otro();
            if (LOWORD(wp) == IDCANCEL) DestroyWindow(hwnd_);
            return TRUE;
        case WM_TIMER:
        case kRespuesta:
            if (msg == kRespuesta && hilo_ != nullptr) {
                Esperar();
                if (pruebas_) pruebas_->Respuesta(respuesta_);
            }
            Avanzar();
            return TRUE;
        case WM_DESTROY:
            KillTimer(hwnd_, kIdTimer);
            // The tries stay: a kick under way still holds them.
            hwnd_ = nullptr;
            return TRUE;
        default:
            return FALSE;
    }
}

void VentanaAsistente::CrearControles() {
    HDC pantalla = GetDC(nullptr);
    const int dpi = GetDeviceCaps(pantalla, LOGPIXELSY);
    ReleaseDC(nullptr, pantalla);
    const auto px = [dpi](int n) { return MulDiv(n, dpi, 96); };
    RECT r{0, 0, px(520), px(330)};
    AdjustWindowRectEx(&r, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_APPWINDOW);
    const int ancho = r.right - r.left;
    const int alto = r.bottom - r.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - ancho) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - alto) / 2, ancho, alto, SWP_NOZORDER);
    const auto hijo = [&](const wchar_t* clase, DWORD estilo, int id, int x, int y, int w, int h) {
        HWND c = CreateWindowExW(0, clase, L"", WS_CHILD | WS_VISIBLE | estilo, px(x), px(y), px(w),
                                 px(h), hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 instancia_, nullptr);
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
        return c;
    };
    texto_ = hijo(L"STATIC", SS_NOPREFIX, kIdTexto, 12, 12, 496, 266);
    lista_ = hijo(L"LISTBOX", LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, kIdLista, 12, 96,
                  496, 180);
    otro_ = hijo(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, kIdOtro, 186, 292, 140, 26);
    adelante_ = hijo(L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 334, 292, 90, 26);
    cancelar_ = hijo(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 432, 292, 76, 26);
    for (const auto& c : candidatos_) {
        SendMessageW(lista_, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Ancho(TextoCandidato(c)).c_str()));
    }
    SendMessageW(lista_, LB_SETCURSEL, 0, 0);
}

HallazgoCajon VentanaAsistente::Hallazgo() const {
    return {candidatos_[elegido_], pruebas_->Orden(), pruebas_->Modo()};
}

void VentanaAsistente::Mostrar(Pagina pagina) {
    if (pagina == pagina_ && pagina != Pagina::Probando && pagina != Pagina::Donde) return;
    pagina_ = pagina;
    std::string texto;
    const char* adelante = "Siguiente";
    const char* otro = "";
    bool cerrar = false;
    switch (pagina) {
        case Pagina::Donde:
            texto = kTextoDonde;
            break;
        case Pagina::Probando:
            texto = Unir({"Paso 2 de 3. Probando la orden ", Prueba(*pruebas_), "…\r\n\r\n",
                          pruebas_->Destino() ? kTextoConSensor : kTextoSinSensor});
            break;
        case Pagina::Cajero:
            texto = Unir({"¿Se ha abierto el cajón?\r\n\r\nOrden ", Prueba(*pruebas_), "."});
            adelante = "No, probar otra forma";
            otro = "Sí";
            break;
        case Pagina::Abierto:
            texto =
                Unir({!pruebas_->Repetido()    ? "El cajón se ha abierto con la orden "
                      : pruebas_->Confirmado() ? "Se ha vuelto a abrir con la orden "
                                               : "Esta vez no se ha visto abrirse con la orden ",
                      Orden(*pruebas_),
                      !pruebas_->Repetido()    ? kTextoProbarOtraVez
                      : pruebas_->Confirmado() ? "."
                                               : ": ¿estaba cerrado el cajón?"});
            if (!pruebas_->Repetido()) otro = "Probar otra vez";
            break;
        case Pagina::Ninguna:
            texto = kTextoNinguna;
            adelante = "Cerrar";
            otro = "Atrás";
            cerrar = true;
            break;
        case Pagina::Guardar: {
            const bool puede = SePuedeGuardar(s_.parametros, Hallazgo());
            texto = Unir({"Paso 3 de 3. Se ha encontrado:\r\n\r\n", TextoHallazgo(Hallazgo()),
                          puede ? kTextoGuardar : kTextoBloqueado, Lineas(Hallazgo())});
            adelante = puede ? "Guardar" : "Cerrar";
            cerrar = !puede;
            break;
        }
    }
    SetWindowTextW(texto_, Ancho(texto).c_str());
    SetWindowTextW(adelante_, Ancho(adelante).c_str());
    SetWindowTextW(otro_, Ancho(otro).c_str());
    SetWindowTextW(cancelar_, cerrar ? L"Salir" : L"Cancelar");
    ShowWindow(lista_, pagina == Pagina::Donde ? SW_SHOW : SW_HIDE);
    ShowWindow(otro_, *otro != '\0' ? SW_SHOW : SW_HIDE);
    const bool probando = pagina == Pagina::Probando;
    EnableWindow(adelante_, !probando && !(pagina == Pagina::Donde && candidatos_.empty()));
    SendMessageW(hwnd_, DM_SETDEFID, IDOK, 0);
    // Enter goes forward: from the list through the default button, or on it.
    HWND foco = probando ? hwnd_ : pagina == Pagina::Donde ? lista_ : adelante_;
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(foco), TRUE);
}

void VentanaAsistente::Empezar() {
    const LRESULT i = SendMessageW(lista_, LB_GETCURSEL, 0, 0);
    elegido_ = i >= 0 && static_cast<std::size_t>(i) < candidatos_.size()
                   ? static_cast<std::size_t>(i)
                   : 0;
    const CandidatoCajon& c = candidatos_[elegido_];
    // A printer's queue never brings an answer back.
    pruebas_.emplace(OrdenesPara(c),
                     c.ruta == RutaCajon::Raw ? std::nullopt : DestinoDelPuerto(c.puerto));
    pruebas_->OtraPatada(ultimaPatada_);
    Mostrar(Pagina::Probando);
    Avanzar();
}

void VentanaAsistente::Adelante() {
    switch (pagina_) {
        case Pagina::Donde:
            if (!candidatos_.empty()) Empezar();
            return;
        case Pagina::Cajero:
            if (!pruebas_->Contestar(false, std::chrono::steady_clock::now())) return;
            Mostrar(Pagina::Probando);
            Avanzar();
            return;
        case Pagina::Abierto:
            Mostrar(Pagina::Guardar);
            return;
        case Pagina::Guardar:
            if (GuardarHallazgo(s_.parametros, Hallazgo()) && alGuardar) alGuardar();
            break;
        case Pagina::Probando:
            return;
        case Pagina::Ninguna:
            break;
    }
    DestroyWindow(hwnd_);
}

void VentanaAsistente::Otro() {
    if (pagina_ == Pagina::Cajero && !pruebas_->Contestar(true, std::chrono::steady_clock::now()))
        return;
    if (pagina_ == Pagina::Abierto) pruebas_->Repetir();
    if (pagina_ == Pagina::Ninguna) {
        Mostrar(Pagina::Donde);
        return;
    }
    Avanzar();
}

void VentanaAsistente::Avanzar() {
    using Paso = PruebasCajon::Paso;
    // Every 100 ms while the tries run, also while the cashier is asked.
    if (hwnd_ != nullptr) SetTimer(hwnd_, kIdTimer, 100, nullptr);
    // Another trigger's kick, under way or made since the last look.
    if (!pateando_ && (s_.apertura.Ocupado() || s_.apertura.Patadas() != patadasVistas_)) {
        patadasVistas_ = s_.apertura.Patadas();
        ultimaPatada_ = std::chrono::steady_clock::now();
        if (pruebas_) pruebas_->OtraPatada(ultimaPatada_);
    }
    while (pruebas_ && hwnd_ != nullptr) {
        const Paso paso = pruebas_->Tic(std::chrono::steady_clock::now());
        switch (paso) {
            case Paso::Esperar:
                return;
            case Paso::Preguntar:
                Preguntar(*pruebas_->Destino());
                return;
            case Paso::Patear: {
                Mostrar(Pagina::Probando);
                pateando_ = true;
                const auto resultado =
                    PatearPrueba(s_.apertura, s_.impresora, candidatos_[elegido_],
                                 pruebas_->Orden(), s_.dialogs);
                pateando_ = false;
                patadasVistas_ = s_.apertura.Patadas();
                ultimaPatada_ = std::chrono::steady_clock::now();
                pruebas_->Pateado(resultado, ultimaPatada_);
                break;
            }
            default:
                if (paso != Paso::Cajero) KillTimer(hwnd_, kIdTimer);
                Mostrar(paso == Paso::Cajero    ? Pagina::Cajero
                        : paso == Paso::Abierto ? Pagina::Abierto
                        : paso == Paso::Ninguna ? Pagina::Ninguna
                                                : Pagina::Donde);
                return;
        }
    }
}

void VentanaAsistente::Esperar() {
    if (hilo_ == nullptr) return;
    WaitForSingleObject(hilo_, INFINITE);
    CloseHandle(hilo_);
    hilo_ = nullptr;
}

DWORD WINAPI VentanaAsistente::Hilo(LPVOID asistente) {
    auto* v = static_cast<VentanaAsistente*>(asistente);
    v->respuesta_ = PreguntarEstado(v->s_.consulta, v->destino_);
    PostMessageW(v->ventanaHilo_, kRespuesta, 0, 0);
    return 0;
}

void VentanaAsistente::Preguntar(const DestinoEstado& destino) {
    Esperar();
    destino_ = destino;
    ventanaHilo_ = hwnd_;
    hilo_ = CreateThread(nullptr, 0, &VentanaAsistente::Hilo, this, 0, nullptr);
    // No thread: no answer, as from a printer that says nothing.
    if (hilo_ == nullptr) pruebas_->Respuesta({});
}
