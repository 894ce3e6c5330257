// The real program with a notification area that refuses every icon, as a
// Windows without a taskbar would: the end-to-end tests check that the window
// is never lost.

#include <windows.h>

#include "platform/win32/Win32NotificationArea.h"
#include "ui/win32/Programa.h"

namespace {

class BandejaQueRechaza : public Win32NotificationArea {
  public:
    bool Agregar(const RegistroIcono&) override { return false; }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instancia, HINSTANCE, PWSTR, int) {
    BandejaQueRechaza bandeja;
    return EjecutarPrograma(instancia, bandeja);
}
