#pragma once
// KovraWebOrigenes: the web origins whose pages may open the drawer. A page's
// origin reaches the bridge as its browser writes it (scheme and host in
// lower case, the host's ASCII form, no default port, nothing after), so each
// entry is read into that form, and an entry that cannot be an origin is left
// out and named at start rather than kept where it would never match.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Idn.h"

// `scheme://host[:port]` (with one '/' after, at most) with http or https, as
// the browser writes that origin; none when the entry is anything else.
std::optional<std::string> LeerOrigen(std::string_view entrada, ConversorIdn idn);

struct ListaOrigenes {
    std::vector<std::string> origenes;     // as the browser writes them
    std::vector<std::string> descartados;  // as listed
};
// The entries, split at blanks and commas.
ListaOrigenes LeerOrigenes(std::string_view texto, ConversorIdn idn);

// The one box at start naming the entries left out.
std::string TextoOrigenesDescartados(const ListaOrigenes& lista);
