#include "platform/win32/Win32Port.h"

#include <windows.h>

#include <algorithm>

#include "platform/NombreDispositivo.h"
#include "platform/win32/ErroresWin32.h"
#include "platform/win32/Texto.h"

namespace {

class Win32Port : public OutputPort {
  public:
    explicit Win32Port(HANDLE h) : handle_(h) {}
    ~Win32Port() override {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    Win32Port(const Win32Port&) = delete;
    Win32Port& operator=(const Win32Port&) = delete;

    void Write(std::string_view bytes) override {
        // A pipe or a slow device may take the bytes in several pieces.
        while (!bytes.empty()) {
            const DWORD pedido = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
            DWORD escritos = 0;
            if (!WriteFile(handle_, bytes.data(), pedido, &escritos, nullptr)) throw FalloWin32();
            if (escritos == 0) throw FalloWin32(ERROR_WRITE_FAULT);
            bytes.remove_prefix(escritos);
        }
    }

    void Close() override {
        HANDLE h = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        if (!CloseHandle(h)) throw FalloWin32();
    }

  private:
    HANDLE handle_;
};

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
    return std::make_unique<Win32Port>(h);
}
