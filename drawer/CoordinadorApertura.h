#pragma once
// The one road of a kick. Every trigger (the key, the button, another
// program's /abrir with or without a running copy, a web page, the sensor's
// check, the drawer assistant) hands a request here, with who asks, and gets
// the outcome back. Only here are the settings read at the moment of the kick,
// the one-kick guard held, the record line and the event written, and the
// sensor paused and told: a trigger that built its own would forget one.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "drawer/ElegirImpresora.h"
#include "drawer/EnviarApertura.h"
#include "drawer/RegistroAperturas.h"

// What the drawer's sensor does around each kick: no status question holds
// the port while the kick goes out, and the watch starts once it is over.
class SensorDePatadas {
  public:
    virtual ~SensorDePatadas() = default;
    virtual void AntesDePatada() = 0;
    virtual void TrasPatada(const ResultadoApertura& resultado) = 0;
};

struct SolicitudApertura {
    OrigenApertura origen = OrigenApertura::Tecla;
    // The record's name of the trigger: the key's ("F12"), or a page's
    // origin and motive.
    std::string quien;
    // What the kick sends: a window's live controls, or an assistant's try.
    // None: the settings as they stand now (file and policy).
    const ControlesApertura* controles = nullptr;
    // Hears how the kick ended, before a failure's box; it must not throw.
    std::function<void(const ResultadoApertura&)> alTerminar = {};
    // Where a failure's stop box goes; none: the coordinator's own boxes.
    Dialogs* cajas = nullptr;
};

struct ServiciosCoordinador {
    PortOpener& puertos;
    Printing& impresora;
    // The file (with its path set) and the administrator's values.
    Parametros& parametros;
    Dialogs& dialogs;
    NetworkOpener* red = nullptr;
    // None: nothing is recorded.
    RegistroAperturas* registro = nullptr;
    // None: no sensor.
    SensorDePatadas* sensor = nullptr;
};

class CoordinadorApertura {
  public:
    explicit CoordinadorApertura(ServiciosCoordinador servicios) : servicios_(servicios) {}

    // One kick. None: another kick is under way (a print job lets messages
    // through, and with them F12, a click, /abrir or a web page), and
    // nothing is done. A failure has been shown in its stop box by the time
    // this returns.
    std::optional<ResultadoApertura> Patear(const SolicitudApertura& solicitud);
    bool Ocupado() const { return pateando_; }
    // How many kicks were started: one that another trigger made while the
    // assistant watched its drawer changes it.
    std::uint64_t Patadas() const { return patadas_; }

    // The sensor is made after the window that owns this.
    void FijarSensor(SensorDePatadas* sensor) { servicios_.sensor = sensor; }

  private:
    ServiciosCoordinador servicios_;
    bool pateando_ = false;
    std::uint64_t patadas_ = 0;
};

// A kick's settings held as values, with the whole sequence in one write
// without CR LF, as every start sets the two boxes: the settings as they
// stand (LeerAjustesApertura), or one try of the drawer assistant.
class AjustesApertura : public ControlesApertura {
  public:
    AjustesApertura(std::string puerto, std::string ascii, bool impresora)
        : puerto_(std::move(puerto)), ascii_(std::move(ascii)), impresora_(impresora) {}
    std::string TextoAscii() const override { return ascii_; }
    std::string TextoPuerto() const override { return puerto_; }
    bool CheckPrinter() const override { return impresora_; }
    bool CheckTodoJunto() const override { return true; }
    bool CheckConPuntoyComa() const override { return true; }

  private:
    std::string puerto_;
    std::string ascii_;
    bool impresora_;
};

// KovraPuerto, KovraASCII and KovraTipo at the moment of the kick (the
// administrator's value before the file's). On the printer route the
// remembered printer is made current without asking; one that cannot be
// leaves the current printer as it is, and the kick's stop box tells what
// failed.
AjustesApertura LeerAjustesApertura(Parametros& parametros, Printing& impresora);

// The chooser that is never shown: as one closed without choosing.
struct SinSelector : SelectorImpresora {
    void Mostrar(std::string&) override {}
};

// The defaults every reader of the kick's keys names.
namespace defecto {
inline constexpr const char* KovraPuerto = "LPT1:";
inline constexpr const char* KovraASCII = "27 112 0 10 100";
inline constexpr const char* KovraTipo = "1";
}  // namespace defecto
