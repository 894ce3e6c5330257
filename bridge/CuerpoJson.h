#pragma once
// The body of the browser bridge's POST: a JSON object, whose members
// "motivo" and "id", when present, are texts. Hand-written: the whole check is this
// much, where a JSON library would add its weight to the release for it.

#include <optional>
#include <string>
#include <string_view>

struct CuerpoApertura {
    std::optional<std::string> motivo;  // in UTF-8, as sent
    // The page's name for this one request: its retry, with the same id,
    // gets the first one's answer and opens nothing.
    std::optional<std::string> id;
};

// Longest motivo and id, in characters.
inline constexpr std::size_t kMaxMotivo = 80;
inline constexpr std::size_t kMaxId = 64;

// None when the text is not one JSON object (RFC 8259, nested at most 16
// deep), or when "motivo" or "id" is there but is not a text of at most
// kMaxMotivo or kMaxId characters, or is there twice.
std::optional<CuerpoApertura> LeerCuerpoApertura(std::string_view texto);

// A text as a JSON string, quotes included.
std::string TextoJson(std::string_view utf8);
