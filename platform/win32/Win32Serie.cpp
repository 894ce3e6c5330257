#include "platform/win32/Win32Serie.h"

#include "platform/win32/ErroresWin32.h"
#include "platform/win32/Texto.h"

bool LimitarEspera(HANDLE puerto, DWORD escrituraMs, DWORD lecturaMs) {
    COMMTIMEOUTS esperas{};
    esperas.ReadTotalTimeoutConstant = lecturaMs;
    esperas.WriteTotalTimeoutConstant = escrituraMs;
    return SetCommTimeouts(puerto, &esperas) != FALSE;
}

HANDLE AbrirSerie(const std::string& dispositivo, const std::string& ajustes, DWORD escrituraMs,
                  DWORD lecturaMs) {
    HANDLE h = CreateFileW(Ancho(dispositivo).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw FalloWin32();
    DWORD error = ERROR_SUCCESS;
    if (!ajustes.empty()) {
        // The short form sets the handshake as MODE means it: "9600,N,8,1"
        // with no X or P turns flow control off. The long form changes only
        // what it names ("xon=on", "octs=on" ...). The rest stays as the port
        // has it.
        DCB linea{};
        linea.DCBlength = sizeof linea;
        if (!GetCommState(h, &linea) || !BuildCommDCBW(Ancho(ajustes).c_str(), &linea) ||
            !SetCommState(h, &linea)) {
            error = GetLastError();
            if (error == ERROR_SUCCESS) error = ERROR_INVALID_PARAMETER;
        }
    }
    // Without its time-outs a port could hold the window for ever.
    if (error == ERROR_SUCCESS && !LimitarEspera(h, escrituraMs, lecturaMs)) {
        error = GetLastError();
        if (error == ERROR_SUCCESS) error = ERROR_GEN_FAILURE;
    }
    if (error != ERROR_SUCCESS) {
        CloseHandle(h);
        throw FalloWin32(error);
    }
    return h;
}
