#include "platform/win32/Win32Session.h"

#include <windows.h>

#include "platform/win32/Texto.h"

std::string Win32Session::NombreUsuario() {
    // A user name has at most 256 characters (UNLEN), plus the NUL.
    wchar_t nombre[257] = {};
    DWORD n = 257;
    if (!GetUserNameW(nombre, &n)) return {};
    return Utf8(nombre);
}
