#pragma once
// The printer's status byte through Winsock (a network printer) or a serial
// port, one short connection or opening per question.

#include "platform/ConsultaEstado.h"

class Win32ConsultaEstado : public ConsultaEstado {
  public:
    std::optional<std::uint8_t> Preguntar(const DestinoEstado& destino, std::string_view pregunta,
                                          std::chrono::milliseconds espera) noexcept override;

  private:
    static std::optional<std::uint8_t> PorRed(const DestinoEstado& destino,
                                              std::string_view pregunta,
                                              std::chrono::milliseconds espera);
};
