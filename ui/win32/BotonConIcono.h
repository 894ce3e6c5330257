#pragma once
// Graphical command buttons: an icon centred above the caption, drawn by the
// parent for a BS_OWNERDRAW button.

#include <windows.h>

// Draws the button of `item` (frame, pressed and focus states, icon, caption
// in the button's own font, wrapped to its width). `lado` is the icon's edge
// in pixels.
void PintarBotonConIcono(const DRAWITEMSTRUCT& item, HICON icono, int lado);
