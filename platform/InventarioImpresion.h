#pragma once
// What the drawer assistant asks the system about where a drawer may hang:
// the installed printers with their port and driver, how a Standard TCP/IP
// port reaches its printer, and which serial and parallel ports exist.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ImpresoraInstalada {
    std::string nombre;
    std::string puerto;  // as Windows names it: "USB001", "IP_192.168.1.50", "LPT1:"
    std::string controlador;
};

// A Standard TCP/IP port's settings, as its monitor keeps them.
struct PuertoTcpIp {
    std::string host;  // the host name, or the address when it has none
    std::uint16_t puerto = 0;
    bool raw = false;  // the RAW protocol (not LPR)
};

class InventarioImpresion {
  public:
    virtual ~InventarioImpresion() = default;
    // Empty when the spooler does not answer.
    virtual std::vector<ImpresoraInstalada> Impresoras() noexcept = 0;
    // None for a port that is no Standard TCP/IP port.
    virtual std::optional<PuertoTcpIp> PuertoEstandar(const std::string& puerto) noexcept = 0;
    // "COM1", "LPT1" ...: the ports this machine has, in that order.
    virtual std::vector<std::string> PuertosLocales() noexcept = 0;
};
