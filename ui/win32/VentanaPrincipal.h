#pragma once
// The main window frmAbrirCajon on Win32: builds the controls of its design,
// shows what the logic sets and forwards every event to the logic.

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win32/ClaseVentana.h"
#include "platform/win32/ImagenJpeg.h"
#include "platform/win32/ObjetosGdi.h"
#include "ui/VistaPrincipal.h"
#include "ui/frmAbrirCajon.h"
#include "ui/win32/DisenoPrincipal.h"
#include "ui/win32/OrdenesEntreProcesos.h"

class PuenteWebVentana;
class Win32Dialogs;

// Starts the window's timer `id`. Throws Fallo when the system refuses it.
void IniciarTimer(HWND ventana, UINT_PTR id, UINT milisegundos);

class VentanaPrincipal final : public VistaPrincipal {
  public:
    explicit VentanaPrincipal(HINSTANCE instancia);
    ~VentanaPrincipal() override;
    VentanaPrincipal(const VentanaPrincipal&) = delete;
    VentanaPrincipal& operator=(const VentanaPrincipal&) = delete;

    // Creates the window, centred and hidden, with all its controls at the
    // display's DPI. Throws Fallo when the system refuses.
    void Crear();

    HWND Handle() const { return hwnd_; }
    int Dpi() const { return dpi_; }
    double TwipsPorPixel() const { return static_cast<double>(kTwipsPorPulgada) / dpi_; }
    HICON Icono() const { return iconoVentana_; }

    // From here on events reach `logica`; `dialogs` shows the report of a
    // failure that escapes a handler.
    void Conectar(frmAbrirCajon& logica, Win32Dialogs& dialogs);
    // Called when the session ends (log-off, shutdown) once the window is
    // closed: the system may end the process as soon as that message is
    // answered, so what must still be saved is saved here.
    void AlTerminarSesion(std::function<void()> guardar) { alTerminarSesion_ = std::move(guardar); }
    // Told when Group Policy has applied a change (WM_SETTINGCHANGE "Policy");
    // none from the moment it goes.
    void FijarPuenteWeb(PuenteWebVentana* puente) { puenteWeb_ = puente; }

    // A registered message of another part of the program (the browser
    // bridge), handled on this window's thread.
    void Atender(UINT mensaje, std::function<LRESULT(WPARAM, LPARAM)> manejador) {
        otros_.emplace_back(mensaje, std::move(manejador));
    }
    // An opening asked for by the browser bridge, on this window's thread:
    // as /abrir's, recorded as "Web " + `pagina`. `responder` hears the
    // outcome before a failure's box; or the answer says why nothing was
    // done (a box open, another kick, the window not shown yet or ending).
    std::optional<SinApertura> AbrirDesdeWeb(
        const std::string& pagina, const std::function<void(const ResultadoApertura&)>& responder);

    // Form_Load, before the window is first shown.
    void Cargar();
    // The first display: centred, normal, "F12" focused; the first resize
    // reaches the logic and the timer starts. Throws Fallo when the system
    // refuses the timer: without it F12 would never work.
    void MostrarPorPrimeraVez();
    // The message loop, with dialog navigation (Tab) on this window. Returns
    // the exit code once the window is gone.
    int Bucle();

    // VistaPrincipal
    std::string Texto(Control control) const override;
    void FijarTexto(Control control, const std::string& texto) override;
    int Valor(Control control) const override;
    void FijarValor(Control control, int valor) override;
    std::optional<Control> ControlConFoco() const override;
    bool Habilitado(Control control) const override;
    void Habilitar(Control control, bool habilitado) override;
    void FijarConsejo(Control control, const std::string& consejo) override;
    void FijarComprobarSensor(bool habilitado, const std::string& consejo) override;
    std::string Caption() const override;
    int WindowState() const override;
    void FijarWindowState(int estado) override;
    void Ocultar() override;
    void Mostrar() override;
    void TraerAlFrente() override;
    void TerminarPrograma() override;

  private:
    friend LRESULT CALLBACK ::ProcedimientoDe<VentanaPrincipal>(HWND, UINT, WPARAM, LPARAM);
    void AlNacer(HWND hwnd) { hwnd_ = hwnd; }
    void AlMorir();
    LRESULT Mensaje(UINT msg, WPARAM wp, LPARAM lp);

    void CrearFuentes();
    void CrearControles();
    void CargarImagenes();
    void Centrar();
    HWND Hijo(Control control) const;

    void Comando(int id, int notificacion);
    LRESULT ColorEstatico(UINT msg, HDC dc, HWND control);
    void Pintar();
    void Dibujar(const DRAWITEMSTRUCT& item);
    void Activacion(WPARAM wp);
    void LlevarAPantalla();

    // The orders of another process: both answer it before anything else.
    LRESULT OrdenAbrir();
    void OrdenSalir();

    // Close requests: true when the logic refused.
    bool ConsultarCierre(UnloadMode modo);
    void Cerrar();

    // An event handed to the logic as a guarded procedure: a failure is
    // reported and never unwinds through the system's message dispatch.
    void Reenviar(std::string_view nombre, const std::function<void(frmAbrirCajon&)>& evento);

    HINSTANCE instancia_;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    RECT marcoCentrado_{};
    // Shared icon from the class: the system keeps it for the whole process,
    // which the notification-area icon relies on.
    HICON iconoVentana_ = nullptr;
    std::array<FuenteGdi, 3> fuentes_;  // indexed by Letra
    // The controls' windows, indexed by Control: under Wine GetDlgItem asks
    // the server for the whole list of children, and a kick reads its
    // controls a dozen times.
    std::array<HWND, static_cast<std::size_t>(Control::LabelComentario) + 1> hijos_{};
    IconoPropio iconoA_;
    IconoPropio iconoB_;
    int ladoIcono_ = 32;
    Imagen imagen_;

    frmAbrirCajon* logica_ = nullptr;
    Win32Dialogs* dialogs_ = nullptr;
    std::function<void()> alTerminarSesion_;
    PuenteWebVentana* puenteWeb_ = nullptr;
    UINT mensajeTaskbarCreated_ = 0;
    UINT mensajeMostrar_ = 0;
    UINT mensajeAbrir_ = 0;
    UINT mensajeSalir_ = 0;
    bool mostrada_ = false;    // Form_Resize only once the window is shown
    bool terminando_ = false;  // nothing more reaches the logic
    bool finConsultado_ = false;
    int redimensiones_ = 0;
    HWND foco_ = nullptr;      // the control to give the focus back to
    HWND consejos_ = nullptr;  // the tooltip control, made with the first tip
    std::vector<std::pair<UINT, std::function<LRESULT(WPARAM, LPARAM)>>> otros_;
};
