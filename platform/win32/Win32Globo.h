#pragma once
// A notification-area balloon that is not tied to the window's own icon,
// which exists only while the window is minimized: it comes with an icon of
// its own, removed again once the balloon has had its time.

#include <windows.h>

#include <string>

void MostrarGlobo(HWND ventana, HICON icono, const std::wstring& titulo, const std::wstring& texto);
