#pragma once
// The main window's icon in the notification area: the record handed to the
// shell, added when the window is minimized (PonerSystray) and removed when
// it is restored or ends (QuitarSystray).

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Dialogs.h"
#include "platform/NotificationArea.h"

// The icon's callback message and the mouse codes acted on.
inline constexpr std::uint32_t kMensajeIcono = 512;
inline constexpr int kDobleClicIzquierdo = 515;
inline constexpr int kBotonDerechoSuelto = 517;

class IconoPrincipal {
  public:
    explicit IconoPrincipal(NotificationArea& bandeja) : bandeja_(bandeja) {}

    // The window's handle and icon, for the record.
    void FijarIdentidad(std::uintptr_t hWnd, std::uintptr_t hIcon) {
        hWnd_ = hWnd;
        hIcon_ = hIcon;
    }
    // Adds the icon with the window's caption as its tip, read at its step;
    // a failure is reported with its step. Puesto() tells whether the shell
    // took it.
    void PonerSystray(Dialogs& dialogs, const std::function<std::string()>& caption);
    void QuitarSystray();
    bool Puesto() const { return puesto_; }

  private:
    NotificationArea& bandeja_;
    RegistroIcono registro_{};
    std::uintptr_t hWnd_ = 0;
    std::uintptr_t hIcon_ = 0;
    bool puesto_ = false;
};

// The tip field: the caption, one NUL, blanks up to 64 bytes; a caption of 64
// bytes or more is cut to 64 and has no NUL. The caption comes in the code
// page of the tip (NotificationArea::TextoDeTip).
std::array<char, 64> CampoTip(std::string_view texto);

// The mouse event code from an x position: pixels as they are, twips divided
// by the twips per pixel and rounded half to even.
int CodigoDeEvento(double x, bool midePixeles, double twipsPorPixel);
