#include "platform/Cp1252.h"

#include <array>
#include <cstdint>

#include "platform/Utf16.h"

namespace {

// Code points of the bytes 0x80..0x9F; 0 marks the five bytes with no character.
constexpr std::array<char32_t, 32> kAlto = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t PuntoDeByte(unsigned char b) {
    if (b >= 0x80 && b < 0xA0) {
        const char32_t cp = kAlto[b - 0x80];
        return cp != 0 ? cp : b;
    }
    return b;
}

char ByteDePunto(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (std::size_t i = 0; i < kAlto.size(); ++i) {
        if (kAlto[i] == cp) return static_cast<char>(0x80 + i);
    }
    if (cp >= 0x80 && cp < 0xA0) return static_cast<char>(cp);
    return '?';
}

}  // namespace

std::string Utf8ToCp1252(std::string_view utf8) {
    const std::u16string texto = Utf8ToUtf16(utf8);
    std::string out;
    out.reserve(texto.size());
    for (std::size_t i = 0; i < texto.size(); ++i) {
        const char16_t u = texto[i];
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < texto.size() && texto[i + 1] >= 0xDC00 &&
            texto[i + 1] <= 0xDFFF) {
            ++i;  // one character beyond the Basic Multilingual Plane: one '?'
            out += '?';
        } else {
            out += ByteDePunto(u);
        }
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::u16string texto;
    texto.reserve(cp1252.size());
    for (const char c : cp1252)
        texto += static_cast<char16_t>(PuntoDeByte(static_cast<unsigned char>(c)));
    return Utf16ToUtf8(texto);
}
