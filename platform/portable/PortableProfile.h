#pragma once
// Profile files in portable C++, with the contract of the system's profile
// functions: case-insensitive section and key names, the first of duplicates
// wins, blanks and one pair of surrounding quotes dropped from values, CR LF
// or LF line ends; a write edits the key in place or adds it at the end of its
// section, creating the file and section, and fails when the folder is missing
// or the file cannot be written. Paths use '\' or '/'. The file is in
// Windows-1252, as on a Western European Windows.

#include "platform/PrivateProfile.h"

class PortableProfile : public PrivateProfile {
  public:
    void GetString(std::u16string_view section, std::u16string_view key,
                   std::u16string_view defecto, std::span<char16_t> buffer,
                   const std::u16string& path) override;
    bool WriteString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value, const std::u16string& path) override;
    std::u16string AsStored(std::u16string_view value) override;
};

// The value `key` has in `section` of an INI text, if any. Exposed for tests
// and fuzzing of the parser on its own.
bool BuscarEnPerfil(std::string_view contenido, std::string_view section, std::string_view key,
                    std::string& valor);
