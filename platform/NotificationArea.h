#pragma once
// The notification area (system tray): one icon per window and id.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The fields of the system's first, smallest notify-icon record.
struct RegistroIcono {
    std::uint32_t cbSize = 0;
    std::uintptr_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uintptr_t hIcon = 0;
    std::array<char, 64> szTip{};  // in the system's ANSI code page
};

inline constexpr std::uint32_t NIF_MESSAGE_ = 1;
inline constexpr std::uint32_t NIF_ICON_ = 2;
inline constexpr std::uint32_t NIF_TIP_ = 4;

class NotificationArea {
  public:
    virtual ~NotificationArea() = default;
    // The size of that record on this system (88 bytes for 32-bit programs).
    virtual std::uint32_t TamanoRegistro() const = 0;
    // A UTF-8 text in the code page the record's tip is read in, cut at a
    // whole character to at most `maximo` bytes; a character the code page
    // lacks becomes the system's replacement character.
    virtual std::string TextoDeTip(const std::string& utf8, std::size_t maximo) const = 0;
    // Add and delete; true when the system did it.
    virtual bool Agregar(const RegistroIcono& registro) = 0;
    virtual bool Quitar(const RegistroIcono& registro) = 0;
};
