#pragma once
// Printers on the network through Winsock: a TCP connection to the printer's
// raw port for each kick.

#include "platform/NetworkOpener.h"

class Win32NetworkOpener : public NetworkOpener {
  public:
    // Winsock is started by the first call, not before: a till that never
    // names a network printer never loads it. The name's lookup, the
    // connection over every address, the sends and the close have 3 seconds
    // in all; a lookup not done by then fails with WSATRY_AGAIN.
    std::unique_ptr<OutputPort> Connect(const std::string& host, std::uint16_t port) override;
};
