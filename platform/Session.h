#pragma once
// The session the program runs in: who is signed in at the till.

#include <string>

class Session {
  public:
    virtual ~Session() = default;
    // The user's sign-in name (UTF-8); empty when the system cannot tell.
    virtual std::string NombreUsuario() = 0;
};
