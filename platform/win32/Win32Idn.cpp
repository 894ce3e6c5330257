#include "platform/win32/Win32Idn.h"

#include <windows.h>

#include "platform/win32/Texto.h"

std::optional<std::string> Win32Idn(std::string_view utf8) {
    const std::wstring ancho = Ancho(utf8);
    // A host name is at most 255 characters; its ASCII form, too.
    wchar_t ascii[256];
    const int n =
        IdnToAscii(0, ancho.c_str(), static_cast<int>(ancho.size()), ascii, ARRAYSIZE(ascii));
    if (n <= 0) return std::nullopt;
    return Utf8(std::wstring_view(ascii, static_cast<std::size_t>(n)));
}
