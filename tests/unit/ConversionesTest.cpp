#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <string_view>

#include "drawer/SecuenciaCodigos.h"
#include "settings/Conversiones.h"

namespace {

struct CasoNumero {
    std::string texto;
    double valor;
};

TEST(ValorNumerico, ReadsTheLeadingNumberAndIgnoresTheRest) {
    const CasoNumero casos[] = {
        {"", 0},
        {"abc", 0},
        {"1", 1},
        {"1abc", 1},
        {"1,5", 1},
        {"1.5", 1.5},
        {"10.5pt", 10.5},
        {".5", 0.5},
        {"-1", -1},
        {"+7", 7},
        {"-1.0", -1},
        {"01", 1},
        {"1.0", 1},
        {"1 0", 10},
        {"\t 1\n2 ", 12},
        {"  -  3", -3},
        {"1e3", 1000},
        {"2E-2", 0.02},
        {"1e", 1},
        {"1e+", 1},
        {"-", 0},
        {"+", 0},
        {".", 0},
        {"-.", 0},
        {"$5", 0},
        {"&H10", 16},
        {"&hff", 255},
        {"&O17", 15},
        {"&o8", 0},
        {"&H", 0},
        {"&", 0},
        {"&X1", 0},
        {"&HFFFFFFFF", -1},
        {"&H7FFFFFFF", 2147483647},
        {"&HFFFFFFFFFF", 1099511627775.0},
        {"1\r2", 1},
        {"S", 0},
        {"true", 0},
    };
    for (const auto& c : casos)
        EXPECT_DOUBLE_EQ(ValorNumerico(c.texto), c.valor) << '"' << c.texto << '"';
}

TEST(ValorNumerico, HostileTextGivesADefinedValue) {
    EXPECT_EQ(ValorNumerico("1e999999999999999999999"), HUGE_VAL);
    EXPECT_EQ(ValorNumerico("-1e400"), -HUGE_VAL);
    EXPECT_EQ(ValorNumerico("1e-999999999999"), 0.0);
    EXPECT_EQ(ValorNumerico(std::string(5000, '9')), HUGE_VAL);
    EXPECT_DOUBLE_EQ(ValorNumerico("0." + std::string(5000, '0') + "1e5000"), 0.1);
    EXPECT_DOUBLE_EQ(ValorNumerico(std::string(3000, '0') + "42"), 42);
    EXPECT_EQ(ValorNumerico("&H" + std::string(4000, 'F')), 18446744073709551615.0);
    EXPECT_EQ(ValorNumerico("&O" + std::string(4000, '7')), 18446744073709551615.0);
    EXPECT_EQ(ValorNumerico(std::string(100000, ' ')), 0.0);
}

TEST(ValorNumerico, APointIsTheSeparatorWhateverTheCLibrarysLocale) {
    // A printer driver loaded into the process may set the C library's
    // locale to the user's, whose separator is a comma.
    bool conComa = false;
    for (const char* nombre : {"Spanish_Spain.1252", "es_ES.UTF-8", "pl_PL.utf8", "de_DE.UTF-8"}) {
        conComa = std::setlocale(LC_NUMERIC, nombre) != nullptr &&
                  std::string_view(std::localeconv()->decimal_point) == ",";
        if (conComa) break;
    }
    if (!conComa) {
        std::setlocale(LC_NUMERIC, "C");
        GTEST_SKIP() << "no locale with a decimal comma on this system";
    }
    const double valores[] = {ValorNumerico("1.5"), ValorNumerico("2E-2"),
                              static_cast<double>(CodigoDeItem("1.5e1"))};
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(valores[0], 1.5);
    EXPECT_EQ(valores[1], 0.02);
    EXPECT_EQ(valores[2], 15);
}

struct CasoBooleano {
    std::string texto;
    bool siBlancoFalso;  // result with IfBlankOrNullPut = false
    bool siBlancoVerdadero;
};

TEST(ToBoolean, ReadsYesNoWordsNumbersAndBlanks) {
    const CasoBooleano casos[] = {
        {"S", true, true},     {"si", true, true},     {"Sí", true, true},
        {"Y", true, true},     {"yes", true, true},    {"T", true, true},
        {"true", true, true},  {"V", true, true},      {"verdadero", true, true},
        {"1", true, true},     {"1.0", true, true},    {"01", true, true},
        {"-1", true, true},    {"0", false, false},    {"N", false, false},
        {"no", false, false},  {"F", false, false},    {"false", false, false},
        {"2", false, false},   {"-1.0", false, false}, {" ", false, false},
        {"", false, true},     {"?", false, true},     {"¿", false, true},
        {"¿sí?", false, true}, {"?1", false, true},    {" 1", true, true},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(ToBoolean(c.texto, false), c.siBlancoFalso) << '"' << c.texto << '"';
        EXPECT_EQ(ToBoolean(c.texto, true), c.siBlancoVerdadero) << '"' << c.texto << '"';
    }
}

TEST(LeerTeclaFuncion, NamesF1ToF24InAnyCaseAndNothingElse) {
    const std::pair<std::string, int> validas[] = {
        {"F1", 0x70},  {"f2", 0x71},  {"F9", 0x78},  {" F10\t", 0x79},
        {"f12", 0x7B}, {"F13", 0x7C}, {"F20", 0x83}, {"  F24  ", 0x87}};
    for (const auto& [texto, codigo] : validas) {
        const auto tecla = LeerTeclaFuncion(texto);
        ASSERT_TRUE(tecla) << texto;
        EXPECT_EQ(tecla->teclaVirtual, codigo) << texto;
        EXPECT_EQ(tecla->nombre, "F" + std::to_string(codigo - 0x6F)) << texto;
    }
    for (const char* texto : {"", " ", "F", "F0", "F25", "F99", "F100", "F12x", "F09", "F-1", "F+9",
                              "F 9", "FF9", "9", "Ctrl+F9", "Intro", "F1\n"})
        EXPECT_FALSE(LeerTeclaFuncion(texto)) << texto;
}

}  // namespace
