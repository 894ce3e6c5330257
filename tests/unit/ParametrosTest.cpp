#include <gtest/gtest.h>

#include <filesystem>

#include "platform/portable/PortableProfile.h"
#include "settings/modFunGenerales.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TempDir.h"

namespace {

class ParametrosTest : public ::testing::Test {
  protected:
    ParametrosTest() { parametros_.FijarRuta(RutaParametros(dir_.Texto(""))); }

    void Archivo(const std::string& contenido) { dir_.Escribir("INIS/PARAMETROS.INI", contenido); }
    std::string Contenido() const { return dir_.Leer("INIS/PARAMETROS.INI"); }

    TempDir dir_;
    PortableProfile perfil_;
    FakeDialogs dialogs_;
    Parametros parametros_{perfil_, dialogs_};
};

TEST(RutaParametros, AppendsTheFixedTailAsItStands) {
    EXPECT_EQ(RutaParametros("C:\\Caja"), "C:\\Caja\\INIS\\PARAMETROS.INI");
    EXPECT_EQ(RutaParametros("C:\\"), "C:\\\\INIS\\PARAMETROS.INI");
}

TEST_F(ParametrosTest, ReadsDefaultsWithoutFolderFileOrKey) {
    EXPECT_EQ(parametros_.VRXGetParametro("KovraPuerto", "LPT1:"), "LPT1:");
    EXPECT_EQ(parametros_.VRXGetParametro("KovraASCII", "27 112 0 10 100"), "27 112 0 10 100");
    EXPECT_EQ(parametros_.VRXGetParametro("PrinterDeviceName", ""), "");
    EXPECT_TRUE(dialogs_.cajas.empty());
}

TEST_F(ParametrosTest, ReadsStoredValuesTrimmedAndWhole) {
    // A list of web origins several kilobytes long, and values at the edges of
    // the first buffer and of a doubled one.
    std::string origenes;
    for (int i = 0; origenes.size() < 5000; ++i) {
        origenes += "https://pos" + std::to_string(i) + ".tienda.com.mx ";
    }
    origenes += "http://localhost:30001";
    Archivo("[Parametros]\r\nKovraPuerto=\r\nKovraASCII=   COM1:   \r\nAC_BIXOLON_Char=" +
            std::string(300, 'a') + "\r\nAC_PC=" + std::string(254, 'b') +
            "\r\nAC_BIXOLON_FontSize=" + std::string(509, 'c') +
            "\r\nKovraWebOrigenes=" + origenes + "\r\n");
    EXPECT_EQ(parametros_.VRXGetParametro("KovraPuerto", "LPT1:"), "") << "present but empty";
    EXPECT_EQ(parametros_.VRXGetParametro("KovraASCII", ""), "COM1:");
    EXPECT_EQ(parametros_.VRXGetParametro("AC_BIXOLON_Char", ""), std::string(300, 'a'));
    EXPECT_EQ(parametros_.VRXGetParametro("AC_PC", ""), std::string(254, 'b'));
    EXPECT_EQ(parametros_.VRXGetParametro("AC_BIXOLON_FontSize", ""), std::string(509, 'c'));
    EXPECT_EQ(parametros_.VRXGetParametro("KovraWebOrigenes", ""), origenes);
    EXPECT_EQ(parametros_.VRXGetParametro("KovraTecla", std::string(600, 'd')),
              std::string(600, 'd'))
        << "a long default, whole too";
}

TEST_F(ParametrosTest, ConvertsSpanishLettersThroughTheFileCodePage) {
    std::filesystem::create_directories(dir_.Path() / "INIS");
    parametros_.VRXSetParametro("AC_BIXOLON_Char", "cajón ñ €");
    EXPECT_EQ(Contenido(), "[Parametros]\r\nAC_BIXOLON_Char=caj\xF3n \xF1 \x80\r\n");
    EXPECT_EQ(parametros_.VRXGetParametro("AC_BIXOLON_Char", ""), "cajón ñ €");
    Archivo("[Parametros]\r\nAC_PC=S\xED\r\n");
    EXPECT_EQ(parametros_.VRXGetParametro("AC_PC", ""), "Sí");
}

TEST_F(ParametrosTest, WritesCreateTheFileOnlyWhenTheFolderExists) {
    parametros_.VRXSetParametro("KovraTipo", "0");
    EXPECT_FALSE(std::filesystem::exists(dir_.Path() / "INIS"));
    std::filesystem::create_directories(dir_.Path() / "INIS");
    parametros_.VRXSetParametro("KovraTipo", "0");
    parametros_.VRXSetParametro("KovraPuerto", "  COM1:  ");
    EXPECT_EQ(Contenido(), "[Parametros]\r\nKovraTipo=0\r\nKovraPuerto=  COM1:  \r\n");
    EXPECT_TRUE(dialogs_.cajas.empty());
}

TEST_F(ParametrosTest, OnlyANumericLockOtherThanZeroRefusesWrites) {
    struct Caso {
        std::string bloqueo;
        bool bloquea;
    };
    const Caso casos[] = {{"1", true},    {"-1", true},    {"2", true},    {"0.5", true},
                          {"&H1", true},  {"0", false},    {"0.0", false}, {"", false},
                          {"S", false},   {"true", false}, {"-0", false},  {"abc1", false},
                          {"0abc", false}};
    for (const auto& c : casos) {
        Archivo("[Parametros]\r\nKovraBloqueado=" + c.bloqueo + "\r\nKovraTipo=7\r\n");
        parametros_.VRXSetParametro("KovraTipo", "1");
        EXPECT_EQ(parametros_.VRXGetParametro("KovraTipo", ""), c.bloquea ? "7" : "1")
            << "KovraBloqueado=" << c.bloqueo;
    }
    EXPECT_TRUE(dialogs_.cajas.empty());
}

TEST_F(ParametrosTest, ALockSetWhileRunningCountsAtTheNextWrite) {
    Archivo("[Parametros]\r\nKovraTipo=1\r\n");
    parametros_.VRXSetParametro("KovraTipo", "0");
    EXPECT_EQ(parametros_.VRXGetParametro("KovraTipo", ""), "0");
    Archivo("[Parametros]\r\nKovraTipo=0\r\nKovraBloqueado=1\r\n");
    parametros_.VRXSetParametro("KovraTipo", "1");
    EXPECT_EQ(parametros_.VRXGetParametro("KovraTipo", ""), "0");
}

TEST_F(ParametrosTest, ARefusedWriteIsNotReported) {
    Archivo("[Parametros]\r\nKovraTipo=1\r\n");
    std::filesystem::permissions(dir_.Path() / "INIS/PARAMETROS.INI",
                                 std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    parametros_.VRXSetParametro("KovraTipo", "0");
    EXPECT_EQ(parametros_.VRXGetParametro("KovraTipo", ""), "1");
    EXPECT_TRUE(dialogs_.cajas.empty());
}

TEST(ParametrosFallo, AFailingReadIsReportedInTheShortFormAndGivesEmpty) {
    struct PerfilRoto : PrivateProfile {
        void GetString(std::u16string_view, std::u16string_view, std::u16string_view,
                       std::span<char16_t>, const std::u16string&) override {
            throw Fallo(53, "No se ha encontrado el archivo");
        }
        bool WriteString(std::u16string_view, std::u16string_view, std::u16string_view,
                         const std::u16string&) override {
            escrituras++;
            return true;
        }
        int escrituras = 0;
    } perfil;
    FakeDialogs dialogs;
    Parametros parametros(perfil, dialogs);
    EXPECT_EQ(parametros.VRXGetParametro("KovraPuerto", "LPT1:"), "");
    ASSERT_EQ(dialogs.cajas.size(), 1u);
    EXPECT_EQ(dialogs.cajas[0].tipo, "report");
    EXPECT_EQ(dialogs.cajas[0].texto,
              "53 (No se ha encontrado el archivo) en procedimiento VRXGetPrivateProfileString of "
              "Módulo modFunGenerales");
    // The lock reads as empty, which is 0: the write goes ahead.
    parametros.VRXSetParametro("KovraTipo", "1");
    EXPECT_EQ(perfil.escrituras, 1);
}

}  // namespace
