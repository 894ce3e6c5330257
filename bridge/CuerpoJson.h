#pragma once
// The body of the browser bridge's POST: a JSON object, whose member
// "motivo", when present, is a text. Hand-written: the whole check is this
// much, where a JSON library would add its weight to the release for it.

#include <optional>
#include <string>
#include <string_view>

struct CuerpoApertura {
    std::optional<std::string> motivo;  // in UTF-8, as sent
};

// Longest motivo, in characters.
inline constexpr std::size_t kMaxMotivo = 80;

// None when the text is not one JSON object (RFC 8259, nested at most 16
// deep), or when "motivo" is there but is not a text of at most kMaxMotivo
// characters, or is there twice.
std::optional<CuerpoApertura> LeerCuerpoApertura(std::string_view texto);

// A text as a JSON string, quotes included.
std::string TextoJson(std::string_view utf8);
