#pragma once
// The printer's status byte through Winsock (a network printer) or a serial
// port, one short connection or opening per question.

#include <mutex>

#include "platform/ConsultaEstado.h"

class Win32ConsultaEstado : public ConsultaEstado {
  public:
    Win32ConsultaEstado() = default;
    ~Win32ConsultaEstado() override;
    Win32ConsultaEstado(const Win32ConsultaEstado&) = delete;
    Win32ConsultaEstado& operator=(const Win32ConsultaEstado&) = delete;

    std::optional<std::uint8_t> Preguntar(const DestinoEstado& destino, std::string_view pregunta,
                                          std::chrono::milliseconds espera) noexcept override;

  private:
    std::optional<std::uint8_t> PorRed(const DestinoEstado& destino, std::string_view pregunta,
                                       std::chrono::milliseconds espera);
    std::mutex mutex_;
    bool iniciado_ = false;  // Winsock, started by the first network question
};
