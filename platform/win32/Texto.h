#pragma once
// The program's UTF-8 texts at the boundary of the system's calls: wide, or in
// its 8-bit code page.

#include <string>
#include <string_view>

std::wstring Ancho(std::string_view utf8);
std::string Utf8(std::wstring_view ancho);

// UTF-8 text in the system's 8-bit (ANSI) code page; characters it lacks
// become the code page's default character.
std::string EnCodigoSistema(std::string_view utf8);
