#pragma once
// The program's window classes and the object each window belongs to.

#include <windows.h>

// Registers a class whose windows `proc` serves, with the arrow cursor and
// the dialog face's background; one already registered (a second window of
// the kind) is fine. Throws Fallo when the system refuses.
void RegistrarClaseVentana(HINSTANCE instancia, const wchar_t* nombre, WNDPROC proc,
                           HICON icono = nullptr, HICON iconoPequeno = nullptr);

// The object whose window `hwnd` is: the last argument of CreateWindowEx,
// kept with the window from WM_NCCREATE on; null before, and after
// WM_NCDESTROY.
template <class T>
T* ObjetoDeVentana(HWND hwnd, UINT msg, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    }
    return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// The window procedure of a class whose windows belong to objects of T: the
// object learns its handle at WM_NCCREATE (AlNacer), before CreateWindowEx
// returns it, hears of the window's end at WM_NCDESTROY (AlMorir), and
// handles every message in between (Mensaje). T names this its friend.
template <class T>
LRESULT CALLBACK ProcedimientoDe(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    T* objeto = ObjetoDeVentana<T>(hwnd, msg, lp);
    if (objeto == nullptr) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCCREATE) objeto->AlNacer(hwnd);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        objeto->AlMorir();
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return objeto->Mensaje(msg, wp, lp);
}
