#pragma once
// Before a kick's job is handed to a printer's queue. The spooler takes a job
// for a printer that is switched off, paused or out of paper and keeps it:
// when the printer comes back, every waiting kick runs and the drawer opens
// with nobody at the till. So a printer that cannot print now refuses the
// kick, and at most one kick of this program ever waits in a queue.

#include <string>
#include <string_view>

#include "platform/Printing.h"

// False when the state says the printer cannot print now: paused, in error,
// out of paper, offline, not available, door open, or set to be used
// offline.
bool ImpresoraLista(const EstadoImpresora& estado);

// Fails with 1906 when the printer's state says it cannot print now (a state
// that cannot be read does not stop the kick), then deletes this user's jobs
// named `documento` still waiting in its queue.
void PrepararCola(Printing& impresora, const std::string& nombre, std::string_view documento);
