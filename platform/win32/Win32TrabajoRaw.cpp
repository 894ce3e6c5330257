#include "platform/win32/Win32TrabajoRaw.h"
#include "platform/EscribirEnPiezas.h"

#include <windows.h>
// Not part of windows.h with WIN32_LEAN_AND_MEAN.
#include <winspool.h>

#include <algorithm>
#include <utility>

#include "platform/win32/FallosImpresion.h"
#include "platform/win32/Texto.h"
#include "platform/win32/Win32ColaImpresora.h"

namespace {

class TrabajoRaw : public OutputPort {
  public:
    TrabajoRaw(const std::string& impresora, const std::string& documento)
        : impresora_(Abrir(impresora)) {
        std::wstring nombre = Ancho(documento);
        std::wstring tipo = L"RAW";
        // No output file: the job goes to the printer's own port.
        DOC_INFO_1W info{nombre.data(), nullptr, tipo.data()};
        SetLastError(ERROR_SUCCESS);
        trabajo_ = StartDocPrinterW(impresora_.get(), 1, reinterpret_cast<BYTE*>(&info));
        if (trabajo_ == 0) throw FalloImpresion(kNoAceptaDocumento);
    }
    ~TrabajoRaw() override {
        if (trabajo_ != 0) Descartar();
    }
    TrabajoRaw(const TrabajoRaw&) = delete;
    TrabajoRaw& operator=(const TrabajoRaw&) = delete;

    void Write(std::string_view bytes) override {
        EscribirEnPiezas(bytes, [&](std::string_view pieza) {
            DWORD escritos = 0;
            SetLastError(ERROR_SUCCESS);
            if (!WritePrinter(impresora_.get(), const_cast<char*>(pieza.data()),
                              static_cast<DWORD>(pieza.size()), &escritos) ||
                escritos == 0) {
                throw FalloImpresion(kNoEscribeImpresora);
            }
            return std::size_t{escritos};
        });
    }

    void Close() override {
        SetLastError(ERROR_SUCCESS);
        if (!EndDocPrinter(impresora_.get())) throw FalloImpresion(kDocumentoRechazado);
        const DWORD entregado = std::exchange(trabajo_, 0);
        // The spooler learns that the printer is off, out of paper or its
        // cover open only now, as it tries to send the job: a job that would
        // wait for it and open the drawer later is taken back.
        ComprobarTrabajoEntregado(impresora_.get(), entregado);
        // Closing the handle cannot take the job back, so its result does
        // not change the kick's.
        impresora_.reset();
    }

  private:
    static ImpresoraAbierta Abrir(const std::string& impresora) {
        std::wstring nombre = Ancho(impresora);
        std::wstring tipo = L"RAW";
        PRINTER_DEFAULTSW defectos{tipo.data(), nullptr, PRINTER_ACCESS_USE};
        HANDLE abierta = nullptr;
        SetLastError(ERROR_SUCCESS);
        if (!OpenPrinterW(nombre.data(), &abierta, &defectos)) {
            throw FalloImpresion(kNoSeAbreImpresora);
        }
        return ImpresoraAbierta(abierta);
    }

    // A job not ended leaves the queue without reaching the printer: deleted
    // by its number, and the document ended on this handle, so that closing
    // the handle does not hand over what was written so far. (Wine 8 ignores
    // both calls and prints what the job holds when the handle closes; the
    // kick therefore converts every code before it opens a job.)
    void Descartar() noexcept {
        SetJobW(impresora_.get(), trabajo_, 0, nullptr, JOB_CONTROL_DELETE);
        AbortPrinter(impresora_.get());
        trabajo_ = 0;
    }

    ImpresoraAbierta impresora_;
    DWORD trabajo_ = 0;
};

}  // namespace

std::unique_ptr<OutputPort> AbrirTrabajoRaw(const std::string& impresora,
                                            const std::string& documento) {
    return std::make_unique<TrabajoRaw>(impresora, documento);
}
