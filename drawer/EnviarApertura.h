#pragma once
// The drawer kick: the code sequence to a port (or, when the port box names a
// printer on the network, over TCP to its raw port; when it names an installed
// printer, as a RAW job to that printer's queue), or a minimal print job to
// the current printer, whose driver opens the drawer.

#include <functional>
#include <optional>
#include <string>

#include "platform/Dialogs.h"
#include "platform/Fallo.h"
#include "platform/NetworkOpener.h"
#include "platform/OutputPort.h"
#include "platform/Printing.h"
#include "settings/Parametros.h"

// What a kick reads from the window, at the moment it runs.
class ControlesApertura {
  public:
    virtual ~ControlesApertura() = default;
    virtual std::string TextoAscii() const = 0;   // txtAscii
    virtual std::string TextoPuerto() const = 0;  // txtPuerto
    virtual bool CheckPrinter() const = 0;        // checked: through the printer driver
    virtual bool CheckTodoJunto() const = 0;      // checked: the whole sequence in one write
    virtual bool CheckConPuntoyComa() const = 0;  // checked: writes end without CR LF
};

// How a kick went out, and how it ended.
enum class ViaApertura { Puerto, Impresora, Raw, Red };
// Which end of a watch a line of the drawer's sensor tells, for those who
// sort the record's lines by kind rather than read their text.
enum class FinSensor { Ninguno, Cerrado, SinRespuesta, NoSeVioAbrirse, AbiertoAlSalir, SinCambio };
struct ResultadoApertura {
    ViaApertura via = ViaApertura::Puerto;
    std::string destino;         // the port text, or the printer's name
    std::optional<Fallo> fallo;  // empty when the kick was sent
    // What the drawer's sensor found after the kick, for the record's
    // "Resultado" in its place ("Cerrado tras 3 s"); empty for the kick itself.
    std::string sensor = {};
    FinSensor finSensor = FinSensor::Ninguno;
};

struct ServiciosApertura {
    PortOpener& puertos;
    Printing& impresora;
    Parametros& parametros;
    Dialogs& dialogs;
    // Called once the kick's output is over (the port closed, the job ended
    // or failed), before a failure's stop box: the box waits for the cashier,
    // what is told here need not. It must not throw.
    std::function<void(const ResultadoApertura&)> alTerminar = {};
    // Printers on the network; without it a network text fails the kick.
    NetworkOpener* red = nullptr;
    // A port text that would be a file, a share or a device other than a
    // port fails the kick (only "LPT1:", "COM3", "\\.\COM10"... is opened):
    // it was put there by a user other than the one who kicks, who would
    // write it with their own rights.
    bool soloDispositivos = false;
};

// The description of that failure, with the system's number 5.
inline constexpr char kTextoRutaDeOtroUsuario[] =
    "Acceso denegado: otros usuarios pueden cambiar PARAMETROS.INI, y un archivo o una carpeta "
    "compartida como puerto solo se usa si lo fija el administrador";

// One kick. Never fails to its caller: a failure ends the kick, closes the
// port (or deletes the RAW job) if it was open, and shows the kick's stop
// message.
ResultadoApertura EnviarApertura(const ControlesApertura& controles, ServiciosApertura servicios);

// "N.D" CR LF "Puerto:" + port CR LF "Línea: 0"
std::string TextoFalloApertura(const Fallo& fallo, const std::string& puerto);
