#pragma once
// The main window frmAbrirCajon on Win32.

#include <windows.h>

class VentanaPrincipal {
public:
    bool Crear(HINSTANCE instancia, int mostrar);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Mensaje(UINT msg, WPARAM wp, LPARAM lp);

    HWND hwnd_ = nullptr;
};
