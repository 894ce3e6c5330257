#pragma once
// The program's window classes and the object each window belongs to.

#include <windows.h>

// Registers a class whose windows `proc` serves, with the arrow cursor and
// the dialog face's background; one already registered (a second window of
// the kind) is fine. Throws Fallo when the system refuses.
void RegistrarClaseVentana(HINSTANCE instancia, const wchar_t* nombre, WNDPROC proc,
                           HICON icono = nullptr, HICON iconoPequeno = nullptr);

// The object whose window `hwnd` is: the last argument of CreateWindowEx,
// kept with the window from WM_NCCREATE on; null before, and once Soltar has
// been called at WM_NCDESTROY.
template <class T>
T* ObjetoDeVentana(HWND hwnd, UINT msg, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    }
    return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}
inline void SoltarObjetoDeVentana(HWND hwnd) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
}
