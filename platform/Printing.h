#pragma once
// The printing service: the installed printers and the one current printer on
// which the printer path of the drawer kick prints. The current printer starts
// as the system's default and lasts for the whole run.

#include <cstdint>
#include <functional>
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

// A job of this user in a printer's queue, with its status (JOB_INFO_1's
// Status: the system's documented bits below).
struct TrabajoEnCola {
    std::uint32_t id = 0;
    std::string documento;
    std::uint32_t status = 0;
};
namespace estado_trabajo {
inline constexpr std::uint32_t kPausado = 0x00000001;              // JOB_STATUS_PAUSED
inline constexpr std::uint32_t kError = 0x00000002;                // JOB_STATUS_ERROR
inline constexpr std::uint32_t kBorrandose = 0x00000004;           // JOB_STATUS_DELETING
inline constexpr std::uint32_t kImprimiendose = 0x00000010;        // JOB_STATUS_PRINTING
inline constexpr std::uint32_t kSinConexion = 0x00000020;          // JOB_STATUS_OFFLINE
inline constexpr std::uint32_t kSinPapel = 0x00000040;             // JOB_STATUS_PAPEROUT
inline constexpr std::uint32_t kImpreso = 0x00000080;              // JOB_STATUS_PRINTED
inline constexpr std::uint32_t kBorrado = 0x00000100;              // JOB_STATUS_DELETED
inline constexpr std::uint32_t kColaBloqueada = 0x00000200;        // JOB_STATUS_BLOCKED_DEVQ
inline constexpr std::uint32_t kIntervencionUsuario = 0x00000400;  // JOB_STATUS_USER_INTERVENTION
inline constexpr std::uint32_t kCompleto = 0x00001000;             // JOB_STATUS_COMPLETE

// The spooler learns that a printer cannot print only while it sends it a
// job: an idle queue reports nothing even when the printer is off. A job
// with one of these bits is stuck, and would reach the printer whenever it
// comes back.
inline constexpr std::uint32_t kAtascado =
    kPausado | kError | kSinConexion | kSinPapel | kColaBloqueada | kIntervencionUsuario;
// Being sent, sent, or on its way out of the queue.
inline constexpr std::uint32_t kEnCurso =
    kImprimiendose | kImpreso | kBorrandose | kBorrado | kCompleto;
}  // namespace estado_trabajo

// What became of a job handed to a printer, followed for a moment.
enum class FinTrabajo { Enviado, Atascado };

// Follows a job just handed to the printer: `status` gives its status, or
// nothing once it has left the queue; `esperar` waits a moment, and says
// false once the time to follow it is up. Stuck as soon as its status says
// so; sent once it has left the queue or been printed, or when the time is
// up with the job still waiting without an error.
FinTrabajo SeguirTrabajo(const std::function<std::optional<std::uint32_t>()>& status,
                         const std::function<bool()>& esperar);

// A printer's queue, open for the check before a kick: on a printer
// connection whose server is down every open may wait the whole RPC
// time-out, so one open serves for the state, the job list and the
// deletions. None of these fail.
class PrinterQueue {
  public:
    virtual ~PrinterQueue() = default;

    // The printer's state, or nothing when it cannot be read.
    virtual std::optional<EstadoImpresora> State() noexcept = 0;

    // The jobs of this user in the queue (empty when it cannot be read),
    // and the deletion of one of them.
    virtual std::vector<TrabajoEnCola> OwnJobs() noexcept = 0;
    virtual void DeleteJob(std::uint32_t id) noexcept = 0;
};

class Printing {
  public:
    virtual ~Printing() = default;

    // Device names of the installed printers, in the system's order.
    virtual std::vector<std::string> InstalledPrinters() = 0;

    // True when `a` and `b` name the same printer: equal without regard to
    // case, as the system compares names.
    virtual bool SameName(std::string_view a, std::string_view b) = 0;

    // The queue of installed printer `printer`, or nothing when it cannot be
    // opened. Never fails.
    virtual std::unique_ptr<PrinterQueue> OpenQueue(const std::string& printer) noexcept = 0;

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
    // writes go into the one job, which Close hands to the printer and then
    // follows for about a second (SeguirTrabajo): a job that gets stuck meanwhile
    // is deleted and Close fails with 1906. A job destroyed before Close is
    // deleted from the queue. Throws Fallo.
    virtual std::unique_ptr<OutputPort> OpenRawJob(const std::string& printer,
                                                   const std::string& document) = 0;

    // Drops the document begun, if any: nothing of it reaches the printer, and
    // a font asked for in it is forgotten. The next Print begins a new
    // document on the printer current then. Never fails.
    virtual void KillDoc() noexcept = 0;
};
