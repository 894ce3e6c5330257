#include <gtest/gtest.h>

#include "drawer/ImpresoraDelPuerto.h"
#include "tests/support/Fakes.h"

namespace {

TEST(PuedeSerImpresora, DevicesAndPathsKeepTheirMeaning) {
    const std::pair<std::string, bool> casos[] = {
        {"LPT1:", false},
        {"lpt9:", false},
        {"LPT1", false},
        {"COM1:", false},
        {"com9", false},
        {"PRN", false},
        {"prn:", false},
        {"AUX", false},
        {"NUL", false},
        {"USB001:", false},
        {"C:\\caja\\cajon.bin", false},
        {"\\\\servidor\\Tickets", false},
        {"\\\\.\\COM10", false},
        {"caja/cajon.bin", false},
        {"Caja:1", false},
        {"", false},
        {"Tickets_RAW", true},
        {"EPSON TM-T20II Receipt", true},
        {"cajon.bin", true},
        {"LPT10", true},
        {"COM0", true},
        {"PRNX", true},
        {"Impresora Cañón", true},
    };
    for (const auto& [puerto, esperado] : casos) {
        EXPECT_EQ(PuedeSerImpresora(puerto), esperado) << puerto;
    }
}

TEST(MismoNombreDeImpresora, IgnoresTheCaseOfAsciiAndSpanishLetters) {
    struct Caso {
        std::string a, b;
        bool iguales;
    };
    const Caso casos[] = {
        {"Tickets_RAW", "tickets_raw", true},
        {"EPSON TM-T20II", "epson tm-t20ii", true},
        {"Cañón Ñandú ÁÉÍÓÚÜ", "CAÑÓN ñANDÚ áéíóúü", true},
        {"Caja", "Caja ", false},
        {"Caja1", "Caja2", false},
        {"Caja_1", "Caja-1", false},
        {"×", "÷", false},  // C3 97 and C3 B7: not a pair of cases
        {"Cañon", "Canon", false},
        {"", "", true},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(MismoNombreDeImpresora(c.a, c.b), c.iguales) << c.a << " / " << c.b;
        EXPECT_EQ(MismoNombreDeImpresora(c.b, c.a), c.iguales) << c.b << " / " << c.a;
    }
}

TEST(BuscarImpresora, GivesThePrinterAsTheSystemSpellsIt) {
    const std::vector<std::string> instaladas = {"Caja_PS", "Tickets_RAW", "caja", "Caja"};
    EXPECT_EQ(BuscarImpresora("tickets_raw", instaladas), "Tickets_RAW");
    EXPECT_EQ(BuscarImpresora("TICKETS_RAW", instaladas), "Tickets_RAW");
    // An exact match is taken before an earlier one that differs in case.
    EXPECT_EQ(BuscarImpresora("Caja", instaladas), "Caja");
    EXPECT_EQ(BuscarImpresora("CAJA", instaladas), "caja");
    EXPECT_EQ(BuscarImpresora("Tickets", instaladas), std::nullopt);
    EXPECT_EQ(BuscarImpresora("Tickets_RAW", {}), std::nullopt);
}

TEST(ImpresoraDelPuerto, ReadsTheListOnlyForTextsThatCanNameAPrinter) {
    FakePrinting impresora;
    impresora.instaladas = {"Tickets_RAW", "LPT1"};

    EXPECT_EQ(ImpresoraDelPuerto("LPT1", impresora), std::nullopt);
    EXPECT_EQ(ImpresoraDelPuerto("C:\\Tickets_RAW", impresora), std::nullopt);
    EXPECT_EQ(ImpresoraDelPuerto("", impresora), std::nullopt);
    EXPECT_TRUE(impresora.llamadas.empty());

    EXPECT_EQ(ImpresoraDelPuerto("tickets_RAW", impresora), "Tickets_RAW");
    EXPECT_EQ(ImpresoraDelPuerto("tickets_RAW", impresora), "Tickets_RAW");
    EXPECT_EQ(impresora.llamadas.size(), 2u) << "the list is read at every kick";

    impresora.instaladas.push_back("Nueva");
    EXPECT_EQ(ImpresoraDelPuerto("NUEVA", impresora), "Nueva") << "a printer added meanwhile";
}

TEST(ImpresoraDelPuerto, AListThatCannotBeReadLeavesTheTextAPort) {
    FakePrinting impresora;
    impresora.instaladas = {"Tickets_RAW"};
    impresora.fallarAlListar = true;
    EXPECT_EQ(ImpresoraDelPuerto("Tickets_RAW", impresora), std::nullopt);
}

}  // namespace
