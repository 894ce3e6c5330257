#pragma once
// The program's UTF-8 texts at the boundary of the system's calls: wide, or in
// its 8-bit code page.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

std::wstring Ancho(std::string_view utf8);
std::string Utf8(std::wstring_view ancho);

// UTF-8 text in the system's 8-bit (ANSI) code page; characters it lacks
// become the code page's default character.
std::string EnCodigoSistema(std::string_view utf8);

// A wide text into a fixed field of a system record (a notification's tip or
// balloon), cut to fit and always ended by a NUL.
template <std::size_t N>
void CopiarAncho(wchar_t (&campo)[N], std::wstring_view texto) {
    const std::size_t n = std::min(texto.size(), N - 1);
    std::copy_n(texto.begin(), n, campo);
    campo[n] = L'\0';
}
