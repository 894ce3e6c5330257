#pragma once
// The drawer's sensor, read through the receipt printer: ESC/POS printers
// answer DLE EOT 1 with one byte whose bit 2 is the level of pin 3 of the
// drawer connector, where most drawers wire their switch. Which level means
// "open" differs between drawers, hence KovraSensor's two values.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "drawer/EnviarApertura.h"
#include "platform/ConsultaEstado.h"

// DLE EOT 1: the printer's status, answered at once.
inline constexpr std::string_view kPreguntaEstado{"\x10\x04\x01", 3};
// A question's whole time: the connection or the port's opening, the
// question, the answer.
inline constexpr std::chrono::milliseconds kEsperaRespuesta{500};
// The first question after a kick: the drawer needs a moment to spring open.
inline constexpr std::chrono::milliseconds kEsperaComprobacion{300};
inline constexpr int kAvisoPorDefecto = 30;

inline constexpr char kTipCajonAbierto[] = "Cajón abierto";
inline constexpr char kSinRespuestaSensor[] = "Sin respuesta del sensor";
inline constexpr char kNoSeVioAbrirse[] = "No se vio abrirse";
inline constexpr char kSinCambioSensor[] = "Sin cambio en 10 min: compruebe el sensor";
inline constexpr char kCajonNoAbierto[] = "El cajón no se ha abierto";

// KovraSensor: 0 off, 1 open with pin 3 high, 2 open with pin 3 low.
enum class ModoSensor { Apagado = 0, PinAlto = 1, PinBajo = 2 };

// The key's value; "" and "0" are off; any other than "1" and "2", nothing.
std::optional<ModoSensor> LeerModoSensor(std::string_view valor);
// KovraAvisoSegundos: whole seconds, 0 for no warning; missing or not a
// number, the default.
int LeerAvisoSegundos(std::string_view valor);

// The box at start for a KovraSensor that does not read.
std::string TextoSensorNoValido(std::string_view valor);

// What one question found: a busy printer is no answer either, but the next
// question waits longer for it.
enum class LecturaCajon { Abierto, Cerrado, SinRespuesta, Ocupado };

// True for a status byte whose fixed bits are right.
bool RespuestaValida(std::uint8_t byte);
LecturaCajon LeerCajon(std::optional<std::uint8_t> respuesta, ModoSensor modo);

// The answer as a printer sends it: groups of Automatic Status Back (four
// bytes, the first with (b & 0x93) == 0x10, the others with bits 4 and 7
// clear), XON/XOFF and the echo of the question may come before or after it,
// unasked. The last byte that reads as a status is the answer;
// `aMedias` while a group has not come whole.
struct LecturaRespuesta {
    std::optional<std::uint8_t> estado;
    bool aMedias = false;
};
LecturaRespuesta LeerRespuesta(std::string_view bytes);

// One question: the status byte, and whether the printer was busy.
struct RespuestaEstado {
    std::optional<std::uint8_t> estado;
    bool ocupado = false;
};
RespuestaEstado PreguntarEstado(ConsultaEstado& consulta, const DestinoEstado& destino);
LecturaCajon LeerCajon(const RespuestaEstado& respuesta, ModoSensor modo);

// Where to ask after a kick that went out: a network printer or a serial
// port; nothing for every other route (or a kick that failed).
std::optional<DestinoEstado> DestinoDelSensor(const ResultadoApertura& apertura);
// The same for a port text, before any kick.
std::optional<DestinoEstado> DestinoDelPuerto(std::string_view puerto);

// Whole seconds from `desde` to `hasta`, none when `hasta` comes first.
int SegundosEntre(std::chrono::steady_clock::time_point desde,
                  std::chrono::steady_clock::time_point hasta);
// "Cerrado tras N s", "Sin respuesta del sensor tras N s abierto", "Abierto
// al salir tras N s"
std::string TextoCerrado(int segundos);
std::string TextoSinRespuestaTras(int segundos);
std::string TextoAbiertoAlSalir(int segundos);
// How many warnings are due after `segundosAbierto` seconds, one every
// `avisoSegundos` (none with 0).
int AvisosDebidos(int segundosAbierto, int avisoSegundos);
// "El cajón lleva abierto N s"
std::string TextoAviso(int segundos);

// The sensor's check: the drawer read closed, then after a kick. The value
// of KovraSensor that drawer needs, or nothing when no change was seen.
std::optional<ModoSensor> ModoComprobado(std::optional<std::uint8_t> cerrado,
                                         std::optional<std::uint8_t> abierto);
