#pragma once
// RAW jobs on a printer's queue, written with the spooler's own calls
// (OpenPrinter, StartDocPrinter, WritePrinter, EndDocPrinter): the bytes reach
// the printer untouched, whatever its port (USB001 cannot be opened as a file).

#include <memory>
#include <string>

#include "platform/OutputPort.h"

// Opens the printer and starts a job of data type "RAW" named `documento`.
// Close ends the job, which hands it to the printer, and follows it for about
// a second: stuck meanwhile, it is deleted and Close fails with 1906.
// Destroyed before Close, the job is deleted from the queue. Throws Fallo.
std::unique_ptr<OutputPort> AbrirTrabajoRaw(const std::string& impresora,
                                            const std::string& documento);
