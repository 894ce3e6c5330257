// Tells the package tests which program runs a window, as Windows sees it:
//   cajon_proceso_ventana <window class>
// prints, for every top-level window of that class (hidden ones too), one line
//   pid=<process id> version=<file version of its exe> image=<its exe's path>
// Output is UTF-8. Exit code 1: no such window.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/Texto.h"

namespace {

std::wstring ImagenDe(DWORD pid) {
    HANDLE proceso = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (proceso == nullptr) return {};
    std::wstring ruta(32768, L'\0');
    DWORD n = static_cast<DWORD>(ruta.size());
    if (!QueryFullProcessImageNameW(proceso, 0, ruta.data(), &n)) n = 0;
    CloseHandle(proceso);
    ruta.resize(n);
    return ruta;
}

// The fixed file version of the version resource: "-" when there is none.
std::string VersionDe(const std::wstring& exe) {
    DWORD nada = 0;
    const DWORD n = GetFileVersionInfoSizeW(exe.c_str(), &nada);
    if (n == 0) return "-";
    std::vector<unsigned char> datos(n);
    if (!GetFileVersionInfoW(exe.c_str(), 0, n, datos.data())) return "-";
    VS_FIXEDFILEINFO* fija = nullptr;
    UINT largo = 0;
    if (!VerQueryValueW(datos.data(), L"\\", reinterpret_cast<void**>(&fija), &largo) ||
        largo < sizeof *fija) {
        return "-";
    }
    char texto[64];
    std::snprintf(texto, sizeof texto, "%u.%u.%u.%u", HIWORD(fija->dwFileVersionMS),
                  LOWORD(fija->dwFileVersionMS), HIWORD(fija->dwFileVersionLS),
                  LOWORD(fija->dwFileVersionLS));
    return texto;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    int vistas = 0;
    for (HWND h = FindWindowExW(nullptr, nullptr, argv[1], nullptr); h != nullptr;
         h = FindWindowExW(nullptr, h, argv[1], nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        const std::wstring imagen = ImagenDe(pid);
        std::printf("pid=%lu version=%s image=%s\n", pid, VersionDe(imagen).c_str(),
                    Utf8(imagen).c_str());
        ++vistas;
    }
    return vistas > 0 ? 0 : 1;
}
