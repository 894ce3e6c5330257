#pragma once
// Private profile (INI) files, shaped like the system's wide profile functions
// so that the parameter reader can keep their exact buffer contract. Texts are
// UTF-16; the file itself is in the system's 8-bit code page, which is the
// system's business: the path never passes through it.

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
    virtual void GetString(std::u16string_view section, std::u16string_view key,
                           std::u16string_view defecto, std::span<char16_t> buffer,
                           const std::u16string& path) = 0;

    // Stores key=value in section, creating the file and section as needed.
    // Returns false when the system refuses (missing folder, read-only file).
    virtual bool WriteString(std::u16string_view section, std::u16string_view key,
                             std::u16string_view value, const std::u16string& path) = 0;

    // `value` as a read gives it back once written: characters that the
    // file's code page lacks come back as the system replaced them ("?").
    virtual std::u16string AsStored(std::u16string_view value) { return std::u16string(value); }
};
