#pragma once
// The printing service: the installed printers and the one current printer on
// which the printer path of the drawer kick prints. The current printer starts
// as the system's default and lasts for the whole run.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/OutputPort.h"

// A printer's state as the spooler reports it (PRINTER_INFO_2's Status and
// Attributes); the bits are the system's documented values.
struct EstadoImpresora {
    std::uint32_t status = 0;
    std::uint32_t attributes = 0;
};
namespace estado_impresora {
inline constexpr std::uint32_t kPausada = 0x00000001;          // PRINTER_STATUS_PAUSED
inline constexpr std::uint32_t kEnError = 0x00000002;          // PRINTER_STATUS_ERROR
inline constexpr std::uint32_t kSinPapel = 0x00000010;         // PRINTER_STATUS_PAPER_OUT
inline constexpr std::uint32_t kSinConexion = 0x00000080;      // PRINTER_STATUS_OFFLINE
inline constexpr std::uint32_t kNoDisponible = 0x00001000;     // PRINTER_STATUS_NOT_AVAILABLE
inline constexpr std::uint32_t kTapaAbierta = 0x00400000;      // PRINTER_STATUS_DOOR_OPEN
inline constexpr std::uint32_t kUsarSinConexion = 0x00000400;  // PRINTER_ATTRIBUTE_WORK_OFFLINE
}  // namespace estado_impresora

// How the documents that Printing::Print begins are named in the printer's queue.
inline constexpr char kDocumentoImpresion[] = "AbrirCajon";

// A job of this user in a printer's queue.
struct TrabajoEnCola {
    std::uint32_t id = 0;
    std::string documento;
    bool imprimiendose = false;  // being printed, printed or being deleted
};

class Printing {
  public:
    virtual ~Printing() = default;

    // Device names of the installed printers, in the system's order.
    virtual std::vector<std::string> InstalledPrinters() = 0;

    // True when `a` and `b` name the same printer: equal without regard to
    // case, as the system compares names.
    virtual bool SameName(std::string_view a, std::string_view b) = 0;

    // The state of installed printer `printer`, or nothing when it cannot be
    // read. Never fails.
    virtual std::optional<EstadoImpresora> State(const std::string& printer) noexcept = 0;

    // The jobs of this user in the queue of `printer` (empty when the queue
    // cannot be read), and the deletion of one of them. Never fail.
    virtual std::vector<TrabajoEnCola> OwnJobs(const std::string& printer) noexcept = 0;
    virtual void DeleteJob(const std::string& printer, std::uint32_t id) noexcept = 0;

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
