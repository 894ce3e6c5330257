#pragma once
// Ports and files opened with the system's file functions.

#include "platform/OutputPort.h"

class Win32PortOpener : public PortOpener {
  public:
    std::unique_ptr<OutputPort> Open(const std::string& name) override;
};

// True for the names of the system's devices ("LPT1:", "COM3", "PRN",
// "\\.\COM10"): these are opened as they are, never created or emptied.
bool EsNombreDeDispositivo(const std::string& name);
