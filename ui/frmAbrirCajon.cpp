#include "ui/frmAbrirCajon.h"

#include <algorithm>
#include <utility>

#include "drawer/SalidaImpresora.h"
#include "ui/Ordenes.h"

namespace {

constexpr const char* kDefectoPuerto = defecto::KovraPuerto;
constexpr const char* kDefectoAscii = defecto::KovraASCII;
constexpr const char* kDefectoTipo = defecto::KovraTipo;
constexpr const char* kDefectoTecla = "F12";

// The box at start for a KovraTecla that names no function key.
std::string TextoTeclaNoValida(const std::string& valor) {
    return "El valor de KovraTecla no es válido: \"" + ValorEnCaja(valor) +
           "\" (debe ser una tecla de F1 a F24). Se usa F12.";
}

}  // namespace

frmAbrirCajon::frmAbrirCajon(VistaPrincipal& vista, ServiciosPrincipal servicios)
    : vista_(vista),
      servicios_(std::move(servicios)),
      parametros_(servicios_.perfil, dialogs_, servicios_.politicas) {
    parametros_.FijarInstalacionDelEquipo(servicios_.permisosEquipo);
    servicios_.apertura.FijarSensor(&sensor_);
}

frmAbrirCajon::~frmAbrirCajon() {
    servicios_.apertura.FijarSensor(nullptr);
}

void frmAbrirCajon::FijarIdentidad(std::uintptr_t hWnd, std::uintptr_t hIcon, bool midePixeles,
                                   double twipsPorPixel) {
    icono_.FijarIdentidad(hWnd, hIcon);
    midePixeles_ = midePixeles;
    twipsPorPixel_ = twipsPorPixel > 0 ? twipsPorPixel : 15;
}

void frmAbrirCajon::Form_Load() {
    ProcedimientoGuardado(dialogs_, "Form_Load", [&](Linea& linea) {
        linea = 10;
        parametros_.FijarRuta(RutaParametros(servicios_.carpetaPrograma));
        vista_.FijarTexto(Control::lblIni, parametros_.Ruta());
        LeerBloqueo();
        // The key first: a later step that fails leaves it as the shop chose.
        linea = 11;
        LeerTecla();
        sensor_.Leer();
        politica_.sensor = parametros_.PorPolitica(claves::KovraSensor);
        linea = 12;
        const auto puerto = parametros_.Leer(claves::KovraPuerto, kDefectoPuerto);
        politica_.puerto = puerto.porPolitica;
        vista_.FijarTexto(Control::txtPuerto, puerto.valor);
        linea = 14;
        const auto ascii = parametros_.Leer(claves::KovraASCII, kDefectoAscii);
        politica_.ascii = ascii.porPolitica;
        vista_.FijarTexto(Control::txtAscii, ascii.valor);
        // Locked by the administrator on the port route, the printer is not
        // used and a choice could not be kept: the chooser would come back
        // at every log-on.
        const bool preguntar = !politica_.bloqueo || ValorNumerico(parametros_.VRXGetParametro(
                                                         claves::KovraTipo, kDefectoTipo)) == 1.0;
        // The printer choice in a guard of its own: a till whose drawer hangs
        // off a port may have no printer at all, or a spooler that does not
        // answer yet at log-on; its box is shown and the rest of the start-up
        // still applies KovraTipo, or every kick would take the printer route.
        ProcedimientoGuardado(dialogs_, "Form_Load", [&](Linea& paso) {
            paso = 14;
            ElegirImpresora(
                false, parametros_, servicios_.impresora, selector_,
                [&](const std::string& t) { vista_.FijarTexto(Control::CheckPrinter, t); },
                preguntar);
        });
        politica_.impresora = parametros_.PorPolitica(claves::PrinterDeviceName);
        linea = 16;
        vista_.FijarTexto(Control::txtPrinter,
                          TextoComandosPrinter(parametros_, servicios_.separadorDecimal));
        linea = 20;
        const auto tipo = parametros_.Leer(claves::KovraTipo, kDefectoTipo);
        politica_.tipo = tipo.porPolitica;
        linea = 30;
        if (ValorNumerico(tipo.valor) == 1.0) {
            linea = 40;
            FijarCheckPrinter(kMarcado);
        } else {
            linea = 60;
            FijarCheckPrinter(kDesmarcado);
        }
        linea = 80;
        EstadoControles();
    });
    // Also after a failed step: a box that the cashier could edit would
    // send the next kick elsewhere than the administrator said.
    MostrarPolitica();
}

// Locked by policy, or, in the machine's copy, by a file this user cannot
// write: an edit would not be kept.
void frmAbrirCajon::LeerBloqueo() {
    const auto bloqueo = parametros_.Politica(claves::KovraBloqueado);
    politica_.bloqueo =
        (bloqueo && ValorNumerico(*bloqueo) != 0.0) || !parametros_.SePuedeEscribir();
}

void frmAbrirCajon::PoliticaCambiada() {
    ProcedimientoGuardado(dialogs_, "PoliticaCambiada", [&](Linea&) {
        LeerBloqueo();
        politica_.puerto = parametros_.PorPolitica(claves::KovraPuerto);
        politica_.ascii = parametros_.PorPolitica(claves::KovraASCII);
        politica_.tipo = parametros_.PorPolitica(claves::KovraTipo);
        politica_.impresora = parametros_.PorPolitica(claves::PrinterDeviceName);
        politica_.sensor = parametros_.PorPolitica(claves::KovraSensor);
        RecargarAjustes();
        EstadoControles();
    });
    MostrarPolitica();
}

void frmAbrirCajon::MostrarPolitica() {
    politica_.Mostrar(vista_);
}

// Read once, at start; the program never writes it. Absent or empty is F12.
void frmAbrirCajon::LeerTecla() {
    const std::string valor = parametros_.VRXGetParametro(claves::KovraTecla, kDefectoTecla);
    const auto tecla = LeerTeclaFuncion(valor.empty() ? kDefectoTecla : valor);
    if (!tecla) dialogs_.Information(TextoTeclaNoValida(valor));
    tecla_.Fijar(tecla.value_or(TeclaFuncion{kTeclaF12, kDefectoTecla}));
    vista_.FijarTexto(Control::Command, tecla_.Tecla().nombre);
}

void frmAbrirCajon::EstadoControles() {
    ProcedimientoGuardado(dialogs_, "EstadoControles", [&](Linea& linea) {
        linea = 10;
        vista_.Habilitar(Control::txtPuerto, vista_.Valor(Control::CheckPrinter) != kMarcado);
        linea = 20;
        vista_.Habilitar(Control::txtAscii, vista_.Habilitado(Control::txtPuerto));
        linea = 30;
        vista_.Habilitar(Control::CheckConPuntoyComa, vista_.Habilitado(Control::txtAscii));
        linea = 40;
        vista_.Habilitar(Control::CheckTodoJunto, vista_.Habilitado(Control::txtAscii));
        linea = 50;
        vista_.Habilitar(Control::txtPrinter, !vista_.Habilitado(Control::txtPuerto));
    });
}

// A change made by the program runs the click handling, as a user's click does,
// but only when the state really changes.
void frmAbrirCajon::FijarCheckPrinter(int valor) {
    if (vista_.Valor(Control::CheckPrinter) == valor) return;
    vista_.FijarValor(Control::CheckPrinter, valor);
    CheckPrinter_Click();
}

void frmAbrirCajon::CheckPrinter_Click() {
    EstadoControles();
    MostrarPolitica();
    parametros_.VRXSetParametro(claves::KovraTipo,
                                std::to_string(vista_.Valor(Control::CheckPrinter)));
}

void frmAbrirCajon::txtAscii_LostFocus() {
    parametros_.VRXSetParametro(claves::KovraASCII, vista_.Texto(Control::txtAscii));
}

void frmAbrirCajon::txtPuerto_LostFocus() {
    parametros_.VRXSetParametro(claves::KovraPuerto, vista_.Texto(Control::txtPuerto));
}

std::optional<ResultadoApertura> frmAbrirCajon::Kick(
    OrigenApertura origen, const std::function<void(const ResultadoApertura&)>& antesDeLaCaja,
    const std::string& pagina) {
    // The window's own boxes: a failure's box counts as open, as any other.
    return servicios_.apertura.Patear(
        {origen, origen == OrigenApertura::Web ? pagina : tecla_.Tecla().nombre, this,
         antesDeLaCaja, &dialogs_});
}

bool frmAbrirCajon::VeTodaPulsacion() const {
    return tecla_.VeTodaPulsacion();
}

void frmAbrirCajon::Timer_Timer() {
    if (ModalAbierto()) return;
    if (tecla_.Tick(servicios_.teclas)) Kick(OrigenApertura::Tecla);
}

void frmAbrirCajon::EntradaCruda(int teclaVirtual, bool abajo) {
    tecla_.EntradaCruda(teclaVirtual, abajo, ModalAbierto());
}

void frmAbrirCajon::Command_Click() {
    Kick(OrigenApertura::Boton);
}

void frmAbrirCajon::Command1_Click() {
    vista_.FijarWindowState(kVentanaMinimizada);
}

int frmAbrirCajon::OrdenAbrir(const std::function<void(int)>& responder) {
    if (ModalAbierto()) {
        if (responder) responder(salida::kOcupado);
        return salida::kOcupado;
    }
    const auto resultado = Kick(OrigenApertura::OrdenAbrir, [&](const ResultadoApertura& r) {
        if (responder) responder(CodigoDeSalida(r));
    });
    if (!resultado && responder) responder(salida::kOcupado);
    return resultado ? CodigoDeSalida(*resultado) : salida::kOcupado;
}

std::optional<SinApertura> frmAbrirCajon::OrdenWeb(
    const std::string& pagina, const std::function<void(const ResultadoApertura&)>& responder) {
    if (ModalAbierto()) return SinApertura::MensajeAbierto;
    if (!Kick(OrigenApertura::Web, responder, pagina)) return SinApertura::OtraApertura;
    return std::nullopt;
}

void frmAbrirCajon::ComprobarSensor() {
    if (ModalAbierto()) return;
    sensor_.Comprobar(TextoPuerto(), CheckPrinter());
}

void frmAbrirCajon::cmdEnd_Click() {
    if (!dialogs_.AskYesNo(kPreguntaCerrar)) return;
    OrdenSalir();
}

void frmAbrirCajon::OrdenSalir() {
    if (Form_QueryUnload(vbFormCode)) return;
    Form_Unload();
    vista_.TerminarPrograma();
}

void frmAbrirCajon::cmdSelectPrinter_Click() {
    // A printer the administrator named since start-up is made current as
    // at start, without the chooser, and the button greys.
    politica_.impresora = parametros_.PorPolitica(claves::PrinterDeviceName);
    ElegirImpresora(!politica_.impresora, parametros_, servicios_.impresora, selector_,
                    [&](const std::string& t) { vista_.FijarTexto(Control::CheckPrinter, t); });
    MostrarPolitica();
}

void frmAbrirCajon::ImageInfo_Click() {
    dialogs_.Information(kTextoTruco);
}

void frmAbrirCajon::lblInfo_Click() {
    dialogs_.InputBox("INI", "INI", parametros_.Ruta());
}

bool frmAbrirCajon::Form_QueryUnload(UnloadMode modo) {
    if (modo != vbFormControlMenu) return false;
    vista_.FijarWindowState(kVentanaMinimizada);
    return true;
}

void frmAbrirCajon::Form_Unload() {
    // A box saves when it loses the focus, which the end of the window
    // would drop: a port or sequence being typed is saved now.
    if (const auto foco = vista_.ControlConFoco()) {
        if (*foco == Control::txtPuerto) txtPuerto_LostFocus();
        if (*foco == Control::txtAscii) txtAscii_LostFocus();
    }
    QuitarSystray();
}

void frmAbrirCajon::Form_Resize() {
    ProcedimientoGuardado(dialogs_, "Form_Resize", [&](Linea& linea) {
        linea = 10;
        if (vista_.WindowState() == kVentanaMinimizada) {
            IrABandeja(linea);
        } else {
            linea = 40;
            linea = 50;
            QuitarSystray();
        }
    });
}

void frmAbrirCajon::IrABandeja(Linea& linea) {
    linea = 20;
    vista_.Ocultar();
    linea = 30;
    PonerSystray();
    // With no icon the hidden window could never be reached again: it stays
    // on the taskbar, minimized, instead.
    if (!icono_.Puesto()) vista_.Mostrar();
}

void frmAbrirCajon::PonerSystray() {
    icono_.PonerSystray(dialogs_, [&] { return SinSufijoDelSensor(vista_.Caption()); });
}

void frmAbrirCajon::QuitarSystray() {
    icono_.QuitarSystray();
}

void frmAbrirCajon::TaskbarCreated() {
    // A new notification area takes the minimized window as a minimize does,
    // also one left on the taskbar because the old area refused its icon.
    if (vista_.WindowState() != kVentanaMinimizada) return;
    Linea linea;
    IrABandeja(linea);
}

void frmAbrirCajon::MostrarVentana() {
    ProcedimientoGuardado(dialogs_, "MostrarVentana", [&](Linea& linea) { Restaurar(linea, 10); });
}

void frmAbrirCajon::Restaurar(Linea& linea, int primerPaso) {
    linea = primerPaso;
    vista_.FijarWindowState(kVentanaNormal);
    linea = primerPaso + 10;
    vista_.TraerAlFrente();
    linea = primerPaso + 20;
    vista_.Mostrar();
}

void frmAbrirCajon::Form_MouseMove(double x) {
    ProcedimientoGuardado(dialogs_, "Form_MouseMove", [&](Linea& linea) {
        linea = 10;
        linea = midePixeles_ ? 20 : 40;
        const int codigo = CodigoDeEvento(x, midePixeles_, twipsPorPixel_);
        linea = 50;
        linea = 60;
        // The icon's callback is WM_MOUSEMOVE: while no icon exists, 515 and
        // 517 are only the real mouse passing over the window, which must not
        // take the focus from the sales program.
        if (!icono_.Puesto()) {
            linea = 140;
        } else if (codigo == kDobleClicIzquierdo) {
            Restaurar(linea, 70);
        } else if (codigo == kBotonDerechoSuelto) {
            linea = 100;
            Restaurar(linea, 110);
        }
        linea = 140;
    });
}

std::string frmAbrirCajon::TextoAscii() const {
    return vista_.Texto(Control::txtAscii);
}
std::string frmAbrirCajon::TextoPuerto() const {
    return vista_.Texto(Control::txtPuerto);
}
bool frmAbrirCajon::CheckPrinter() const {
    return vista_.Valor(Control::CheckPrinter) == kMarcado;
}
bool frmAbrirCajon::CheckTodoJunto() const {
    return vista_.Valor(Control::CheckTodoJunto) == kMarcado;
}
bool frmAbrirCajon::CheckConPuntoyComa() const {
    return vista_.Valor(Control::CheckConPuntoyComa) == kMarcado;
}

// ---- The drawer assistant ----
void frmAbrirCajon::RecargarAjustes() {
    vista_.FijarTexto(Control::txtPuerto,
                      parametros_.VRXGetParametro(claves::KovraPuerto, kDefectoPuerto));
    vista_.FijarTexto(Control::txtAscii,
                      parametros_.VRXGetParametro(claves::KovraASCII, kDefectoAscii));
    const bool impresora =
        ValorNumerico(parametros_.VRXGetParametro(claves::KovraTipo, kDefectoTipo)) == 1.0;
    if (impresora) {
        try {
            ElegirImpresora(
                false, parametros_, servicios_.impresora, selector_,
                [&](const std::string& t) { vista_.FijarTexto(Control::CheckPrinter, t); }, false);
        } catch (const Fallo&) {
            // The assistant's own job just reached it; the name stays as shown.
        }
    }
    FijarCheckPrinter(impresora ? kMarcado : kDesmarcado);
    sensor_.Leer();
}
// ---- end of the drawer assistant ----
