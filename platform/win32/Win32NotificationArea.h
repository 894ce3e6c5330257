#pragma once
// The notification-area icon through the shell's ANSI call and its first,
// smallest record, as the program has always registered it.

#include "platform/NotificationArea.h"

class Win32NotificationArea : public NotificationArea {
  public:
    std::uint32_t TamanoRegistro() const override;
    bool Agregar(const RegistroIcono& registro) override;
    bool Quitar(const RegistroIcono& registro) override;
};
