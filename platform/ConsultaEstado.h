#pragma once
// The receipt printer's answer to a real-time status request, on the route
// the kick took: a short connection to a network printer, or an opening of a
// serial port. Each question has its own, so that the sales program can print
// between two of them.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct DestinoEstado {
    bool red = false;
    std::string host;  // network: name or address, IPv6 without brackets
    std::uint16_t puerto = 0;
    std::string dispositivo;  // serial: "\\.\COM1"
    std::string ajustes;      // serial: MODE settings, or empty
};

class ConsultaEstado {
  public:
    virtual ~ConsultaEstado() = default;
    // Sends `pregunta` and returns the first byte that comes back within
    // `espera`, connection included; nothing when none does or the printer
    // cannot be reached.
    virtual std::optional<std::uint8_t> Preguntar(const DestinoEstado& destino,
                                                  std::string_view pregunta,
                                                  std::chrono::milliseconds espera) noexcept = 0;
};
