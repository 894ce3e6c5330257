#include "platform/Cp1252.h"

#include <array>
#include <cstdint>

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

void AnadirUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int extra = 0;
        char32_t cp = 0;
        if (b >= 0xF0 && b < 0xF8) {
            extra = 3;
            cp = b & 0x07;
        } else if (b >= 0xE0 && b < 0xF0) {
            extra = 2;
            cp = b & 0x0F;
        } else if (b >= 0xC2 && b < 0xE0) {
            extra = 1;
            cp = b & 0x1F;
        }
        bool valido = extra > 0;
        for (int k = 1; valido && k <= extra; ++k) {
            if (i + k >= utf8.size()) {
                valido = false;
                break;
            }
            const auto c = static_cast<unsigned char>(utf8[i + k]);
            if ((c & 0xC0) != 0x80) valido = false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (valido) {
            out += ByteDePunto(cp);
            i += static_cast<std::size_t>(extra) + 1;
        } else {
            out += static_cast<char>(b);  // ASCII, or a stray byte taken as Latin-1
            ++i;
        }
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 8);
    for (const char c : cp1252) AnadirUtf8(out, PuntoDeByte(static_cast<unsigned char>(c)));
    return out;
}
