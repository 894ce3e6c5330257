#include "platform/win32/Win32RegistroEventos.h"

#include <windows.h>

#include "platform/win32/Texto.h"

namespace {

// An event log service that refuses (stopped, or not started yet at log-on)
// is asked again after this long, not at every line.
constexpr ULONGLONG kEsperaReintentoMs = 60 * 1000;

WORD TipoWin32(TipoEvento tipo) {
    switch (tipo) {
        case TipoEvento::Aviso:
            return EVENTLOG_WARNING_TYPE;
        case TipoEvento::Error:
            return EVENTLOG_ERROR_TYPE;
        case TipoEvento::Informacion:
            break;
    }
    return EVENTLOG_INFORMATION_TYPE;
}

}  // namespace

bool Win32RegistroEventos::Informar(TipoEvento tipo, std::uint32_t id,
                                    std::span<const std::string> textos) noexcept {
    if (!fuente_) {
        if (GetTickCount64() < proximoIntento_) return false;
        // Without the source's key (the per-user install cannot write it) the
        // system still takes the events, with their strings.
        fuente_.reset(RegisterEventSourceW(nullptr, kFuenteEventos));
        if (!fuente_) {
            proximoIntento_ = GetTickCount64() + kEsperaReintentoMs;
            return false;
        }
    }
    constexpr std::size_t kMaximo = 16;
    std::wstring anchos[kMaximo];
    const wchar_t* cadenas[kMaximo];
    const WORD n = static_cast<WORD>(textos.size() < kMaximo ? textos.size() : kMaximo);
    try {
        for (WORD i = 0; i < n; ++i) cadenas[i] = (anchos[i] = Ancho(textos[i])).c_str();
    } catch (...) {
        return false;  // no memory for the strings
    }
    if (ReportEventW(fuente_.get(), TipoWin32(tipo), 0, id, nullptr, n, 0, cadenas, nullptr))
        return true;
    const DWORD error = GetLastError();
    // The service was restarted (or stopped): the handle is the old one's;
    // the next event registers anew. A full log keeps its handle.
    if (error == RPC_S_SERVER_UNAVAILABLE || error == RPC_S_CALL_FAILED ||
        error == RPC_S_CALL_FAILED_DNE || error == ERROR_INVALID_HANDLE) {
        fuente_.reset();
    }
    return false;
}
