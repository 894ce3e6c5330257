#pragma once
// A host name with letters beyond ASCII, in UTF-8, in the ASCII form that
// browsers send (IDNA: "cañada.es" is "xn--caada-pta.es"); none when it is
// no valid name.

#include <optional>
#include <string>
#include <string_view>

using ConversorIdn = std::optional<std::string> (*)(std::string_view);
