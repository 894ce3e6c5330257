#pragma once
// "Guía de uso…" in the main window's system menu: the shop's guide, the page
// guia.html installed beside the program, in the system's browser.

#include <windows.h>

#include "platform/Dialogs.h"

inline constexpr UINT kComandoGuiaDeUso = 0x0C30;

void AnadirGuiaDeUso(HWND principal);
// Opens the guide; a guide that is not there, or that nothing can open, is
// said in a box with its path.
void AbrirGuiaDeUso(HWND principal, Dialogs& dialogs);
