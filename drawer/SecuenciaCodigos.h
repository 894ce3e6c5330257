#pragma once
// The code sequence typed in the window: byte values separated by blanks.

#include <string>
#include <string_view>
#include <vector>

// Splits at every single blank, keeping empty items ("1  2" gives "1", "", "2");
// an empty text gives no items.
std::vector<std::string_view> DividirItems(std::string_view texto);

// The byte an item stands for. The item must be a number ("27", "+27", "27.0",
// "2.7E1", "&H1B", "&O33"); a fraction rounds to the nearest whole number, ties
// to even. Throws Fallo 13 for an empty or non-numeric item, 6 for a number
// beyond the 32-bit range, 5 for a number outside 0..255.
unsigned char CodigoDeItem(std::string_view item);
