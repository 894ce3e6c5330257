#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/CarpetaPrograma.h"
#include "platform/win32/Texto.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32ConsultaEstado.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Idn.h"
#include "platform/win32/Win32Inventario.h"
#include "platform/win32/Win32KeyState.h"
#include "platform/win32/Win32PermisosArchivo.h"
#include "platform/win32/Win32Politicas.h"
#include "platform/win32/Win32Port.h"
#include "platform/win32/Win32Printing.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Red.h"
#include "platform/win32/Win32RegistroEventos.h"
#include "platform/win32/Win32Session.h"
#include "platform/win32/Win32TextFiles.h"
#include "ui/AvisoPoliticasInservibles.h"
#include "ui/EventosInicio.h"
#include "ui/Ordenes.h"
#include "ui/frmAbrirCajon.h"
#include "ui/win32/AvisosBandeja.h"
#include "ui/win32/GuiaDeUso.h"
#include "ui/win32/Programa.h"
#include "ui/win32/PuenteWebVentana.h"
#include "ui/win32/UnaInstancia.h"
#include "ui/win32/VentanaAsistente.h"
#include "ui/win32/VentanaPrincipal.h"
#include "ui/win32/VentanaPrinters.h"

namespace {

// COM for the picture loader, on this (the only) thread for the whole run.
class Com {
  public:
    Com() : iniciado_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~Com() {
        if (iniciado_) CoUninitialize();
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;

  private:
    bool iniciado_;
};

std::string SeparadorDecimal() {
    wchar_t separador[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separador, 8) == 0) return ",";
    return Utf8(separador);
}

// How long the end of the program waits, in all, for the sensor's watcher (a
// question under way, a second at most) and the record's pending lines.
constexpr std::chrono::milliseconds kEsperaFin{3000};
constexpr std::chrono::milliseconds kEsperaSensor{1000};

// The arguments after the program's name.
std::vector<std::string> Argumentos() {
    int n = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &n);
    std::vector<std::string> argumentos;
    for (int i = 1; argv != nullptr && i < n; ++i) argumentos.push_back(Utf8(argv[i]));
    LocalFree(argv);
    return argumentos;
}

// The system's services of one run, the writer of its record, and the one
// coordinator of its kicks.
struct Sistema {
    explicit Sistema(Dialogs& dialogs) : dialogs(dialogs) {}

    ServiciosPrincipal Servicios(SelectorImpresora& selector, NotificationArea& bandeja) {
        ServiciosPrincipal servicios{perfil, apertura, impresora, dialogs,           selector,
                                     teclas, bandeja,  carpeta,   SeparadorDecimal()};
        servicios.politicas = &politicas;
        servicios.permisosEquipo = Permisos();
        return servicios;
    }
    // The copy installed for every user: the rights of its settings file
    // decide what of it counts.
    PermisosArchivo* Permisos() { return delEquipo ? &permisosArchivo : nullptr; }

    Dialogs& dialogs;
    const std::string carpeta = CarpetaPrograma();
    const bool delEquipo = EsInstalacionDelEquipo(carpeta);
    Win32PermisosArchivo permisosArchivo;
    Win32Profile perfil;
    Win32PortOpener puertos;
    Win32NetworkOpener red;
    Win32ConsultaEstado estado;
    Win32Printing impresora;
    Win32KeyState teclas;
    Win32Clock reloj;
    Win32Session sesion;
    Win32TextFiles archivos;
    Win32Politicas politicas;
    Win32RegistroEventos eventos;
    RegistroAperturas aperturas{reloj, sesion, archivos, perfil, &politicas, &eventos};
    AvisoPoliticasInservibles avisoPoliticas{aperturas, RutaParametros(carpeta)};
    EscritorAperturas escritor{RegistroPreparado()};
    Parametros parametros = ParametrosDelPrograma();
    CoordinadorApertura apertura{{puertos, impresora, parametros, dialogs, &red, &aperturas}};

  private:
    Parametros ParametrosDelPrograma() {
        Parametros p(perfil, dialogs, &politicas);
        p.FijarRuta(RutaParametros(carpeta));
        p.FijarInstalacionDelEquipo(Permisos());
        return p;
    }
    // Before its writer starts.
    RegistroAperturas& RegistroPreparado() {
        politicas.aviso = &avisoPoliticas;
        if (delEquipo) aperturas.FijarInstalacionDelEquipo(&permisosArchivo, CarpetaDelUsuario());
        return aperturas;
    }
};

// The sensor's check hands its kick and its finding to the window's logic,
// on the window's thread.
void ConectarSensor(VentanaPrincipal& ventana, AvisosBandeja& avisos, frmAbrirCajon& logica) {
    avisos.Conectar(
        [&ventana, &logica] {
            if (ventana.Handle() == nullptr) return;
            try {
                logica.Sensor().PatadaDeComprobacion();
            } catch (...) {
                // Nothing may unwind through the system's message dispatch.
            }
        },
        [&ventana, &logica](std::optional<ModoSensor> modo, bool pateado) {
            if (ventana.Handle() == nullptr) return;
            try {
                logica.Sensor().Comprobado(modo, pateado);
            } catch (...) {
            }
        });
}

// A thread that did not end in time still uses what it was given: that is
// kept to the end of the process rather than destroyed under it.
template <class T>
void DejarHastaElFin(std::unique_ptr<T>& objeto) {
    static_cast<void>(objeto.release());
}

// /abrir with no copy running: the opening of a program just started, in
// this process, with no window. Pending lines get their one try; a folder
// that does not answer is not waited for.
int AbrirAqui(Win32Dialogs& dialogs) {
    auto sistema = std::make_unique<Sistema>(dialogs);
    const int codigo = AbrirSinVentana(sistema->apertura);
    if (!sistema->escritor.Terminar(kEsperaFin)) DejarHastaElFin(sistema);
    return codigo;
}

// The running copy, from its claim to its end: every part in the order it is
// made, and one Terminar for every way out.
class CopiaEnMarcha {
  public:
    // `conAsistente`: started by /asistente, the drawer assistant opens
    // once the window is shown.
    CopiaEnMarcha(HINSTANCE instancia, NotificationArea& bandeja, CopiaUnica copia,
                  bool conAsistente)
        : instancia_(instancia),
          bandeja_(bandeja),
          copia_(std::move(copia)),
          conAsistente_(conAsistente) {}
    CopiaEnMarcha(const CopiaEnMarcha&) = delete;
    CopiaEnMarcha& operator=(const CopiaEnMarcha&) = delete;
    ~CopiaEnMarcha() { Terminar(); }

    int Ejecutar();

    // Salir and /salir, the session's end, a close from the Task Manager:
    // the icons go first, then the bridge, the sensor and the record within
    // one deadline, and last the claim, so that a new start waiting for this
    // copy finds nothing of it left. Safe to call twice.
    void Terminar();

  private:
    void ArrancarSensor();
    void Conectar();
    void ArrancarAsistente();

    HINSTANCE instancia_;
    NotificationArea& bandeja_;
    CopiaUnica copia_;
    bool conAsistente_;
    bool terminado_ = false;
    VentanaPrincipal ventana_{instancia_};
    Win32Dialogs dialogs_;
    std::unique_ptr<Sistema> sistema_ = std::make_unique<Sistema>(dialogs_);
    VentanaPrinters selector_{instancia_, sistema_->impresora};
    std::unique_ptr<AvisosBandeja> avisos_;
    std::unique_ptr<VigilanteCajon> sensor_;
    std::unique_ptr<frmAbrirCajon> logica_;
    std::unique_ptr<PuenteWebVentana> puenteWeb_;
    Win32Inventario inventario_;
    std::unique_ptr<VentanaAsistente> asistente_;
    UINT mensajeAsistente_ = 0;
};

// The drawer assistant: /asistente, and the system menu's item. Its tries
// are kicks through the program's one coordinator; what it saves the main
// window shows at once.
void CopiaEnMarcha::ArrancarAsistente() {
    asistente_ = std::make_unique<VentanaAsistente>(
        instancia_,
        ServiciosAsistente{sistema_->apertura, sistema_->impresora, sistema_->parametros,
                           sistema_->estado, inventario_, dialogs_});
    asistente_->alGuardar = [this] { logica_->RecargarAjustes(); };
    AnadirAsistente(ventana_.Handle());
    mensajeAsistente_ = RegisterWindowMessageW(kMensajeAsistente);
    ventana_.Atender(mensajeAsistente_, [this](WPARAM, LPARAM) -> LRESULT {
        if (asistente_) asistente_->Abrir();
        return 0;
    });
    ChangeWindowMessageFilterEx(ventana_.Handle(), mensajeAsistente_, MSGFLT_ALLOW, nullptr);
}

void CopiaEnMarcha::ArrancarSensor() {
    // The drawer's sensor: its lines go to the record as the kicks' do.
    try {
        avisos_ = std::make_unique<AvisosBandeja>(instancia_, ventana_.Handle());
        sensor_ = std::make_unique<VigilanteCajon>(
            sistema_->estado, *avisos_,
            [sistema = sistema_.get(),
             ruta = RutaParametros(CarpetaPrograma())](const ResultadoApertura& r) {
                sistema->aperturas.Anotar(ruta, OrigenApertura::Sensor, "", r);
            });
        AnadirComprobarSensor(ventana_.Handle());
    } catch (const std::exception&) {
        // Without them the drawer opens as ever, unwatched.
    }
}

void CopiaEnMarcha::Conectar() {
    logica_->FijarIdentidad(reinterpret_cast<std::uintptr_t>(ventana_.Handle()),
                            reinterpret_cast<std::uintptr_t>(ventana_.Icono()),
                            /*midePixeles=*/false, ventana_.TwipsPorPixel());
    ventana_.Conectar(*logica_, dialogs_);
    if (avisos_) ConectarSensor(ventana_, *avisos_, *logica_);
    // The system may end the process as soon as the session's end is
    // answered: a kick made just before log-off still reaches the record.
    ventana_.AlTerminarSesion([this] { Terminar(); });
    const UINT mensajeEstado = RegisterWindowMessageW(kMensajeEstadoCajon);
    ventana_.Atender(mensajeEstado, [this](WPARAM, LPARAM) -> LRESULT {
        return static_cast<LRESULT>(EmpaquetarCajon(sensor_ ? sensor_->Estado() : std::nullopt));
    });
    // A copy run as administrator still answers the till's user.
    ChangeWindowMessageFilterEx(ventana_.Handle(), mensajeEstado, MSGFLT_ALLOW, nullptr);
}

int CopiaEnMarcha::Ejecutar() {
    try {
        ventana_.Crear();
    } catch (const Fallo& fallo) {
        dialogs_.Report(fallo.descripcion);
        return 1;
    }
    dialogs_.SetOwner(ventana_.Handle());
    ArrancarSensor();
    AnadirGuiaDeUso(ventana_.Handle());
    auto servicios = sistema_->Servicios(selector_, bandeja_);
    servicios.sensor = sensor_.get();
    logica_ = std::make_unique<frmAbrirCajon>(ventana_, std::move(servicios));
    Conectar();
    ArrancarAsistente();

    // The start's events (the version, the settings, what does not read)
    // before the start's boxes, which wait for the cashier.
    InformarInicio(sistema_->aperturas, sistema_->parametros, CAJON_VERSION_PROGRAMA, Win32Idn);
    ventana_.Cargar();
    // The browser bridge: its boxes come with the start-up's.
    puenteWeb_ = std::make_unique<PuenteWebVentana>(
        ventana_, sistema_->perfil, logica_->RutaIni(), dialogs_, CAJON_VERSION_PROGRAMA,
        &sistema_->politicas, &sistema_->aperturas,
        [this]() -> std::optional<EstadoCajon> {
            return sensor_ ? sensor_->Estado() : std::nullopt;
        },
        [this](const std::string& texto) {
            if (avisos_) avisos_->Globo(texto);
        },
        sistema_->Permisos());
    ventana_.FijarPuenteWeb(puenteWeb_.get());
    try {
        ventana_.MostrarPorPrimeraVez();
    } catch (const Fallo& fallo) {
        // Without its timer the program would run on with F12 dead: it says
        // so and ends, as when its window cannot be made.
        dialogs_.Report(fallo.descripcion);
        return 1;
    }
    if (conAsistente_) PostMessageW(ventana_.Handle(), mensajeAsistente_, 0, 0);
    return ventana_.Bucle();
}

void CopiaEnMarcha::Terminar() {
    if (std::exchange(terminado_, true)) return;
    const auto fin = std::chrono::steady_clock::now() + kEsperaFin;
    const auto queda = [&] {
        return std::max(std::chrono::duration_cast<std::chrono::milliseconds>(
                            fin - std::chrono::steady_clock::now()),
                        std::chrono::milliseconds(0));
    };
    // No try of the assistant comes after this. The session's end can come
    // inside a kick's stop box, the assistant's own try's among them: the
    // assistant then goes on from that box, and is kept to the end.
    if (sistema_->apertura.Ocupado()) {
        DejarHastaElFin(asistente_);
    } else {
        asistente_.reset();
    }
    // The open drawer's icon goes, whatever is still posted.
    if (avisos_) {
        avisos_->Quitar();
        avisos_->Conectar({}, {});
    }
    // Its page hears that a kick it was promised will not come.
    ventana_.FijarPuenteWeb(nullptr);
    puenteWeb_.reset();
    // The watch under way writes its line before the record ends.
    const bool sensorTerminado = !sensor_ || sensor_->Terminar(std::min(kEsperaSensor, queda()));
    const bool registroTerminado = sistema_->escritor.Terminar(queda());
    if (!sensorTerminado || !registroTerminado) {
        DejarHastaElFin(sensor_);
        DejarHastaElFin(avisos_);
        DejarHastaElFin(sistema_);
    }
    copia_.Soltar();
}

}  // namespace

int EjecutarPrograma(HINSTANCE instancia, NotificationArea& bandeja) {
    const std::vector<std::string> argumentos = Argumentos();
    const Orden orden = LeerOrden(argumentos);
    if (orden != Orden::Ninguna) {
        Win32Dialogs dialogs;
        Win32CopiaAbierta copia;
        // None only for /asistente with no copy: this one starts, and opens it.
        if (const auto codigo = CumplirOrden(
                orden, copia, dialogs, [&] { return AbrirAqui(dialogs); },
                SegundosDeEspera(argumentos),
                [](std::chrono::milliseconds ms) { Sleep(static_cast<DWORD>(ms.count())); })) {
            return *codigo;
        }
    }
    auto copia = CopiaUnica::Tomar();
    if (!copia) return 0;
    Com com;
    INITCOMMONCONTROLSEX controles{sizeof controles, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controles);
    CopiaEnMarcha programa(instancia, bandeja, std::move(*copia), orden == Orden::Asistente);
    const int codigo = programa.Ejecutar();
    programa.Terminar();
    return codigo;
}
