#pragma once
// A serial port named in the port box, with or without the line settings in
// the form of the system's MODE command:
//   COM1:                       the system's settings, as they stand
//   COM1:9600,N,8,1             baud, parity, data bits, stop bits; no handshake
//   COM1:9600,N,8,1,P           with the handshake: X (XON/XOFF), P (hardware)
//   COM3:baud=9600 parity=n data=8 stop=1 [xon=on] [octs=on] [rts=hs] ...
// COM10 and above exist only as "\\.\COM10": the plain name opens nothing.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/OutputPort.h"

struct PuertoSerie {
    std::string dispositivo;  // "\\.\COM1": every number opens so
    std::string ajustes;      // after the colon, blanks trimmed; empty: as they stand
    bool ajustesValidos = true;
};

// The serial port that `texto` names ("COM1" to "COM255", any case, with or
// without the colon, or "\\.\COMn"), or nothing.
std::optional<PuertoSerie> LeerPuertoSerie(std::string_view texto);

// True for the settings forms above (an empty text too).
bool AjustesSerieValidos(std::string_view ajustes);

// The port open with its settings. Settings that do not read fail with 87
// (invalid parameter) before anything is opened.
std::unique_ptr<OutputPort> AbrirPuertoSerie(const PuertoSerie& puerto, PortOpener& puertos);
