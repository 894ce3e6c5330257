#pragma once
// What the main window's logic sees of the window: its controls by name, its
// state and visibility. The Win32 window implements it; tests use a fake.

#include <optional>
#include <string>

// The controls of frmAbrirCajon that the logic reads or writes.
enum class Control {
    Command,           // "F12", or the key that KovraTecla names
    Command1,          // "Cerrar (Minimizar)"
    cmdEnd,            // "Salir"
    cmdSelectPrinter,  // "Seleccionar impresora"
    txtPuerto,
    txtAscii,
    txtPrinter,
    CheckPrinter,
    CheckConPuntoyComa,
    CheckTodoJunto,
    lblIni,
    lblInfo,
    LabelComentario,
};

inline constexpr int kDesmarcado = 0;
inline constexpr int kMarcado = 1;
inline constexpr int kVentanaNormal = 0;
inline constexpr int kVentanaMinimizada = 1;

class VistaPrincipal {
  public:
    virtual ~VistaPrincipal() = default;

    // Text of a text box, or caption of a button, check box or label.
    virtual std::string Texto(Control control) const = 0;
    virtual void FijarTexto(Control control, const std::string& texto) = 0;

    // Check state of a check box (kDesmarcado / kMarcado). Setting it does not
    // run the click handling: the logic does that when the state changes.
    virtual int Valor(Control control) const = 0;
    virtual void FijarValor(Control control, int valor) = 0;

    // The control that has the keyboard focus, if one of the window's has it.
    virtual std::optional<Control> ControlConFoco() const = 0;

    virtual bool Habilitado(Control control) const = 0;
    virtual void Habilitar(Control control, bool habilitado) = 0;

    // The tip over a control, shown also while it is greyed out: what the
    // administrator's policy set. A view with no pointer ignores both.
    virtual void FijarConsejo(Control /*control*/, const std::string& /*consejo*/) {}
    // The window menu's "Comprobar el sensor del cajón…": greyed out or not,
    // with the tip beside its text.
    virtual void FijarComprobarSensor(bool /*habilitado*/, const std::string& /*consejo*/) {}

    // The window: its caption, state (kVentanaNormal / kVentanaMinimizada),
    // visibility and place among the windows.
    virtual std::string Caption() const = 0;
    virtual int WindowState() const = 0;
    virtual void FijarWindowState(int estado) = 0;
    virtual void Ocultar() = 0;
    virtual void Mostrar() = 0;
    virtual void TraerAlFrente() = 0;

    // Ends the program: the window is released and the process ends at once.
    virtual void TerminarPrograma() = 0;
};
