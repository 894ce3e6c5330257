#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawer/SecuenciaCodigos.h"
#include "platform/Fallo.h"

namespace {

TEST(DividirItems, SplitsAtEveryBlankKeepingEmptyItems) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(DividirItems(""), V{});
    EXPECT_EQ(DividirItems("27"), V{"27"});
    EXPECT_EQ(DividirItems("27 112 0"), (V{"27", "112", "0"}));
    EXPECT_EQ(DividirItems("27 112  0"), (V{"27", "112", "", "0"}));
    EXPECT_EQ(DividirItems(" 27 "), (V{"", "27", ""}));
    EXPECT_EQ(DividirItems(" "), (V{"", ""}));
    EXPECT_EQ(DividirItems("27\t112"), V{"27\t112"});
    EXPECT_EQ(DividirItems(std::string(100000, ' ')).size(), 100001u);
}

TEST(CodigoDeItem, NumbersGiveTheirByte) {
    const std::pair<std::string, int> casos[] = {
        {"0", 0},
        {"27", 27},
        {"255", 255},
        {"+27", 27},
        {"0027", 27},
        {"-0", 0},
        {"27.0", 27},
        {"2.7E1", 27},
        {"2.7e+1", 27},
        {"270e-1", 27},
        {"0.5", 0},
        {"1.5", 2},
        {"2.5", 2},
        {"254.5", 254},
        {"&H1B", 27},
        {"&hff", 255},
        {"&O33", 27},
        {"1e-99999", 0},
        {std::string(3000, '0') + "7", 7},
    };
    for (const auto& [item, byte] : casos) {
        EXPECT_EQ(CodigoDeItem(item), byte) << item;
    }
}

int NumeroDeFallo(const std::string& item) {
    try {
        CodigoDeItem(item);
    } catch (const Fallo& f) {
        return f.numero;
    }
    return 0;
}

TEST(CodigoDeItem, BadItemsFailWithTypeMismatchOverflowOrInvalidArgument) {
    const std::pair<std::string, int> casos[] = {
        {"", 13},
        {"a", 13},
        {"12a", 13},
        {"1 2", 13},
        {".", 13},
        {"-", 13},
        {"e5", 13},
        {"1e", 13},
        {"1.2.3", 13},
        {"\t27", 13},
        {"&H", 13},
        {"&HG", 13},
        {"&O8", 13},
        {"&", 13},
        {"0x1B", 13},
        {"99999999999", 6},
        {"-99999999999", 6},
        {"1e10", 6},
        {"&H100000000", 6},
        {std::string(5000, '9'), 6},
        {"1e99999", 6},
        {"2147483648", 6},
        {"256", 5},
        {"-1", 5},
        {"255.5", 5},
        {"-0.6", 5},
        {"2147483647", 5},
        {"&HFFFFFFFF", 5},
    };
    for (const auto& [item, numero] : casos) {
        EXPECT_EQ(NumeroDeFallo(item), numero) << '"' << item.substr(0, 40) << '"';
    }
}

}  // namespace
