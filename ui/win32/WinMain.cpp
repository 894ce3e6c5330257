#include <windows.h>

#include "platform/win32/Win32NotificationArea.h"
#include "ui/win32/Programa.h"

int WINAPI wWinMain(HINSTANCE instancia, HINSTANCE, PWSTR, int) {
    Win32NotificationArea bandeja;
    return EjecutarPrograma(instancia, bandeja);
}
