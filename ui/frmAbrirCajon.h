#pragma once
// The main window's logic: start-up, control states, the two drawer-kick
// triggers, the buttons, closing, help, and the notification-area icon. The
// Win32 window forwards its events here and shows what the logic sets.

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "drawer/CoordinadorApertura.h"
#include "drawer/ElegirImpresora.h"
#include "drawer/SinApertura.h"
#include "platform/KeyState.h"
#include "platform/NotificationArea.h"
#include "settings/modFunGenerales.h"
#include "ui/Contadores.h"
#include "ui/IconoPrincipal.h"
#include "ui/PoliticaControles.h"
#include "ui/SensorPrincipal.h"
#include "ui/TeclaApertura.h"
#include "ui/VistaPrincipal.h"

inline constexpr const char* kCaptionPrincipal = "Apertura cajón";
inline constexpr const char* kTextoTruco =
    "Puede crear 2 impresoras iguales, con distinta opción de corte / apertura cajón y usar "
    "diferente para "
    "abrir cajón o impresión";
inline constexpr const char* kPreguntaCerrar = "¿Cerrar programa?";

// Why the window is asked to close.
enum UnloadMode { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2, vbAppTaskManager = 3 };

struct ServiciosPrincipal {
    PrivateProfile& perfil;
    // Every kick of the window goes through it.
    CoordinadorApertura& apertura;
    Printing& impresora;
    Dialogs& dialogs;
    SelectorImpresora& selector;
    KeyState& teclas;
    NotificationArea& bandeja;
    std::string carpetaPrograma;   // the folder of the program file
    std::string separadorDecimal;  // the user's decimal separator
    // The drawer's sensor (KovraSensor): the watch after each kick, and its
    // check. None: no sensor.
    VigilanteCajon* sensor = nullptr;
    // The administrator's values (SOFTWARE\Policies\AbrirCajon); none: the
    // file alone.
    AlmacenPoliticas* politicas = nullptr;
    // The copy installed for every user of the machine; none: the user's own.
    PermisosArchivo* permisosEquipo = nullptr;
};

class frmAbrirCajon : public ControlesApertura {
  public:
    frmAbrirCajon(VistaPrincipal& vista, ServiciosPrincipal servicios);
    ~frmAbrirCajon() override;
    frmAbrirCajon(const frmAbrirCajon&) = delete;
    frmAbrirCajon& operator=(const frmAbrirCajon&) = delete;

    // Before the window is first shown.
    void Form_Load();
    void EstadoControles();

    // Events of the controls.
    void CheckPrinter_Click();
    void txtAscii_LostFocus();
    void txtPuerto_LostFocus();
    void Timer_Timer();
    // A key went down or up, as the system's raw keyboard input reports it
    // from any program: a press of a key other than F12 too short for the
    // poll to see kicks once at the next tick, unless Shift, Control or Alt
    // was down with it.
    void EntradaCruda(int teclaVirtual, bool abajo);
    // True when the key is not F12: its every press is seen (EntradaCruda).
    bool VeTodaPulsacion() const;
    void Command_Click();
    void Command1_Click();
    void cmdEnd_Click();
    void cmdSelectPrinter_Click();
    void ImageInfo_Click();
    void lblInfo_Click();

    // Events of the window. Form_QueryUnload returns true to refuse the close.
    bool Form_QueryUnload(UnloadMode modo);
    void Form_Unload();
    void Form_Resize();
    void Form_MouseMove(double x);
    // The shell has re-created the notification area.
    void TaskbarCreated();
    // Another copy of the program was started: show this one's window.
    void MostrarVentana();
    // An opening asked for by another program (AbrirCajon.exe /abrir): the
    // kick of F12, recorded as the order's. `responder` gets the exit code
    // once the kick's output is over, before a failure's stop box, so the
    // caller never waits for the cashier. With a box or the chooser open the
    // answer is salida::kOcupado at once, and nothing is sent, as F12 then
    // does nothing. Returns the exit code too.
    int OrdenAbrir(const std::function<void(int)>& responder);
    // An opening asked for by a web page through the browser bridge: as
    // OrdenAbrir, recorded as "Web " + `pagina` (its origin and motive);
    // `responder` hears how the kick ended, before a failure's box. Returns
    // why nothing was done, when it was not.
    std::optional<SinApertura> OrdenWeb(
        const std::string& pagina, const std::function<void(const ResultadoApertura&)>& responder);
    // The end asked for by /salir: as "Salir" answered Yes, without asking.
    void OrdenSalir();
    // "Comprobar el sensor del cajón…": finds the KovraSensor this drawer
    // needs, kicking once.
    void ComprobarSensor();
    SensorPrincipal& Sensor() { return sensor_; }

    // ---- The drawer assistant ----
    // Once it has saved: the port, the codes, the route, the printer and
    // KovraSensor as the file (and the administrator) now say.
    void RecargarAjustes();
    // Group Policy has applied: the settings and their greying as they stand.
    void PoliticaCambiada();
    // ---- end of the drawer assistant ----

    // The window's handle and icon, for the notification-area record, and how
    // the window measures mouse positions.
    void FijarIdentidad(std::uintptr_t hWnd, std::uintptr_t hIcon, bool midePixeles,
                        double twipsPorPixel);

    const std::string& RutaIni() const { return parametros_.Ruta(); }
    // True while the program shows a box or the chooser: the key's poll waits.
    bool ModalAbierto() const { return modales_ > 0; }

    // What the kick reads: the live controls.
    std::string TextoAscii() const override;
    std::string TextoPuerto() const override;
    bool CheckPrinter() const override;
    bool CheckTodoJunto() const override;
    bool CheckConPuntoyComa() const override;

  private:
    // Greys out, with the tip, each control whose setting a policy fixes.
    void MostrarPolitica();
    void LeerBloqueo();

    void FijarCheckPrinter(int valor);
    void LeerTecla();
    // A kick of the live controls, through the coordinator; `antesDeLaCaja`
    // hears how it ended, before a failure's box. None: another kick is under
    // way, and nothing is done.
    std::optional<ResultadoApertura> Kick(
        OrigenApertura origen,
        const std::function<void(const ResultadoApertura&)>& antesDeLaCaja = {},
        const std::string& pagina = {});
    // Hides the minimized window and adds the icon; without an icon the
    // window stays shown, on the taskbar. Steps 20 and 30 of Form_Resize.
    void IrABandeja(Linea& linea);
    void PonerSystray();
    void QuitarSystray();
    void Restaurar(Linea& linea, int primerPaso);

    VistaPrincipal& vista_;
    ServiciosPrincipal servicios_;
    int modales_ = 0;
    DialogsContados dialogs_{servicios_.dialogs, modales_};
    SelectorContado selector_{servicios_.selector, modales_};
    Parametros parametros_;
    // The key that opens the drawer: F12 until start-up reads KovraTecla.
    TeclaApertura tecla_;
    SensorPrincipal sensor_{parametros_, dialogs_, servicios_.sensor,
                            [this](OrigenApertura o) -> std::optional<ResultadoApertura> {
                                if (ModalAbierto()) return std::nullopt;
                                return Kick(o);
                            }};
    // What the administrator set, as found when each value was last read.
    PoliticaControles politica_;
    IconoPrincipal icono_{servicios_.bandeja};
    bool midePixeles_ = false;
    double twipsPorPixel_ = 15;
};
