#pragma once
// The program keeps its texts in UTF-8; the system's wide calls take UTF-16.

#include <string>
#include <string_view>

// Malformed UTF-8 bytes are taken as Latin-1, so a stray byte never vanishes.
std::u16string Utf8ToUtf16(std::string_view utf8);
// A lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);
