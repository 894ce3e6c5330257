#pragma once
// The failures of the spooler and printer-DC calls, shared by the documents
// drawn with GDI and the RAW jobs.

#include "platform/Fallo.h"

// What the user reads when a printing call fails without a system error number.
inline constexpr char kNoSeAbreImpresora[] = "No se puede abrir la impresora";
inline constexpr char kNoAceptaDocumento[] = "La impresora no ha aceptado el documento";
inline constexpr char kNoEscribeImpresora[] = "No se puede escribir en la impresora";
inline constexpr char kDocumentoRechazado[] = "La impresora ha rechazado el documento";

// The failure of a printing call that just failed. GDI calls on a printer DC
// do not always set the last error: the caller clears it before the call, and
// a failure without one gets the program's own printer failure (482) with
// `descripcion`.
Fallo FalloImpresion(const char* descripcion);
