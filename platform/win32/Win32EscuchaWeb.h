#pragma once
// The browser bridge's listener: TCP on 127.0.0.1 and [::1] only, one thread
// and one event loop (WSAPoll) over non-blocking sockets: it accepts, reads,
// writes and closes, and hands every byte to its room, which decides all the
// rest. Nothing here waits on the window.

#include <cstdint>
#include <memory>

#include "platform/SalaConexiones.h"

class Win32EscuchaWeb {
  public:
    // Takes the port on both loopback addresses (IPv4 alone where the system
    // has no IPv6) and starts listening. Throws Fallo with the system's
    // number when the port cannot be taken (10048: in use). `sala` must
    // outlive this.
    Win32EscuchaWeb(std::uint16_t puerto, SalaConexiones& sala);
    // Stops the loop, sends what the room has still to say, and closes every
    // connection.
    ~Win32EscuchaWeb();
    Win32EscuchaWeb(const Win32EscuchaWeb&) = delete;
    Win32EscuchaWeb& operator=(const Win32EscuchaWeb&) = delete;

  private:
    struct Estado;
    std::unique_ptr<Estado> estado_;
};
