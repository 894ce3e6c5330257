#pragma once
// The record's lines in the system's event log, for a chain that collects
// its tills' logs (Windows Event Forwarding, Azure Monitor, a SIEM): one event
// ID per kind of line, the record's fields as its insertion strings, in the
// order of the file's header (%1 Fecha ... %8 Perdidas). The IDs and texts
// are those of the message table, resources/Eventos.mc.

#include <array>
#include <cstdint>
#include <string>

#include "drawer/EnviarApertura.h"
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
inline constexpr std::array kTodas{kEnviada,        kFallida,      kCerrado,   kAbiertoAlSalir,
                                   kNoSeVioAbrirse, kSinRespuesta, kSinCambio, kOrigenRechazado};
}  // namespace eventos

// KovraEventos with this value turns the reports off; missing or any other
// value leaves them on.
inline constexpr std::string_view kEventosApagados = "0";
inline constexpr std::size_t kCamposEvento = 8;

// A line's kind: the sensor's by the end it tells, a kick's by its outcome.
ClaseEvento ClaseDeLinea(const ResultadoApertura& resultado);

// The insertion strings, in place: the fields as the record has them, each
// cut to a size the log takes, with control characters (a web page's text
// may hold any) shown as "?" and '%' as the fullwidth "％".
void TextosEvento(std::array<std::string, kCamposEvento>& campos);
