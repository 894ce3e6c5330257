#pragma once
// ConversorIdn with the system's IdnToAscii (normaliz.dll, in every Windows
// since Vista).

#include <optional>
#include <string>
#include <string_view>

std::optional<std::string> Win32Idn(std::string_view utf8);
