#pragma once
// The start's events (drawer/EventosApertura.h, 1300 on), for a chain that
// lists its tills' settings from their logs: one with the version and each
// setting with where its value comes from, then one for each setting that
// does not read, which shows its box at start as well. The bridge's port
// that cannot be taken is told where it is tried (EventoPuertoWebOcupado).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "drawer/RegistroAperturas.h"
#include "platform/Idn.h"
#include "settings/Parametros.h"

struct EventoInicio {
    ClaseEvento clase;
    std::vector<std::string> textos;
    bool operator==(const EventoInicio&) const = default;
};

// %1 the version, then "Clave=valor (origen)" for each setting the start
// event names: the origin is "política" for the administrator's value,
// "archivo" for the file's, "por defecto" when neither gives one.
std::vector<std::string> TextosInicio(Parametros& parametros, std::string_view version);

// The start event, then the problems of KovraTecla, KovraSensor,
// KovraWebOrigenes and KovraWebPuerto (this one only with the bridge on), by
// the rules their boxes follow; %1 is the value as read.
std::vector<EventoInicio> EventosInicio(Parametros& parametros, std::string_view version,
                                        ConversorIdn idn);

// %1 the port, %2 the system's number, %3 its text.
EventoInicio EventoPuertoWebOcupado(std::uint16_t puerto, const Fallo& fallo);

// EventosInicio, handed to the record's writer, which reports them unless
// KovraEventos turns the events off.
void InformarInicio(RegistroAperturas& registro, Parametros& parametros, std::string_view version,
                    ConversorIdn idn);
