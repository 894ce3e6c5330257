#pragma once
// The program's UTF-8 texts at the boundary of the system's wide calls.

#include <string>
#include <string_view>

std::wstring Ancho(std::string_view utf8);
std::string Utf8(std::wstring_view ancho);
