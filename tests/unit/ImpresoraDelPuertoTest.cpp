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

TEST(BuscarImpresora, GivesThePrinterAsTheSystemSpellsIt) {
    const std::vector<std::string> instaladas = {"Caja_PS", "Tickets_RAW", "caja", "Caja"};
    FakePrinting sistema;
    const auto BuscarImpresora = [&](std::string_view puerto, const std::vector<std::string>& en) {
        return ::BuscarImpresora(puerto, en, sistema);
    };
    EXPECT_EQ(BuscarImpresora("tickets_raw", instaladas), "Tickets_RAW");
    EXPECT_EQ(BuscarImpresora("TICKETS_RAW", instaladas), "Tickets_RAW");
    // An exact match is taken before an earlier one that differs in case.
    EXPECT_EQ(BuscarImpresora("Caja", instaladas), "Caja");
    EXPECT_EQ(BuscarImpresora("CAJA", instaladas), "caja");
    EXPECT_EQ(BuscarImpresora("Tickets", instaladas), std::nullopt);
    EXPECT_EQ(BuscarImpresora("Tickets_RAW", {}), std::nullopt);
}

TEST(ImpresoraDelPuerto, ABareNameIsAlwaysAPrinterNeverAFile) {
    FakePrinting impresora;
    impresora.instaladas = {"Tickets_RAW"};
    EXPECT_EQ(ImpresoraDelPuerto("tickets_RAW", impresora), "Tickets_RAW");
    impresora.instaladas.push_back("Nueva");
    EXPECT_EQ(ImpresoraDelPuerto("NUEVA", impresora), "Nueva") << "a printer added meanwhile";
    EXPECT_EQ(impresora.llamadas.size(), 2u) << "the list is read at every kick";

    const auto Falla = [&](std::string_view puerto) {
        try {
            ImpresoraDelPuerto(puerto, impresora);
        } catch (const Fallo& f) {
            return std::to_string(f.numero) + "." + f.descripcion;
        }
        return std::string("found");
    };
    const std::string k1801 = "1801.El nombre de la impresora no es válido";
    EXPECT_EQ(Falla("POS-80 Recibos"), k1801);
    EXPECT_EQ(Falla("Tickets_RAW "), k1801) << "a trailing blank is another name";
    impresora.fallarAlListar = true;
    EXPECT_EQ(Falla("Tickets_RAW"), k1801) << "a list that cannot be read names no printer";
}

}  // namespace
