#include "platform/win32/Texto.h"

#include <windows.h>

#include <climits>

std::wstring Ancho(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring ancho(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), ancho.data(), n);
    return ancho;
}

std::string Utf8(std::wstring_view ancho) {
    if (ancho.empty() || ancho.size() > INT_MAX) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, ancho.data(), static_cast<int>(ancho.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, ancho.data(), static_cast<int>(ancho.size()), utf8.data(), n,
                        nullptr, nullptr);
    return utf8;
}

std::string EnCodigoSistema(std::string_view utf8) {
    const std::wstring ancho = Ancho(utf8);
    if (ancho.empty() || ancho.size() > INT_MAX) return {};
    const int largo = static_cast<int>(ancho.size());
    // Without best fit a character the code page lacks becomes '?': a
    // fullwidth ';' or '"' must not turn into the real one after the record's
    // quoting was decided. (UTF-8 as the system's code page takes no flags.)
    const DWORD sinParecidos = GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int n = WideCharToMultiByte(CP_ACP, sinParecidos, ancho.data(), largo, nullptr, 0,
                                      nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, sinParecidos, ancho.data(), largo, bytes.data(), n, nullptr,
                        nullptr);
    return bytes;
}
