#pragma once
// The browser bridge's listener: TCP on 127.0.0.1 and [::1] only, on a
// thread of its own, each connection on its own thread, read with limits
// (the request in 5 s, at most kMaxConexionesWeb at once), answered with
// what `responder` makes of it and closed. Nothing here waits on the window.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "bridge/PeticionHttp.h"

inline constexpr int kMaxConexionesWeb = 8;
inline constexpr unsigned kLimitePeticionWebMs = 5000;

class Win32EscuchaWeb {
  public:
    using Responder = std::function<std::string(const LectorPeticion&)>;

    // Takes the port on both loopback addresses (IPv4 alone where the system
    // has no IPv6) and starts listening. Throws Fallo with the system's
    // number when the port cannot be taken (10048: in use).
    Win32EscuchaWeb(std::uint16_t puerto, Responder responder);
    // Stops listening; a connection still busy is waited for a moment, then
    // left to end with the process.
    ~Win32EscuchaWeb();
    Win32EscuchaWeb(const Win32EscuchaWeb&) = delete;
    Win32EscuchaWeb& operator=(const Win32EscuchaWeb&) = delete;

  private:
    struct Estado;
    std::shared_ptr<Estado> estado_;
};
