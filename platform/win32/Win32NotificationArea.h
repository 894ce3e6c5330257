#pragma once
// The notification-area icon through the shell's ANSI call and its first,
// smallest record, as the program has always registered it; the tip in the
// system's ANSI code page, which is how the shell reads it.

#include "platform/NotificationArea.h"

class Win32NotificationArea : public NotificationArea {
  public:
    std::uint32_t TamanoRegistro() const override;
    std::string TextoDeTip(const std::string& utf8, std::size_t maximo) const override;
    bool Agregar(const RegistroIcono& registro) override;
    bool Quitar(const RegistroIcono& registro) override;
};
