#pragma once
// The receipt printer's answer to a real-time status request, on the route
// the kick took: a short connection to a network printer, or an opening of a
// serial port. Each question has its own, so that the sales program can print
// between two of them.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct DestinoEstado {
    bool red = false;
    std::string host;  // network: name or address, IPv6 without brackets
    std::uint16_t puerto = 0;
    std::string dispositivo;  // serial: "\\.\COM1"
    std::string ajustes;      // serial: MODE settings, or empty

    bool operator==(const DestinoEstado&) const = default;
};

// Every byte that came back, and whether the printer was busy: a serial port
// that another program holds, or a network printer that refused or did not
// answer (one that serves one connection at a time while it prints).
struct Contestacion {
    std::string bytes;
    bool ocupado = false;
};

class ConsultaEstado {
  public:
    virtual ~ConsultaEstado() = default;
    // Sends `pregunta` and reads until `completa` finds the whole answer in
    // the bytes so far, or until `espera` is over (the connection, or the
    // opening of the port with its settings, included); then reads away what
    // is left before closing, so that the printer's connection is not reset.
    virtual Contestacion Preguntar(
        const DestinoEstado& destino, std::string_view pregunta, std::chrono::milliseconds espera,
        const std::function<bool(std::string_view)>& completa) noexcept = 0;
    // True while an opening of a port that a question stopped waiting for is
    // still under way: the port is held until it ends, so a kick must wait.
    virtual bool AbriendoAun() noexcept { return false; }
};
