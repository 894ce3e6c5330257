// The real program with a notification area that refuses icons, as a Windows
// without a taskbar would: the end-to-end tests check that the window is
// never lost. CAJON_ICONOS_ACEPTADOS=N lets the first N icons through, so
// that a test can have the area refuse only after a shell restart.

#include <windows.h>

#include <cstdlib>

#include "platform/win32/Win32NotificationArea.h"
#include "ui/win32/Programa.h"

namespace {

class BandejaQueRechaza : public Win32NotificationArea {
  public:
    explicit BandejaQueRechaza(int aceptados) : aceptados_(aceptados) {}
    bool Agregar(const RegistroIcono& registro) override {
        if (aceptados_ <= 0) return false;
        --aceptados_;
        return Win32NotificationArea::Agregar(registro);
    }

  private:
    int aceptados_;
};

int IconosAceptados() {
    const char* valor = std::getenv("CAJON_ICONOS_ACEPTADOS");
    return valor != nullptr ? std::atoi(valor) : 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instancia, HINSTANCE, PWSTR, int) {
    BandejaQueRechaza bandeja(IconosAceptados());
    return EjecutarPrograma(instancia, bandeja);
}
