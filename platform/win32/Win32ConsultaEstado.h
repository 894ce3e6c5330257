#pragma once
// The printer's status through Winsock (a network printer) or a serial port,
// one short connection or opening per question.

#include "platform/ConsultaEstado.h"

class Win32ConsultaEstado : public ConsultaEstado {
  public:
    Contestacion Preguntar(const DestinoEstado& destino, std::string_view pregunta,
                           std::chrono::milliseconds espera,
                           const std::function<bool(std::string_view)>& completa) noexcept override;
    bool AbriendoAun() noexcept override;
};
