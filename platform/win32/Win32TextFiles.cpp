#include "platform/win32/Win32TextFiles.h"
#include "platform/EscribirEnPiezas.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/ErroresWin32.h"
#include "platform/win32/Texto.h"

namespace {

class Win32AppendedFile : public AppendedFile {
  public:
    explicit Win32AppendedFile(HANDLE h) : handle_(h) {}
    ~Win32AppendedFile() override { CloseHandle(handle_); }
    Win32AppendedFile(const Win32AppendedFile&) = delete;
    Win32AppendedFile& operator=(const Win32AppendedFile&) = delete;

    std::uint64_t Tamano() override {
        LARGE_INTEGER tamano;
        if (!GetFileSizeEx(handle_, &tamano)) throw FalloWin32();
        return static_cast<std::uint64_t>(tamano.QuadPart);
    }

    void Anadir(std::string_view texto) override {
        const std::string bytes = EnCodigoSistema(texto);
        LARGE_INTEGER fin;
        if (!SetFilePointerEx(handle_, LARGE_INTEGER{}, &fin, FILE_END)) throw FalloWin32();
        EscribirEnPiezas(bytes, [&](std::string_view pieza) {
            DWORD escritos = 0;
            if (!WriteFile(handle_, pieza.data(), static_cast<DWORD>(pieza.size()), &escritos,
                           nullptr) ||
                escritos == 0) {
                const DWORD error = GetLastError();
                // A line cut short (a full disk) would run into the next one.
                SetFilePointerEx(handle_, fin, nullptr, FILE_BEGIN);
                SetEndOfFile(handle_);
                throw FalloWin32(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
            }
            return std::size_t{escritos};
        });
    }

  private:
    HANDLE handle_;
};

}  // namespace

std::unique_ptr<AppendedFile> Win32TextFiles::Abrir(const std::string& ruta) {
    // Others may read the file meanwhile; a program that holds it without
    // sharing (a spreadsheet) makes this fail, and the caller carries on.
    HANDLE h = CreateFileW(Ancho(ruta).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw FalloWin32();
    return std::make_unique<Win32AppendedFile>(h);
}

bool Win32TextFiles::Reemplazar(const std::string& desde, const std::string& hacia) {
    return MoveFileExW(Ancho(desde).c_str(), Ancho(hacia).c_str(), MOVEFILE_REPLACE_EXISTING) !=
           FALSE;
}
