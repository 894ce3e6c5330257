#include <gtest/gtest.h>

#include "platform/Utf16.h"

namespace {

TEST(Utf16, ConvertsBothWaysAndKeepsStrayBytes) {
    struct Caso {
        std::string utf8;
        std::u16string utf16;
        std::string vuelta;  // back to UTF-8
    };
    const Caso casos[] = {
        {"", u"", ""},
        {"Cajón ¡Sí! €", u"Cajón ¡Sí! €", "Cajón ¡Sí! €"},
        {"Łódź żółć", u"Łódź żółć", "Łódź żółć"},
        {"\xF0\x9F\x92\xB0", u"\U0001F4B0", "\xF0\x9F\x92\xB0"},  // beyond 16 bits: a pair
        // Malformed UTF-8 (a Windows-1252 byte, an overlong form, a cut
        // sequence, an encoded surrogate): each byte taken as Latin-1.
        {"caj\xF3n", u"caj\u00F3n", "caj\xC3\xB3n"},
        {"\xC0\xAF", u"\u00C0\u00AF", "\xC3\x80\xC2\xAF"},
        {"a\xE2\x82", u"a\u00E2\u0082", "a\xC3\xA2\xC2\x82"},
        {"\xED\xA0\x80", u"\u00ED\u00A0\u0080", "\xC3\xAD\xC2\xA0\xC2\x80"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.vuelta) << c.utf8;
    }
    EXPECT_EQ(Utf16ToUtf8(u"a\xD800"
                          u"b\xDC00"),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD")
        << "lone surrogates";
}

}  // namespace

TEST(TextoVisible, HidesControlAndDirectionCharactersAndKeepsTheRest) {
    const std::pair<std::string, std::string> casos[] = {
        {"Ñ€😀\xE2\x80\x8D\xC2\xA0\xE2\x80\xAF\xE2\x81\xA5",
         "Ñ€😀\xE2\x80\x8D\xC2\xA0\xE2\x80\xAF\xE2\x81\xA5"},
        {"\t\r\n\x1F\x7F\xC2\x80\xC2\x85\xC2\x9F\xD8\x9C\xE2\x80\x8E\xE2\x80\x8F", "???????????"},
        {"\xE2\x80\xAA\xE2\x80\xAE\xE2\x81\xA6\xE2\x81\xA9\xE2\x80\xA8\xE2\x80\xA9", "??????"},
        {"caj\xF3n\x85\xC0\x8A\xE2\x80",
         "caj\xC3\xB3n?\xC3\x80?\xC3\xA2?"},  // malformed: as Latin-1
    };
    for (const auto& [entrada, salida] : casos) EXPECT_EQ(TextoVisible(entrada), salida) << entrada;
}
