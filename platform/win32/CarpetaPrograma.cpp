#include "platform/win32/CarpetaPrograma.h"

#include <windows.h>

#include "platform/win32/Texto.h"

std::string CarpetaPrograma() {
    std::wstring ruta(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, ruta.data(), static_cast<DWORD>(ruta.size()));
        if (n == 0) return {};
        if (n < ruta.size()) {
            ruta.resize(n);
            break;
        }
        ruta.resize(ruta.size() * 2);  // cut short: a long path
    }
    const auto barra = ruta.find_last_of(L"\\/");
    return Utf8(barra == std::wstring::npos ? std::wstring{} : ruta.substr(0, barra));
}
