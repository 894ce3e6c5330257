#pragma once
// The drawer's state as the watcher last knew it, for the till's program:
// the browser bridge's /v1/estado and AbrirCajon.exe /abrir /esperar.

#include <cstdint>
#include <optional>

#include "drawer/EnviarApertura.h"

struct EstadoCajon {
    // Open from the first open reading after a kick until the watch ends
    // with a close; unknown before the first watch and after one that
    // ended without an answer.
    enum class Cajon { Desconocido, Abierto, Cerrado } cajon = Cajon::Desconocido;
    int desde = 0;                             // while open: whole seconds since it was seen open
    bool vigilando = false;                    // a watch is under way
    FinSensor ultimoFin = FinSensor::Ninguno;  // how the last watch ended
    std::uint32_t vigilancias = 0;             // watches begun so far
};
