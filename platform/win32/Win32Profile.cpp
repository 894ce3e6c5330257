#include "platform/win32/Win32Profile.h"

#include <windows.h>

#include <limits>

void Win32Profile::GetString(std::string_view section, std::string_view key,
                             std::string_view defecto, std::span<char> buffer,
                             const std::string& path) {
    if (buffer.empty()) return;
    const auto size =
        static_cast<DWORD>(std::min<std::size_t>(buffer.size(), std::numeric_limits<DWORD>::max()));
    GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                             std::string(defecto).c_str(), buffer.data(), size, path.c_str());
}

bool Win32Profile::WriteString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path) {
    return WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                      std::string(value).c_str(), path.c_str()) != FALSE;
}
