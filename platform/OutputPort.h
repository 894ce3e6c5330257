#pragma once
// A device or file opened for sequential output ("LPT1:", "COM1:", a shared
// printer's UNC path, a plain file) for the length of one drawer kick.

#include <memory>
#include <string>
#include <string_view>

class OutputPort {
  public:
    // Destroying a port that was not closed closes it quietly: a kick that
    // fails half-way never leaves the device open.
    virtual ~OutputPort() = default;

    // Each call is one write of exactly these bytes. Throws Fallo on failure.
    virtual void Write(std::string_view bytes) = 0;

    // Throws Fallo when the system reports a failure on close.
    virtual void Close() = 0;
};

class PortOpener {
  public:
    virtual ~PortOpener() = default;

    // Opens `name` for output; an ordinary file is created or emptied.
    // Throws Fallo with the system's number when it cannot be opened.
    virtual std::unique_ptr<OutputPort> Open(const std::string& name) = 0;

    // Opens the serial port `device` ("\\.\COM1") and sets its line from
    // `settings` in the form of the MODE command ("9600,N,8,1"); empty keeps
    // the system's settings. A write that the port does not take within 2 s
    // fails with 1460 (time-out). Throws Fallo as Open does.
    virtual std::unique_ptr<OutputPort> OpenSerial(const std::string& device,
                                                   const std::string& settings) = 0;
};
