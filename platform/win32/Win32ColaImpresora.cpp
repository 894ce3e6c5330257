#include "platform/win32/Win32ColaImpresora.h"

#include <windows.h>
// Not part of windows.h with WIN32_LEAN_AND_MEAN.
#include <winspool.h>

#include <climits>
#include <memory>

#include "platform/win32/Texto.h"

namespace {

ImpresoraAbierta Abrir(const std::string& impresora) {
    std::wstring nombre = Ancho(impresora);
    HANDLE abierta = nullptr;
    // Default access (use): enough to read the state and the queue, and to
    // delete the jobs this user owns.
    if (!OpenPrinterW(nombre.data(), &abierta, nullptr)) return nullptr;
    return ImpresoraAbierta(abierta);
}

bool MismoNombre(std::wstring_view a, std::wstring_view b) {
    if (a.size() > INT_MAX || b.size() > INT_MAX) return false;
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring UsuarioActual() {
    wchar_t nombre[257] = {};
    DWORD largo = static_cast<DWORD>(std::size(nombre));
    if (!GetUserNameW(nombre, &largo)) return {};
    return nombre;
}

// Filled by a call that first tells the size it needs, which may grow
// between the two calls.
template <typename Llenar>
std::vector<BYTE> LeerDatos(Llenar llenar) {
    std::vector<BYTE> datos;
    DWORD necesarios = 0;
    for (int intento = 0; intento < 4; ++intento) {
        if (llenar(datos.empty() ? nullptr : datos.data(), static_cast<DWORD>(datos.size()),
                   &necesarios)) {
            return datos;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || necesarios <= datos.size()) break;
        datos.resize(necesarios);
    }
    return {};
}

}  // namespace

void CerrarImpresora::operator()(void* impresora) const {
    ClosePrinter(impresora);
}

bool MismoNombreDeImpresora(std::string_view a, std::string_view b) {
    return MismoNombre(Ancho(a), Ancho(b));
}

std::optional<EstadoImpresora> LeerEstadoImpresora(const std::string& impresora) noexcept {
    try {
        auto abierta = Abrir(impresora);
        if (!abierta) return std::nullopt;
        const auto datos = LeerDatos([&](BYTE* d, DWORD n, DWORD* necesarios) {
            return GetPrinterW(abierta.get(), 2, d, n, necesarios) != FALSE;
        });
        if (datos.size() < sizeof(PRINTER_INFO_2W)) return std::nullopt;
        const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(datos.data());
        return EstadoImpresora{info->Status, info->Attributes};
    } catch (...) {
        return std::nullopt;
    }
}

std::vector<TrabajoEnCola> TrabajosPropios(const std::string& impresora) noexcept {
    constexpr DWORD kEnCurso = JOB_STATUS_PRINTING | JOB_STATUS_PRINTED | JOB_STATUS_DELETING |
                               JOB_STATUS_DELETED | JOB_STATUS_COMPLETE;
    try {
        auto abierta = Abrir(impresora);
        if (!abierta) return {};
        DWORD cuantos = 0;
        const auto datos = LeerDatos([&](BYTE* d, DWORD n, DWORD* necesarios) {
            return EnumJobsW(abierta.get(), 0, 0xFFFF, 1, d, n, necesarios, &cuantos) != FALSE;
        });
        if (datos.size() < static_cast<std::size_t>(cuantos) * sizeof(JOB_INFO_1W)) return {};
        const std::wstring usuario = UsuarioActual();
        const auto* trabajos = reinterpret_cast<const JOB_INFO_1W*>(datos.data());
        std::vector<TrabajoEnCola> propios;
        for (DWORD i = 0; i < cuantos; ++i) {
            const JOB_INFO_1W& t = trabajos[i];
            if (usuario.empty() || t.pUserName == nullptr || !MismoNombre(t.pUserName, usuario)) {
                continue;
            }
            propios.push_back({t.JobId, t.pDocument ? Utf8(t.pDocument) : std::string(),
                               (t.Status & kEnCurso) != 0});
        }
        return propios;
    } catch (...) {
        return {};
    }
}

void BorrarTrabajo(const std::string& impresora, std::uint32_t id) noexcept {
    try {
        if (auto abierta = Abrir(impresora)) {
            SetJobW(abierta.get(), id, 0, nullptr, JOB_CONTROL_DELETE);
        }
    } catch (...) {
    }
}
