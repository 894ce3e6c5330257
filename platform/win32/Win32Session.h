#pragma once
// The Windows session the program runs in.

#include "platform/Session.h"

class Win32Session : public Session {
  public:
    std::string NombreUsuario() override;
};
