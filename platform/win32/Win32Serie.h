#pragma once
// Serial ports: opened by their "\\.\COMn" name, with the line settings of
// the port box and time-outs, so that neither a kick nor a status question
// waits for ever on a printer that is off.

#include <windows.h>

#include <string>

// Opens `dispositivo` for reading and writing; `ajustes` in MODE form (empty:
// the system's settings) go through BuildCommDCB and SetCommState. Every
// write gives up after `escrituraMs`, every read after `lecturaMs`. Throws
// Fallo with the system's number; nothing stays open then.
HANDLE AbrirSerie(const std::string& dispositivo, const std::string& ajustes, DWORD escrituraMs,
                  DWORD lecturaMs);

// Total time-outs on a port's handle; false where its driver refuses them.
bool LimitarEspera(HANDLE puerto, DWORD escrituraMs, DWORD lecturaMs);
