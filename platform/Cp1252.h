#pragma once
// The program keeps its texts in UTF-8 and stores them in Windows-1252, the
// code page of the parameter file and of the Spanish texts users see.

#include <string>
#include <string_view>

// Characters outside Windows-1252 become '?'. Malformed UTF-8 bytes are taken
// as Latin-1, so a stray byte never vanishes silently.
std::string Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view cp1252);
