#pragma once
// Pictures stored in the program file as JPEG (RCDATA resources), decoded with
// the system's own picture loader so that no image library is linked in.

#include <windows.h>

#include "platform/win32/ObjetosGdi.h"

struct Imagen {
    BitmapGdi bitmap;
    SIZE tamano{};  // pixels
};

// Decodes resource `id` (type RCDATA) of `modulo`. Throws Fallo when the
// resource is missing or is no picture the system can read.
Imagen CargarJpegDeRecurso(HINSTANCE modulo, int id);

// A copy of `origen` resampled to `tamano` (halftone, for smooth edges).
// Throws Fallo when the system cannot make it.
Imagen EscalarImagen(const Imagen& origen, SIZE tamano);
