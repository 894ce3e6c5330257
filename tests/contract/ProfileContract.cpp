// What the program relies on from profile files. The same cases run natively
// against the portable reader and under Wine against the system's functions.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>

#include "platform/Utf16.h"
#include "tests/contract/ProfileUnderTest.h"
#include "tests/support/TempDir.h"

namespace {

class ProfileContract : public ::testing::Test {
  protected:
    std::string Leer(const std::string& key, const std::string& defecto,
                     const std::string& archivo = "INIS/PARAMETROS.INI",
                     const std::string& seccion = "Parametros") {
        buffer_.fill(u'x');
        perfil_->GetString(Utf8ToUtf16(seccion), Utf8ToUtf16(key), Utf8ToUtf16(defecto), buffer_,
                           Utf8ToUtf16(dir_.Texto(archivo)));
        const auto nul = std::find(buffer_.begin(), buffer_.end(), u'\0');
        EXPECT_NE(nul, buffer_.end()) << "no NUL written";
        return Utf16ToUtf8(std::u16string(buffer_.begin(), nul));
    }
    // Everything after the first NUL must still be what the buffer held.
    bool RestoIntacto() const {
        const auto nul = std::find(buffer_.begin(), buffer_.end(), u'\0');
        return nul != buffer_.end() &&
               std::all_of(nul + 1, buffer_.end(), [](char16_t c) { return c == u'x'; });
    }
    bool Escribir(const std::string& key, const std::string& value,
                  const std::string& archivo = "INIS/PARAMETROS.INI") {
        return perfil_->WriteString(u"Parametros", Utf8ToUtf16(key), Utf8ToUtf16(value),
                                    Utf8ToUtf16(dir_.Texto(archivo)));
    }

    TempDir dir_;
    std::unique_ptr<PrivateProfile> perfil_ = CrearPerfilBajoPrueba();
    std::array<char16_t, 255> buffer_{};
};

TEST_F(ProfileContract, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Leer("KovraPuerto", "LPT1:"), "LPT1:");
    EXPECT_TRUE(RestoIntacto());
    dir_.Escribir("INIS/PARAMETROS.INI", "[Otra]\r\nKovraPuerto=COM1:\r\n");
    EXPECT_EQ(Leer("KovraPuerto", "LPT1:"), "LPT1:");
    dir_.Escribir("INIS/PARAMETROS.INI", "[Parametros]\r\nKovraASCII=1 2\r\n");
    EXPECT_EQ(Leer("KovraPuerto", "LPT1:"), "LPT1:");
    EXPECT_EQ(Leer("KovraPuerto", ""), "");
}

TEST_F(ProfileContract, FindsKeysWhateverTheirCaseAndSurroundings) {
    dir_.Escribir("INIS/PARAMETROS.INI",
                  "[Otra]\r\nKovraPuerto=no\r\n\r\n[parametros]\r\nkovrapuerto=  COM1:  \r\n"
                  "KovraASCII=\"27 112\"\nKovraTipo=\r\n");
    EXPECT_EQ(Leer("KovraPuerto", "LPT1:"), "COM1:");
    EXPECT_TRUE(RestoIntacto());
    EXPECT_EQ(Leer("KovraASCII", ""), "27 112");
    EXPECT_EQ(Leer("KovraTipo", "1"), "") << "a key with no value is the empty text";
    EXPECT_TRUE(RestoIntacto());
}

TEST_F(ProfileContract, LongValuesAreCutToTheBuffer) {
    dir_.Escribir("INIS/PARAMETROS.INI",
                  "[Parametros]\r\nKovraASCII=" + std::string(300, '7') + "\r\n");
    EXPECT_EQ(Leer("KovraASCII", ""), std::string(254, '7'));
}

TEST_F(ProfileContract, SurvivesJunkAndHugeLines) {
    std::string junk;
    for (int i = 1; i < 256; ++i)
        junk += static_cast<char>(i == '[' || i == '\n' || i == '\r' ? 'a' : i);
    dir_.Escribir("INIS/PARAMETROS.INI",
                  junk + "\r\n" + std::string(20000, 'z') + "\r\n[Parametros]\r\n" +
                      "Largo=" + std::string(10000, 'q') + "\r\nKovraTipo=0\r\n");
    EXPECT_EQ(Leer("KovraTipo", "1"), "0");
    EXPECT_EQ(Leer("Largo", ""), std::string(254, 'q'));

    std::string binario(4096, '\0');
    for (std::size_t i = 0; i < binario.size(); ++i)
        binario[i] = static_cast<char>((i * 131) % 256);
    dir_.Escribir("INIS/PARAMETROS.INI", binario);
    Leer("KovraTipo", "1");  // any answer will do, as long as there is one
    EXPECT_TRUE(RestoIntacto());
}

TEST_F(ProfileContract, WriteCreatesFileAndSectionWhenTheFolderExists) {
    std::filesystem::create_directories(dir_.Path() / "INIS");
    EXPECT_TRUE(Escribir("KovraTipo", "0"));
    EXPECT_EQ(Leer("KovraTipo", "1"), "0");
    const std::string contenido = dir_.Leer("INIS/PARAMETROS.INI");
    EXPECT_NE(contenido.find("[Parametros]"), std::string::npos);
    EXPECT_NE(contenido.find("KovraTipo=0"), std::string::npos);
}

TEST_F(ProfileContract, WriteReplacesTheValueAndKeepsTheOtherKeys) {
    dir_.Escribir(
        "INIS/PARAMETROS.INI",
        "[Parametros]\r\nKovraPuerto=LPT1:\r\nKovraASCII=27 112 0 10 100\r\n[Otra]\r\nX=1\r\n");
    EXPECT_TRUE(Escribir("KovraPuerto", "COM2:"));
    EXPECT_TRUE(Escribir("KovraTipo", "1"));
    EXPECT_TRUE(Escribir("KovraASCII", ""));
    EXPECT_EQ(Leer("KovraPuerto", ""), "COM2:");
    EXPECT_EQ(Leer("KovraTipo", ""), "1");
    EXPECT_EQ(Leer("KovraASCII", "default"), "") << "writing the empty text leaves an empty key";
    EXPECT_EQ(Leer("X", "", "INIS/PARAMETROS.INI", "Otra"), "1");
}

TEST_F(ProfileContract, WriteIsRefusedWithoutFolderOrOnAReadOnlyFile) {
    EXPECT_FALSE(Escribir("KovraTipo", "0"));
    EXPECT_FALSE(std::filesystem::exists(dir_.Path() / "INIS"));

    dir_.Escribir("INIS/PARAMETROS.INI", "[Parametros]\r\nKovraTipo=1\r\n");
    {
        const auto impedida = ImpedirEscritura(dir_.Path() / "INIS/PARAMETROS.INI");
        EXPECT_FALSE(Escribir("KovraTipo", "0"));
    }
    EXPECT_EQ(Leer("KovraTipo", ""), "1");
}

// On a Western European system: the file is in Windows-1252, whether the
// program or a person wrote it, and its path may hold any letter.
TEST_F(ProfileContract, KeepsSpanishTextInTheFileCodePageAndReachesAnyPath) {
    std::filesystem::create_directories(dir_.Path() / u8"Łódź/INIS");
    const std::string archivo = "Łódź/INIS/PARAMETROS.INI";
    const std::string cajon = "Cajón ¡Sí! €";
    EXPECT_TRUE(Escribir("AC_BIXOLON_Char", cajon, archivo));
    EXPECT_EQ(Leer("AC_BIXOLON_Char", "", archivo), cajon);
    EXPECT_EQ(dir_.Leer(archivo), "[Parametros]\r\nAC_BIXOLON_Char=Caj\xF3n \xA1S\xED! \x80\r\n");
    dir_.Escribir(archivo, "[Parametros]\r\nKovraPuerto=Caj\xF3n\r\n");
    EXPECT_EQ(Leer("KovraPuerto", "LPT1:", archivo), "Cajón");
}

}  // namespace
