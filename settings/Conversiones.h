#pragma once
// How stored texts are read as numbers, booleans and keys.

#include <optional>
#include <string>
#include <string_view>

// The leading number of a text, the rest ignored: blanks, tabs and line feeds
// are skipped anywhere ("1 0" is 10); sign, digits, '.' as the only decimal
// separator, exponent E; "&H" / "&O" start a hexadecimal / octal whole number.
// No leading number gives 0. Never fails: a decimal overflow gives +/-infinity,
// a hexadecimal or octal number of up to 32 bits is a two's-complement Long
// ("&HFFFFFFFF" is -1) and a wider one its plain, non-negative value.
double ValorNumerico(std::string_view texto);

// A plain decimal ("-12.5e-3") read by the C runtime, correctly rounded,
// whatever locale a printer driver loaded into the process may have set.
// None unless it reads whole. `fueraDeRango` tells a value too large, or too
// small to be held exactly.
std::optional<double> LeerDecimal(std::string texto, bool& fueraDeRango);

// "-1", a value of 1, or a first letter Y, T, V or S (any case) is true; an
// empty text or one that starts with '?' or '¿' gives IfBlankOrNullPut;
// anything else is false. Texts are UTF-8.
bool ToBoolean(std::string_view Texto, bool IfBlankOrNullPut);

// The text without the blanks and tabs around it.
std::string_view SinBlancos(std::string_view texto);

// A value as a box quotes it: its first 80 characters (UTF-8), and "…" when
// there were more. A value of a policy or of the file may be thousands of
// characters long, and a box holding it all would be wider than the screen.
std::string ValorEnCaja(std::string_view valor);

// A whole number written with decimal digits only, one to `maxCifras` of
// them (no sign, no blanks); nothing for any other text.
std::optional<unsigned long> EnteroDecimal(std::string_view texto, std::size_t maxCifras);

// A function key: its virtual-key code and its name.
struct TeclaFuncion {
    int teclaVirtual;    // 0x70 (F1) to 0x87 (F24)
    std::string nombre;  // "F1" to "F24"
};

// The function key a text names: F1 to F24 in any case, blanks and tabs
// around ignored ("f9", " F24 "). Nothing for any other text, also "F09".
std::optional<TeclaFuncion> LeerTeclaFuncion(std::string_view texto);
