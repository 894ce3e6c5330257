#include <windows.h>

#include "ui/win32/VentanaPrincipal.h"

int WINAPI wWinMain(HINSTANCE instancia, HINSTANCE, PWSTR, int mostrar) {
    VentanaPrincipal ventana;
    if (!ventana.Crear(instancia, mostrar)) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
