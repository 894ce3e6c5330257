#include "platform/win32/ClaseVentana.h"

#include "platform/win32/ErroresWin32.h"

void RegistrarClaseVentana(HINSTANCE instancia, const wchar_t* nombre, WNDPROC proc, HICON icono,
                           HICON iconoPequeno) {
    WNDCLASSEXW clase{};
    clase.cbSize = sizeof clase;
    clase.lpfnWndProc = proc;
    clase.hInstance = instancia;
    clase.hIcon = icono;
    clase.hIconSm = iconoPequeno;
    clase.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    clase.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    clase.lpszClassName = nombre;
    if (RegisterClassExW(&clase) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw FalloWin32();
    }
}
