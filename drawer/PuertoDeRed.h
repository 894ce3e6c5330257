#pragma once
// A receipt printer on the network, named in the port box instead of a port:
//   host:puerto              192.168.1.50:9100, impresora-caja:9100
//   [IPv6]:puerto            [fd00::50]:9100
//   tcp://host[:puerto]      tcp://[IPv6][:puerto] too; "tcp://" in any case
// The port is 1 to 65535 in decimal digits, 9100 (the raw port) when a tcp://
// text leaves it out. A host is an IPv4 address or a name of two or more
// characters, so that "C:..." stays a drive. Blanks around the text do not
// count. Any other text without '\' or '/' that ends in ':' and digits, with
// two characters or more before them that name no device, was meant as an
// address too ("Mi impresora:9100"): it is malformed, never a file. "COM10:9600"
// and the like are devices, never a computer's name.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/NetworkOpener.h"
#include "platform/OutputPort.h"

inline constexpr std::uint16_t kPuertoRaw = 9100;

enum class FormaPuerto {
    NoDeRed,     // a device, a path or a printer's name: the text keeps that meaning
    DeRed,       // host and puerto hold the printer's address
    MalFormado,  // looks like an address but is none (port 0, 65536, letters or none; no host,
                 // or a host that no name can be)
};

struct PuertoDeRed {
    FormaPuerto forma = FormaPuerto::NoDeRed;
    std::string host;  // IPv6 without its brackets
    std::uint16_t puerto = 0;
};

// What the port text names, read before the printer names and the files.
PuertoDeRed LeerPuertoDeRed(std::string_view texto);

// The connection to the printer that `puerto` names. A malformed text fails
// with 87 (invalid parameter) and never becomes a file.
std::unique_ptr<OutputPort> ConectarPuertoDeRed(const PuertoDeRed& puerto, NetworkOpener* red);
