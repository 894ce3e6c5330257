#pragma once
// The program's command line: another program (the till's point-of-sale
// program, a batch file, the installer) asks for one drawer opening with
// /abrir (and, with /esperar, for the drawer's close), or for the end of the
// running copy with /salir. The exit code tells it how that went.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "drawer/CoordinadorApertura.h"
#include "drawer/EnviarApertura.h"
#include "drawer/EstadoCajon.h"
#include "drawer/SinApertura.h"
#include "platform/Dialogs.h"

enum class Orden {
    Ninguna,   // no arguments: the program as always
    Abrir,     // /abrir or -abrir, in any case
    Salir,     // /salir or -salir, in any case
    NoValida,  // anything else
    // /abrir /esperar[:segundos]: the opening, then the drawer's close
    AbrirYEsperar,
    // /asistente: the drawer assistant, in the running copy or a new one
    Asistente,
};

// The arguments after the program's name.
Orden LeerOrden(std::span<const std::string> argumentos);
// The seconds of /esperar: after its colon, 1 to 3600; 60 without.
inline constexpr int kEsperaCierre = 60;
int SegundosDeEspera(std::span<const std::string> argumentos);

// Exit codes. The failures are the system's numbers of the same meaning.
namespace salida {
inline constexpr int kBien = 0;
inline constexpr int kSinCopia = 1;                // /salir with no copy running
inline constexpr int kSinSensor = 1;               // /esperar: the sensor is off or does not answer
inline constexpr int kOrdenNoValida = 87;          // ERROR_INVALID_PARAMETER
inline constexpr int kOcupado = numero::kOcupado;  // the copy has a box open
inline constexpr int kSinRespuesta = numero::kSinRespuesta;  // /esperar: still open
}  // namespace salida

// How long a process with an order waits for the running copy's answer, or
// for its end.
inline constexpr unsigned kEsperaOrdenMilisegundos = 10000;

// 0 for a kick that went out; otherwise the number its stop message shows,
// where a number of 0 or less becomes 1 so that it still reads as a failure.
int CodigoDeSalida(const ResultadoApertura& resultado);

// The box for anything else on the command line.
inline constexpr const char* kTextoUso =
    "Uso: AbrirCajon.exe [/abrir [/esperar[:segundos]] | /salir | /asistente]\r\n"
    "\r\n"
    "Sin nada: abre el programa.\r\n"
    "/abrir: abre el cajón y termina.\r\n"
    "/abrir /esperar: abre el cajón y espera a que se cierre (60 segundos como mucho, o "
    "los que se digan, hasta 3600).\r\n"
    "/salir: cierra el programa abierto.\r\n"
    "/asistente: abre el asistente del cajón, que busca la impresora y la orden que lo abren.\r\n"
    "\r\n"
    "También -abrir y -salir, en mayúsculas o en minúsculas.";

// The copy of the program that already runs in this user's session, as a new
// process sees it.
class CopiaAbierta {
  public:
    virtual ~CopiaAbierta() = default;
    virtual bool Hay() = 0;
    // Hands one opening over; the copy's exit code, or none when it did not
    // answer within the wait.
    virtual std::optional<int> Abrir() = 0;
    // Asks it to end as "Salir" ends it; true when it ended within the wait.
    virtual bool Salir() = 0;
    // Its drawer as its watcher knows it (none: the sensor is off); nothing
    // at all when it did not answer.
    virtual std::optional<std::optional<EstadoCajon>> Cajon() = 0;
    // Has it open its drawer assistant; false when it could not be told.
    virtual bool Asistente() = 0;
};

// The copy's drawer in one number, the answer to a window message.
std::uint32_t EmpaquetarCajon(const std::optional<EstadoCajon>& estado);
std::optional<EstadoCajon> DesempaquetarCajon(std::uint32_t numero);

// Carries out an order and gives the exit code; none for Orden::Ninguna,
// which leaves the program to start as always, and for /asistente with no
// copy running, which starts it with its assistant open. `abrirAqui` makes the opening
// in this process when no copy runs. /esperar looks at the copy's drawer
// every 200 ms, `dormir` waiting between two looks, for `esperaSegundos`.
std::optional<int> CumplirOrden(Orden orden, CopiaAbierta& copia, Dialogs& dialogs,
                                const std::function<int()>& abrirAqui, int esperaSegundos = 0,
                                const std::function<void(std::chrono::milliseconds)>& dormir = {});

// The opening of a program just started, with no window (/abrir with no
// copy running): the settings as they stand, file and policy, through the
// one coordinator of kicks; the printer chooser is never shown and nothing is
// written to the parameter file. Recorded as the order's; the kick's stop box
// is the only box. The exit code.
int AbrirSinVentana(CoordinadorApertura& apertura);
