#include "platform/Utf16.h"

namespace {

void AnadirUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
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

bool EsSurrogado(char32_t cp) {
    return cp >= 0xD800 && cp <= 0xDFFF;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t minimo = 0;  // overlong forms are malformed
        if (b >= 0xF0 && b < 0xF5) {
            extra = 3;
            cp = b & 0x07;
            minimo = 0x10000;
        } else if (b >= 0xE0 && b < 0xF0) {
            extra = 2;
            cp = b & 0x0F;
            minimo = 0x800;
        } else if (b >= 0xC2 && b < 0xE0) {
            extra = 1;
            cp = b & 0x1F;
            minimo = 0x80;
        }
        bool valido = extra > 0 && i + static_cast<std::size_t>(extra) < utf8.size();
        for (int k = 1; valido && k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            valido = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        valido = valido && cp >= minimo && cp <= 0x10FFFF && !EsSurrogado(cp);
        if (valido) {
            AnadirUtf16(out, cp);
            i += static_cast<std::size_t>(extra) + 1;
        } else {
            out += static_cast<char16_t>(b);  // ASCII, or a stray byte taken as Latin-1
            ++i;
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() + utf16.size() / 4);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char32_t u = utf16[i];
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            AnadirUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
            ++i;
        } else {
            AnadirUtf8(out, EsSurrogado(u) ? 0xFFFD : u);
        }
    }
    return out;
}

std::string TextoVisible(std::string_view utf8) {
    std::u16string texto = Utf8ToUtf16(utf8);
    for (char16_t& c : texto) {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x61C || c == 0x200E || c == 0x200F ||
            (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x2028 ||
            c == 0x2029) {
            c = u'?';
        }
    }
    return Utf16ToUtf8(texto);
}
