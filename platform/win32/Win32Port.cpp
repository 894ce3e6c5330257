#include "platform/win32/Win32Port.h"

#include <windows.h>

#include <algorithm>

#include "platform/EscribirEnPiezas.h"
#include "platform/NombreDispositivo.h"
#include "platform/win32/ErroresWin32.h"
#include "platform/win32/Texto.h"
#include "platform/win32/Unico.h"
#include "platform/win32/Win32Serie.h"

namespace {

class Win32Port : public OutputPort {
  public:
    // `limitado`: the port gives up a write after its time-out, and a write
    // cut short is a time-out (the system reports it as success).
    explicit Win32Port(HANDLE h, bool limitado = false) : handle_(h), limitado_(limitado) {}

    void Write(std::string_view bytes) override {
        // A pipe or a slow device may take the bytes in several pieces.
        EscribirEnPiezas(bytes, [&](std::string_view pieza) {
            const auto pedido = static_cast<DWORD>(pieza.size());
            DWORD escritos = 0;
            if (!WriteFile(handle_.get(), pieza.data(), pedido, &escritos, nullptr)) {
                throw FalloWin32();
            }
            if (limitado_ && escritos < pedido) throw FalloWin32(ERROR_TIMEOUT);
            if (escritos == 0) throw FalloWin32(ERROR_WRITE_FAULT);
            return std::size_t{escritos};
        });
    }

    void Close() override {
        if (!CloseHandle(handle_.release())) throw FalloWin32();
    }

  private:
    ArchivoUnico handle_;
    bool limitado_;
};

// A printer that is off must not hold the window: the write gives up after
// this long, and the kick fails with 1460.
constexpr DWORD kLimiteEscrituraMs = 2000;

bool EsLpt(std::string_view name) {
    return name.size() >= 4 && (name[0] == 'L' || name[0] == 'l') &&
           (name[1] == 'P' || name[1] == 'p') && (name[2] == 'T' || name[2] == 't') &&
           EsNombreDeDispositivo(name);
}

}  // namespace

std::unique_ptr<OutputPort> Win32PortOpener::Open(const std::string& name) {
    // A device keeps its stream; a file path (also a share's UNC path) is
    // created or emptied, as a fresh output file is.
    const DWORD disposicion = EsNombreDeDispositivo(name) ? OPEN_EXISTING : CREATE_ALWAYS;
    HANDLE h = CreateFileW(Ancho(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           disposicion, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // An empty name gives no error number on some systems.
        throw FalloWin32(error != ERROR_SUCCESS ? error : ERROR_INVALID_NAME);
    }
    // The parallel port's driver takes the serial time-outs (its write
    // total); a port or a file that does not is written as before.
    const bool limitado = EsLpt(name) && LimitarEspera(h, kLimiteEscrituraMs, 0);
    return std::make_unique<Win32Port>(h, limitado);
}

std::unique_ptr<OutputPort> Win32PortOpener::OpenSerial(const std::string& device,
                                                        const std::string& settings) {
    return std::make_unique<Win32Port>(AbrirSerie(device, settings, kLimiteEscrituraMs, 0), true);
}
