#pragma once
// The Application log through the classic event-log calls, which every
// Windows from 7 on has. The source's handle is registered once, at the first
// event, and kept to the end (a new one only after the service restarts);
// one thread reports (the record's writer).

#include <cstdint>

#include "platform/RegistroEventos.h"
#include "platform/win32/Unico.h"

inline constexpr wchar_t kFuenteEventos[] = L"AbrirCajon";

class Win32RegistroEventos final : public RegistroEventos {
  public:
    bool Informar(TipoEvento tipo, std::uint32_t id,
                  std::span<const std::string> textos) noexcept override;

  private:
    FuenteEventosUnica fuente_;
    std::uint64_t proximoIntento_ = 0;  // tick count; 0: at once
};
