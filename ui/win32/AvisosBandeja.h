#pragma once
// What the drawer's sensor shows: while the drawer reads open, an icon of its
// own in the notification area with the tip "Cajón abierto", and the main
// window's caption says so; the warning is that icon's balloon with the
// system's warning sound. The watcher's thread only posts; everything is done
// on the window's thread.

#include <windows.h>

#include "drawer/VigilanteCajon.h"

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

    void Abierto() override;
    void Aviso(int segundos) override;
    void Cerrado() override;

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Mensaje(UINT msg, WPARAM wp, LPARAM lp);
    void Mostrar(bool abierto);
    void Avisar(int segundos);

    HINSTANCE instancia_;
    HWND principal_;
    HWND hwnd_ = nullptr;
    HICON icono_ = nullptr;
    bool puesto_ = false;
};
