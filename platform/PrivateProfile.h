#pragma once
// Private profile (INI) files, shaped like the system's profile functions so that
// the parameter reader can keep their exact buffer contract.

#include <span>
#include <string>
#include <string_view>

class PrivateProfile {
  public:
    virtual ~PrivateProfile() = default;

    // Looks `key` up in `section` of the file at `path`. Copies the value, or
    // `defecto` when the file, section or key is missing, into `buffer`
    // followed by one NUL, cut to buffer.size() - 1 characters. Positions after
    // the NUL are left as they were. Blanks around the value are not copied.
    virtual void GetString(std::string_view section, std::string_view key, std::string_view defecto,
                           std::span<char> buffer, const std::string& path) = 0;

    // Stores key=value in section, creating the file and section as needed.
    // Returns false when the system refuses (missing folder, read-only file).
    virtual bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                             const std::string& path) = 0;
};
