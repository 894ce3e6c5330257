#pragma once
// The printing service: the installed printers and the one current printer on
// which the printer path of the drawer kick prints. The current printer starts
// as the system's default and lasts for the whole run.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/OutputPort.h"

class Printing {
  public:
    virtual ~Printing() = default;

    // Device names of the installed printers, in the system's order.
    virtual std::vector<std::string> InstalledPrinters() = 0;

    // Device name of the current printer. Throws Fallo when there is none.
    virtual std::string CurrentDeviceName() = 0;

    // Makes installed printer number `index` (of InstalledPrinters) current.
    virtual void MakeCurrent(int index) = 0;

    // Font settings for the text printed from now on in the current document.
    virtual void SetFontSize(float points) = 0;
    virtual void SetFontName(const std::string& face) = 0;

    // Prints `text` at the current position; `lineEnd` moves to the next line.
    // The first call after EndDoc (or ever) starts a new document.
    virtual void Print(std::string_view text, bool lineEnd) = 0;

    // Ends the document and hands it to the printer's driver.
    virtual void EndDoc() = 0;

    // A print job of data type "RAW" on the installed printer `printer`, shown
    // as `document` in its queue: the spooler passes the bytes to the printer
    // untouched, whatever its port, and whatever the current printer is. All
    // writes go into the one job, which Close hands to the printer; a job
    // destroyed before Close is deleted from the queue. Throws Fallo.
    virtual std::unique_ptr<OutputPort> OpenRawJob(const std::string& printer,
                                                   const std::string& document) = 0;

    // Drops the document begun, if any: nothing of it reaches the printer, and
    // a font asked for in it is forgotten. The next Print begins a new
    // document on the printer current then. Never fails.
    virtual void KillDoc() noexcept = 0;
};
