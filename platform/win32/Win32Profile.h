#pragma once
// Profile files through the system's wide profile functions: the path and the
// texts reach the system whole, and the system reads and writes the file in
// its own code page.

#include "platform/PrivateProfile.h"

class Win32Profile : public PrivateProfile {
  public:
    void GetString(std::u16string_view section, std::u16string_view key,
                   std::u16string_view defecto, std::span<char16_t> buffer,
                   const std::u16string& path) override;
    bool WriteString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value, const std::u16string& path) override;
    // Through the system's 8-bit code page and back, as the profile
    // functions write an 8-bit file.
    std::u16string AsStored(std::u16string_view value) override;
};
