#include <gtest/gtest.h>

#include <cmath>

#include "drawer/SalidaImpresora.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/Fakes.h"

namespace {

class SalidaImpresoraTest : public ::testing::Test {
  protected:
    std::vector<std::string> Trabajo() {
        impresora_.llamadas.clear();
        ImprimirApertura(impresora_, parametros_);
        return impresora_.llamadas;
    }
    std::string Texto(std::string_view separador = ".") {
        return TextoComandosPrinter(parametros_, separador);
    }

    FakePrinting impresora_;
    MemoryProfile perfil_;
    FakeDialogs dialogs_;
    Parametros parametros_{perfil_, dialogs_};
};

using Llamadas = std::vector<std::string>;

TEST_F(SalidaImpresoraTest, TheKeysChooseTheJobAndItsDescription) {
    struct Caso {
        std::map<std::string, std::string> claves;
        Llamadas trabajo;
        std::string texto;
    };
    const Caso casos[] = {
        {{}, {"Print(|1)", "Print(|1)", "EndDoc"}, "Printer.Print\r\nPrinter.EndDoc "},
        {{{"AC_PC", "0"}},
         {"Print(|1)", "Print(|1)", "EndDoc"},
         "Printer.Print\r\nPrinter.EndDoc "},
        {{{"AC_PC", "S"}},
         {"Print(|1)", "Print(|0)", "EndDoc"},
         "Printer.Print ;\r\nPrinter.EndDoc "},
        {{{"AC_PC", "S"}, {"AC_BIXOLON_FontSize", "12"}},
         {"Print(|1)", "Print(|0)", "EndDoc"},
         "Printer.Print ;\r\nPrinter.EndDoc "},
        {{{"AC_BIXOLON_Char", "   "}},
         {"Print(|1)", "Print(|1)", "EndDoc"},
         "Printer.Print\r\nPrinter.EndDoc "},
        {{{"AC_BIXOLON_Char", "A"}, {"AC_PC", "S"}},
         {"Print(|1)", "FontName(FontControl)", "Print(A|1)", "EndDoc"},
         "Printer.FontName \"FontControl\"\r\nPrinter.Print \"A\"\r\nPrinter.EndDoc "},
        {{{"AC_BIXOLON_Char", "ABC"}, {"AC_BIXOLON_FontSize", "10.5"}},
         {"Print(|1)", "FontSize(10.500000)", "FontName(FontControl)", "Print(ABC|1)", "EndDoc"},
         "Printer.FontSize \"10.5\"\r\nPrinter.FontName \"FontControl\"\r\nPrinter.Print "
         "\"ABC\"\r\n"
         "Printer.EndDoc "},
    };
    for (const auto& c : casos) {
        perfil_.valores = c.claves;
        EXPECT_EQ(Trabajo(), c.trabajo);
        EXPECT_EQ(Texto(), c.texto);
    }
}

TEST_F(SalidaImpresoraTest, WithAControlTextTheBooleanKeyIsNotRead) {
    perfil_.valores = {{"AC_BIXOLON_Char", "X"}};
    Trabajo();
    Texto();
    EXPECT_EQ(perfil_.Lecturas("AC_PC"), 0);
    perfil_.valores = {{"AC_PC", "1"}, {"AC_BIXOLON_FontSize", "9"}};
    perfil_.lecturas.clear();
    Trabajo();
    EXPECT_EQ(perfil_.Lecturas("AC_BIXOLON_FontSize"), 0)
        << "no control text: the size is not read";
}

TEST_F(SalidaImpresoraTest, KeysAreReadAgainAtEveryJob) {
    Trabajo();
    perfil_.valores = {{"AC_BIXOLON_Char", "Z"}};
    EXPECT_EQ(Trabajo(), (Llamadas{"Print(|1)", "FontName(FontControl)", "Print(Z|1)", "EndDoc"}));
}

TEST_F(SalidaImpresoraTest, SizesAreWrittenWithTheUsersSeparatorAndBadOnesRefused) {
    perfil_.valores = {{"AC_BIXOLON_Char", "A"}, {"AC_BIXOLON_FontSize", "10.5"}};
    EXPECT_EQ(
        Texto(","),
        "Printer.FontSize \"10,5\"\r\nPrinter.FontName \"FontControl\"\r\nPrinter.Print \"A\"\r\n"
        "Printer.EndDoc ");
    perfil_.valores["AC_BIXOLON_FontSize"] = "abc";
    EXPECT_TRUE(Texto().starts_with("Printer.FontSize \"0\"\r\n"));
    EXPECT_THROW(Trabajo(), Fallo);
    EXPECT_EQ(impresora_.llamadas, (Llamadas{"Print(|1)", "FontSize(0.000000)", "KillDoc"}))
        << "nothing after the refused size: the job is dropped";
    perfil_.valores["AC_BIXOLON_FontSize"] = "1e300";
    EXPECT_TRUE(std::isinf(TamanoFuente("1e300")));
    EXPECT_THROW(Trabajo(), Fallo);
}

TEST_F(SalidaImpresoraTest, AFailureAtAnyStepDropsTheJobAndTheNextJobStartsAfresh) {
    struct Caso {
        std::map<std::string, std::string> claves;
        std::string falla;  // the call that fails
        Llamadas trabajo;
    };
    const std::map<std::string, std::string> conTexto = {{"AC_BIXOLON_Char", "ABC"},
                                                         {"AC_BIXOLON_FontSize", "12"}};
    const Caso casos[] = {
        {conTexto, "Print(|1)", {"Print(|1)", "KillDoc"}},
        {conTexto, "FontSize(12.000000)", {"Print(|1)", "FontSize(12.000000)", "KillDoc"}},
        {conTexto,
         "FontName(FontControl)",
         {"Print(|1)", "FontSize(12.000000)", "FontName(FontControl)", "KillDoc"}},
        {conTexto,
         "Print(ABC|1)",
         {"Print(|1)", "FontSize(12.000000)", "FontName(FontControl)", "Print(ABC|1)", "KillDoc"}},
        {conTexto,
         "EndDoc",
         {"Print(|1)", "FontSize(12.000000)", "FontName(FontControl)", "Print(ABC|1)", "EndDoc",
          "KillDoc"}},
        {{{"AC_PC", "S"}}, "Print(|0)", {"Print(|1)", "Print(|0)", "KillDoc"}},
        {{}, "EndDoc", {"Print(|1)", "Print(|1)", "EndDoc", "KillDoc"}},
    };
    for (const auto& c : casos) {
        perfil_.valores = c.claves;
        impresora_.fallarEn = c.falla;
        EXPECT_THROW(Trabajo(), Fallo) << c.falla;
        EXPECT_EQ(impresora_.llamadas, c.trabajo) << c.falla;
        impresora_.fallarEn.clear();
        const Llamadas siguiente = Trabajo();
        EXPECT_EQ(siguiente.front(), "Print(|1)") << "after " << c.falla;
        EXPECT_EQ(siguiente.back(), "EndDoc")
            << "after " << c.falla << ": a whole job, not dropped";
    }
}

}  // namespace
