#pragma once
// Before a kick's job is handed to a printer's queue. The spooler takes a job
// for a printer that is switched off, paused or out of paper and keeps it:
// when the printer comes back, every waiting kick runs and the drawer opens
// with nobody at the till. So a printer that cannot print now refuses the
// kick, and at most one kick of this program ever waits in a queue. The
// spooler may not know the printer's state until it tries to send it a job:
// a kick job stuck in the queue refuses the next kick too.

#include <string>
#include <string_view>

#include "platform/Printing.h"

// False when the state says the printer cannot print now: paused, in error,
// out of paper, offline, not available, door open, or set to be used
// offline.
bool ImpresoraLista(const EstadoImpresora& estado);

// What the check before a kick does with a job of this user in the queue:
// another document is left alone; a kick job that is stuck (see
// estado_trabajo::kAtascado) is deleted, even while it is being printed, and
// the new kick refused; one being sent is left to finish; one still waiting
// is deleted.
enum class DestinoTrabajo { Dejar, Borrar, BorrarYRechazar };
DestinoTrabajo DecidirTrabajo(const TrabajoEnCola& trabajo, std::string_view documento);

// Opens the printer's queue once, deletes this user's jobs named `documento`
// as DecidirTrabajo says, then fails with 1906 when a stuck one was found or
// the printer's state says it cannot print now. A queue or a state that
// cannot be read does not stop the kick.
void PrepararCola(Printing& impresora, const std::string& nombre, std::string_view documento);
