#pragma once
// Profile files through the system's ANSI profile functions.

#include "platform/PrivateProfile.h"

class Win32Profile : public PrivateProfile {
  public:
    void GetString(std::string_view section, std::string_view key, std::string_view defecto,
                   std::span<char> buffer, const std::string& path) override;
    bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                     const std::string& path) override;
};
