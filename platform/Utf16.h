#pragma once
// The program keeps its texts in UTF-8; the system's wide calls take UTF-16.

#include <string>
#include <string_view>

// Malformed UTF-8 bytes are taken as Latin-1, so a stray byte never vanishes.
std::u16string Utf8ToUtf16(std::string_view utf8);
// A lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// A text from outside (a web page's origin or motive) as the record and the
// event log may show it: every control character (C0, DEL, C1 with U+0085)
// and every character that turns or breaks a line unseen (U+061C, U+200E,
// U+200F, U+202A to U+202E, U+2066 to U+2069, U+2028, U+2029) becomes '?',
// as the record's 8-bit code page would show U+FFFD anyway. Malformed bytes
// are read as Utf8ToUtf16 reads them, so what comes out is valid UTF-8.
std::string TextoVisible(std::string_view utf8);
