#pragma once
// The keyboard's state, read system-wide whichever program has the focus.

#include <cstdint>

inline constexpr int kTeclaF1 = 0x70;  // F2 to F24 follow it: 0x71 to 0x87
inline constexpr int kTeclaF12 = 0x7B;
inline constexpr int kTeclaShift = 0x10;
inline constexpr int kTeclaControl = 0x11;
inline constexpr int kTeclaAlt = 0x12;

class KeyState {
  public:
    virtual ~KeyState() = default;
    // Negative while the key is down; exactly 0 only when it is up and was not
    // pressed since the previous query.
    virtual std::int16_t GetAsyncKeyState(int teclaVirtual) = 0;
};
