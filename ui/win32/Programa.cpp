#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <shellapi.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/Texto.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32ConsultaEstado.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Inventario.h"
#include "platform/win32/Win32KeyState.h"
#include "platform/win32/Win32Politicas.h"
#include "platform/win32/Win32Port.h"
#include "platform/win32/Win32Printing.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Red.h"
#include "platform/win32/Win32RegistroEventos.h"
#include "platform/win32/Win32Session.h"
#include "platform/win32/Win32TextFiles.h"
#include "ui/Ordenes.h"
#include "ui/frmAbrirCajon.h"
#include "ui/win32/AvisosBandeja.h"
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

// The folder of the program file, without a trailing separator.
std::string CarpetaPrograma() {
    std::wstring ruta(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, ruta.data(), static_cast<DWORD>(ruta.size()));
        if (n == 0) return {};
        if (n < ruta.size()) {
            ruta.resize(n);
            break;
        }
        ruta.resize(ruta.size() * 2);  // cut short: a long path
    }
    const auto barra = ruta.find_last_of(L"\\/");
    return Utf8(barra == std::wstring::npos ? std::wstring{} : ruta.substr(0, barra));
}

std::string SeparadorDecimal() {
    wchar_t separador[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separador, 8) == 0) return ",";
    return Utf8(separador);
}

// How long the end of the program waits for the record's pending lines, and
// for the sensor's watcher (a question under way).
constexpr std::chrono::seconds kEsperaRegistro{2};
constexpr std::chrono::seconds kEsperaSensor{1};

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
        ServiciosPrincipal servicios{perfil,  apertura,          impresora,
                                     dialogs, selector,          teclas,
                                     bandeja, CarpetaPrograma(), SeparadorDecimal()};
        servicios.politicas = &politicas;
        return servicios;
    }
    // Pending lines get their one try; a folder that does not answer is not
    // waited for, and the process ends without its writer (and, with
    // `sinEsperar`, without a thread that is still at work).
    int Terminar(int codigo, bool sinEsperar = false) {
        if (!escritor.Terminar(kEsperaRegistro) || sinEsperar) {
            ExitProcess(static_cast<UINT>(codigo));
        }
        return codigo;
    }

    Dialogs& dialogs;
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
    EscritorAperturas escritor{aperturas};
    Parametros parametros = ParametrosDelPrograma();
    CoordinadorApertura apertura{{puertos, impresora, parametros, dialogs, &red, &aperturas}};

  private:
    Parametros ParametrosDelPrograma() {
        Parametros p(perfil, dialogs, &politicas);
        p.FijarRuta(RutaParametros(CarpetaPrograma()));
        return p;
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

// /abrir with no copy running: the opening of a program just started, in
// this process, with no window.
int AbrirAqui(Win32Dialogs& dialogs) {
    Sistema sistema(dialogs);
    return sistema.Terminar(AbrirSinVentana(sistema.apertura));
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
    if (HayOtraInstancia()) return 0;
    Com com;
    INITCOMMONCONTROLSEX controles{sizeof controles, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controles);

    VentanaPrincipal ventana(instancia);
    Win32Dialogs dialogs;
    try {
        ventana.Crear();
    } catch (const Fallo& fallo) {
        dialogs.Report(fallo.descripcion);
        return 1;
    }
    dialogs.SetOwner(ventana.Handle());

    Sistema sistema(dialogs);
    VentanaPrinters selector(instancia, sistema.impresora);
    // The drawer's sensor: its lines go to the record as the kicks' do.
    std::unique_ptr<AvisosBandeja> avisos;
    std::unique_ptr<VigilanteCajon> sensor;
    try {
        avisos = std::make_unique<AvisosBandeja>(instancia, ventana.Handle());
        sensor = std::make_unique<VigilanteCajon>(
            sistema.estado, *avisos,
            [&sistema, ruta = RutaParametros(CarpetaPrograma())](const ResultadoApertura& r) {
                sistema.aperturas.Anotar(ruta, OrigenApertura::Sensor, "", r);
            });
        AnadirComprobarSensor(ventana.Handle());
    } catch (const std::exception&) {
        // Without them the drawer opens as ever, unwatched.
    }
    auto servicios = sistema.Servicios(selector, bandeja);
    servicios.sensor = sensor.get();
    frmAbrirCajon logica(ventana, std::move(servicios));
    logica.FijarIdentidad(reinterpret_cast<std::uintptr_t>(ventana.Handle()),
                          reinterpret_cast<std::uintptr_t>(ventana.Icono()),
                          /*midePixeles=*/false, ventana.TwipsPorPixel());
    ventana.Conectar(logica, dialogs);
    // ---- The drawer assistant: /asistente and the system menu's item ----
    Win32Inventario inventario;
    VentanaAsistente asistente(instancia, {sistema.apertura, sistema.impresora, sistema.parametros,
                                           sistema.estado, inventario, dialogs});
    asistente.alGuardar = [&logica] { logica.RecargarAjustes(); };
    AnadirAsistente(ventana.Handle());
    const UINT mensajeAsistente = RegisterWindowMessageW(kMensajeAsistente);
    ventana.Atender(mensajeAsistente, [&asistente](WPARAM, LPARAM) -> LRESULT {
        asistente.Abrir();
        return 0;
    });
    ChangeWindowMessageFilterEx(ventana.Handle(), mensajeAsistente, MSGFLT_ALLOW, nullptr);
    // ---- end of the drawer assistant ----
    if (avisos) ConectarSensor(ventana, *avisos, logica);
    // Every way out: the watch under way writes its line and the open
    // drawer's icon goes, before anything may end the process.
    bool sensorTerminado = true;
    const auto terminarSensor = [&] {
        if (sensor) sensorTerminado = sensor->Terminar(kEsperaSensor);
        if (avisos) avisos->Quitar();
    };
    // A kick made just before log-off still reaches the record.
    ventana.AlTerminarSesion([&] {
        terminarSensor();
        sistema.escritor.Terminar(kEsperaRegistro);
    });
    const UINT mensajeEstado = RegisterWindowMessageW(kMensajeEstadoCajon);
    ventana.Atender(mensajeEstado, [&sensor](WPARAM, LPARAM) -> LRESULT {
        return static_cast<LRESULT>(EmpaquetarCajon(sensor ? sensor->Estado() : std::nullopt));
    });
    // A copy run as administrator still answers the till's user.
    ChangeWindowMessageFilterEx(ventana.Handle(), mensajeEstado, MSGFLT_ALLOW, nullptr);

    ventana.Cargar();
    // The browser bridge: its boxes come with the start-up's.
    PuenteWebVentana puenteWeb(ventana, sistema.perfil, logica.RutaIni(), dialogs,
                               CAJON_VERSION_PROGRAMA, &sistema.politicas, &sistema.aperturas,
                               [&sensor]() -> std::optional<EstadoCajon> {
                                   return sensor ? sensor->Estado() : std::nullopt;
                               });
    try {
        ventana.MostrarPorPrimeraVez();
    } catch (const Fallo& fallo) {
        // Without its timer the program would run on with F12 dead: it says
        // so and ends, as when its window cannot be made.
        dialogs.Report(fallo.descripcion);
        return 1;
    }
    if (orden == Orden::Asistente) PostMessageW(ventana.Handle(), mensajeAsistente, 0, 0);
    const int codigo = ventana.Bucle();
    terminarSensor();
    if (avisos) avisos->Conectar({}, {});
    // A watcher still in a question is left to the end of the process.
    if (!sensorTerminado) static_cast<void>(sensor.release());
    return sistema.Terminar(codigo, !sensorTerminado);
}
