#pragma once
// Windows-1252, the 8-bit code page of Western European Windows: the code page
// of the portable profile files and of the test doubles that stand for such a
// system. The program itself leaves code pages to the system.

#include <string>
#include <string_view>

// Characters outside Windows-1252 become '?'. Malformed UTF-8 bytes are taken
// as Latin-1, so a stray byte never vanishes silently.
std::string Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view cp1252);
