#pragma once
// The record's lines in the system's event log, for a chain that collects
// its tills' logs (Windows Event Forwarding, Azure Monitor, a SIEM): one event
// ID per kind of line, the record's fields as its insertion strings, in the
// order of the file's header (%1 Fecha ... %8 Perdidas). The IDs and texts
// are those of the message table, resources/Eventos.mc.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "drawer/EnviarApertura.h"
#include "platform/Fallo.h"
#include "platform/RegistroEventos.h"

struct ClaseEvento {
    std::uint32_t id;
    TipoEvento tipo;
    bool operator==(const ClaseEvento&) const = default;
};

namespace eventos {
inline constexpr ClaseEvento kEnviada{1000, TipoEvento::Informacion};
inline constexpr ClaseEvento kFallida{1001, TipoEvento::Error};
inline constexpr ClaseEvento kCerrado{1100, TipoEvento::Informacion};
inline constexpr ClaseEvento kAbiertoAlSalir{1101, TipoEvento::Aviso};
inline constexpr ClaseEvento kNoSeVioAbrirse{1102, TipoEvento::Aviso};
inline constexpr ClaseEvento kSinRespuesta{1103, TipoEvento::Aviso};
inline constexpr ClaseEvento kSinCambio{1104, TipoEvento::Aviso};
inline constexpr ClaseEvento kOrigenRechazado{1200, TipoEvento::Aviso};
// Refused web requests beyond the first 64 origins told one by one (1200),
// with 1200's fields: %4 the latest, %8 how many since the last such event.
inline constexpr ClaseEvento kOrigenesRechazados{1308, TipoEvento::Aviso};
inline constexpr std::array kTodas{kEnviada,        kFallida,         kCerrado,
                                   kAbiertoAlSalir, kNoSeVioAbrirse,  kSinRespuesta,
                                   kSinCambio,      kOrigenRechazado, kOrigenesRechazados};

// The start: the version and each setting with where it comes from; then
// what keeps a part from working, each told by a box as well. Their strings
// are their own (EventosInicio.h), not the record's fields.
inline constexpr ClaseEvento kInicio{1300, TipoEvento::Informacion};
inline constexpr ClaseEvento kPuertoWebOcupado{1301, TipoEvento::Error};
inline constexpr ClaseEvento kPuertoWebNoValido{1302, TipoEvento::Error};
inline constexpr ClaseEvento kTeclaNoValida{1303, TipoEvento::Aviso};
inline constexpr ClaseEvento kSensorNoValido{1304, TipoEvento::Aviso};
inline constexpr ClaseEvento kOrigenesDescartados{1305, TipoEvento::Aviso};
inline constexpr ClaseEvento kRegistroSinEscribir{1306, TipoEvento::Error};
inline constexpr ClaseEvento kPoliticaInservible{1307, TipoEvento::Error};
inline constexpr std::array kArranque{
    kInicio,         kPuertoWebOcupado,    kPuertoWebNoValido,   kTeclaNoValida,
    kSensorNoValido, kOrigenesDescartados, kRegistroSinEscribir, kPoliticaInservible};
}  // namespace eventos

// KovraEventos with this value turns the reports off; missing or any other
// value leaves them on.
inline constexpr std::string_view kEventosApagados = "0";
inline constexpr std::size_t kCamposEvento = 8;

// A line's kind: the sensor's by the end it tells, a kick's by its outcome.
ClaseEvento ClaseDeLinea(const ResultadoApertura& resultado);

// The insertion strings, in place: the fields as the record has them (or a
// start event's texts), each cut to a size the log takes, as TextoVisible
// shows it, and with '%' as the fullwidth "％".
void TextosEvento(std::span<std::string> campos);

// A failure's description as an event shows it: without the line break and
// blanks that the system's texts end in.
std::string TextoDeFallo(const Fallo& fallo);
