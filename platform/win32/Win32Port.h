#pragma once
// Ports and files opened with the system's file functions.

#include "platform/OutputPort.h"

class Win32PortOpener : public PortOpener {
  public:
    std::unique_ptr<OutputPort> Open(const std::string& name) override;
    std::unique_ptr<OutputPort> OpenSerial(const std::string& device,
                                           const std::string& settings) override;
};
