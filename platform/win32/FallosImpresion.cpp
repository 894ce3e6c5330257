#include "platform/win32/FallosImpresion.h"

#include <windows.h>

#include "platform/win32/ErroresWin32.h"

Fallo FalloImpresion(const char* descripcion) {
    const DWORD error = GetLastError();
    if (error != ERROR_SUCCESS) return FalloWin32(error);
    return Fallo(errores::kImpresoraNoDisponible, descripcion);
}
