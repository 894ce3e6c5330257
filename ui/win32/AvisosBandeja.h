#pragma once
// What the drawer's sensor shows: while the drawer reads open, an icon of its
// own in the notification area with the tip "Cajón abierto", and the main
// window's caption says so (or that the check runs); the warnings are that
// icon's balloons with the system's warning sound. The watcher's thread only
// posts; everything is done on the window's thread, where the check's turns
// are handed to the window's logic.

#include <windows.h>

#include <functional>
#include <optional>

#include "drawer/Vigilancia.h"

// The main window's system menu item "Comprobar el sensor del cajón…". The
// right-button release on the program's icon restores the window, so the
// item lives in the window's system menu (its title bar's icon, Alt+Space).
inline constexpr UINT kComandoComprobarSensor = 0x0C10;
void AnadirComprobarSensor(HWND principal);

class AvisosBandeja final : public AvisosCajon {
  public:
    // Throws Fallo when the system refuses the window that receives them.
    AvisosBandeja(HINSTANCE instancia, HWND principal);
    ~AvisosBandeja() override;
    AvisosBandeja(const AvisosBandeja&) = delete;
    AvisosBandeja& operator=(const AvisosBandeja&) = delete;

    // Who takes the check's turns on the window's thread (none: nobody).
    void Conectar(std::function<void()> patada,
                  std::function<void(std::optional<ModoSensor>, bool)> comprobado);
    // At the end: the icon goes now, whatever is still posted.
    void Quitar();
    // A warning in a balloon, with the system's warning sound, on the
    // window's thread: on the open drawer's icon, or on an icon that comes
    // for the balloon alone and goes after a while.
    void Globo(const std::string& texto);

    void Abierto() override;
    void Aviso(int segundos) override;
    void Cerrado() override;
    void NoSeAbrio() override;
    void Comprobando() override;
    void PatadaDeComprobacion() override;
    void Comprobado(std::optional<ModoSensor> modo, bool pateado) override;

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Mensaje(UINT msg, WPARAM wp, LPARAM lp);
    // The caption and the icon as abierto_, comprobando_ and globo_ say.
    void Mostrar();

    HINSTANCE instancia_;
    HWND principal_;
    HWND hwnd_ = nullptr;
    HICON icono_ = nullptr;
    UINT taskbarCreated_ = 0;
    bool puesto_ = false;
    bool abierto_ = false;
    bool comprobando_ = false;
    bool globo_ = false;  // the icon is there only for a balloon, for a while
    std::function<void()> patada_;
    std::function<void(std::optional<ModoSensor>, bool)> comprobado_;
};
