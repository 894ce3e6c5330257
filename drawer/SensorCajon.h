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
inline constexpr std::chrono::milliseconds kEsperaRespuesta{500};
inline constexpr std::chrono::milliseconds kIntervaloSensor{500};
// The check reads the drawer again this long after its kick.
inline constexpr std::chrono::milliseconds kEsperaComprobacion{300};
inline constexpr int kAvisoPorDefecto = 30;

inline constexpr char kTipCajonAbierto[] = "Cajón abierto";
inline constexpr char kSinRespuestaSensor[] = "Sin respuesta del sensor";

// KovraSensor: 0 off, 1 open with pin 3 high, 2 open with pin 3 low.
enum class ModoSensor { Apagado = 0, PinAlto = 1, PinBajo = 2 };

// The key's value; "" and "0" are off; any other than "1" and "2", nothing.
std::optional<ModoSensor> LeerModoSensor(std::string_view valor);
// KovraAvisoSegundos: whole seconds, 0 for no warning; missing or not a
// number, the default.
int LeerAvisoSegundos(std::string_view valor);

// The box at start for a KovraSensor that does not read.
std::string TextoSensorNoValido(std::string_view valor);

enum class LecturaCajon { Abierto, Cerrado, SinRespuesta };

// True for a status byte whose fixed bits are right.
bool RespuestaValida(std::uint8_t byte);
LecturaCajon LeerCajon(std::optional<std::uint8_t> respuesta, ModoSensor modo);

// Where to ask after a kick that went out: a network printer or a serial
// port; nothing for every other route (or a kick that failed).
std::optional<DestinoEstado> DestinoDelSensor(const ResultadoApertura& apertura);
// The same for a port text, before any kick.
std::optional<DestinoEstado> DestinoDelPuerto(std::string_view puerto);

// Whole seconds from `desde` to `hasta`, none when `hasta` comes first.
int SegundosEntre(std::chrono::steady_clock::time_point desde,
                  std::chrono::steady_clock::time_point hasta);
// "Cerrado tras N s"
std::string TextoCerrado(int segundos);
// How many warnings are due after `segundosAbierto` seconds, one every
// `avisoSegundos` (none with 0).
int AvisosDebidos(int segundosAbierto, int avisoSegundos);
// "El cajón lleva abierto N s"
std::string TextoAviso(int segundos);

// The sensor's check: the drawer read closed, then after a kick. The value
// of KovraSensor that drawer needs, or nothing when no change was seen.
std::optional<ModoSensor> ModoComprobado(std::optional<std::uint8_t> cerrado,
                                         std::optional<std::uint8_t> abierto);
