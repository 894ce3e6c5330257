#pragma once
// A printer on the shop's network, reached on its raw TCP port (9100, the
// "JetDirect" port) for the length of one drawer kick.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/OutputPort.h"

class NetworkOpener {
  public:
    virtual ~NetworkOpener() = default;

    // Connects to `host` (a name, or an IPv4 or IPv6 address without
    // brackets) on `port`, trying every address the name gives in turn, all
    // within one time limit. Each Write of the connection is one send of all
    // its bytes; Close ends the connection in order. Throws Fallo with the
    // system's number when no address accepts.
    virtual std::unique_ptr<OutputPort> Connect(const std::string& host, std::uint16_t port) = 0;
};
