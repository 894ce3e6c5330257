#pragma once
// A parameter set by the administrator: a value of the same name under
// SOFTWARE\Policies\AbrirCajon of the machine, else of the user, wins over the
// parameter file. A value is untrusted input, read by what it means: a text
// (REG_SZ; REG_EXPAND_SZ without a %VARIABLE%; REG_MULTI_SZ with its lines
// joined by a blank), a
// number (REG_DWORD, REG_QWORD) as its decimal text, "true" and "false" as 1
// and 0. Any other value, one too long or with control characters, or a
// KovraBloqueado that is not a number, is unusable: the store's listener
// hears of it, and it counts as the strictest setting (ValorMasEstricto),
// never as not set, and never lets the user's branch decide instead.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/AlmacenPoliticas.h"

// The longest value read, in bytes: 16,383 characters and the NUL, far more
// than a long list of web origins needs.
inline constexpr std::size_t kLimitePolitica = 32 * 1024;

// The value the administrator set for `clave`, in UTF-8, without the blanks
// around it; none when no usable value is set.
std::optional<std::string> ValorDePolitica(AlmacenPoliticas& almacen, std::string_view clave);

// What an unusable value counts as: locked for KovraBloqueado, no origin for
// KovraWebOrigenes; for the others none, and the file's value counts.
std::optional<std::string> ValorMasEstricto(std::string_view clave);
