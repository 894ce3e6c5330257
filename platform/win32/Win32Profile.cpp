#include "platform/win32/Win32Profile.h"

#include <windows.h>

#include <algorithm>
#include <limits>

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16");

std::wstring Ancho(std::u16string_view texto) {
    return std::wstring(texto.begin(), texto.end());
}

}  // namespace

void Win32Profile::GetString(std::u16string_view section, std::u16string_view key,
                             std::u16string_view defecto, std::span<char16_t> buffer,
                             const std::u16string& path) {
    if (buffer.empty()) return;
    const auto size =
        static_cast<DWORD>(std::min<std::size_t>(buffer.size(), std::numeric_limits<DWORD>::max()));
    // The caller's buffer as it stands: the system leaves what follows the NUL.
    std::wstring ancho(buffer.begin(), buffer.begin() + size);
    GetPrivateProfileStringW(Ancho(section).c_str(), Ancho(key).c_str(), Ancho(defecto).c_str(),
                             ancho.data(), size, Ancho(path).c_str());
    std::copy(ancho.begin(), ancho.end(), buffer.begin());
}

bool Win32Profile::WriteString(std::u16string_view section, std::u16string_view key,
                               std::u16string_view value, const std::u16string& path) {
    return WritePrivateProfileStringW(Ancho(section).c_str(), Ancho(key).c_str(),
                                      Ancho(value).c_str(), Ancho(path).c_str()) != FALSE;
}

std::u16string Win32Profile::AsStored(std::u16string_view value) {
    const std::wstring ancho = Ancho(value);
    const int n = static_cast<int>(ancho.size());
    const int bytes = WideCharToMultiByte(CP_ACP, 0, ancho.data(), n, nullptr, 0, nullptr, nullptr);
    if (n == 0 || bytes <= 0) return std::u16string(value);
    std::string ocho(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, ancho.data(), n, ocho.data(), bytes, nullptr, nullptr);
    const int vuelta = MultiByteToWideChar(CP_ACP, 0, ocho.data(), bytes, nullptr, 0);
    std::u16string resultado(static_cast<std::size_t>(std::max(vuelta, 0)), u'\0');
    MultiByteToWideChar(CP_ACP, 0, ocho.data(), bytes, reinterpret_cast<wchar_t*>(resultado.data()),
                        vuelta);
    return resultado;
}
