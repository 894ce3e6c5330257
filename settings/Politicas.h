#pragma once
// A parameter set by the administrator: a value of the same name under
// SOFTWARE\Policies\AbrirCajon of the machine, else of the user, wins over the
// parameter file. A value is untrusted input: only a text (REG_SZ) or a
// number (REG_DWORD, taken as its decimal text) within the limit counts; any
// other, or a text holding control characters, is as if it were not set.

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
