#include "platform/win32/Win32ColaImpresora.h"

#include <windows.h>
// Not part of windows.h with WIN32_LEAN_AND_MEAN.
#include <winspool.h>

#include <climits>
#include <memory>
#include <utility>

#include "platform/Fallo.h"
#include "platform/win32/Texto.h"

namespace {

// How long a job handed to the printer is followed, and how often it is
// looked at: a printer that is off makes the spooler mark the job within
// this time, while one that prints takes it out of the queue sooner.
constexpr ULONGLONG kSeguimientoMs = 1000;
constexpr DWORD kPasoSeguimientoMs = 50;

ImpresoraAbierta Abrir(const std::string& impresora) {
    std::wstring nombre = Ancho(impresora);
    HANDLE abierta = nullptr;
    // Default access (use): enough to read the state and the queue, and to
    // delete the jobs this user owns.
    if (!OpenPrinterW(nombre.data(), &abierta, nullptr)) return {};
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

// Nothing once the job has left the queue, or when it cannot be read.
std::optional<std::uint32_t> StatusDeTrabajo(void* impresora, std::uint32_t id) noexcept {
    try {
        const auto datos = LeerDatos([&](BYTE* d, DWORD n, DWORD* necesarios) {
            return GetJobW(impresora, id, 1, d, n, necesarios) != FALSE;
        });
        if (datos.size() < sizeof(JOB_INFO_1W)) return std::nullopt;
        return reinterpret_cast<const JOB_INFO_1W*>(datos.data())->Status;
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace

bool MismoNombreDeImpresora(std::string_view a, std::string_view b) {
    return MismoNombre(Ancho(a), Ancho(b));
}

namespace {

class Cola : public PrinterQueue {
  public:
    explicit Cola(ImpresoraAbierta impresora) : impresora_(std::move(impresora)) {}

    std::optional<EstadoImpresora> State() noexcept override {
        try {
            const auto datos = LeerDatos([&](BYTE* d, DWORD n, DWORD* necesarios) {
                return GetPrinterW(impresora_.get(), 2, d, n, necesarios) != FALSE;
            });
            if (datos.size() < sizeof(PRINTER_INFO_2W)) return std::nullopt;
            const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(datos.data());
            return EstadoImpresora{info->Status, info->Attributes};
        } catch (...) {
            return std::nullopt;
        }
    }

    std::vector<TrabajoEnCola> OwnJobs() noexcept override {
        try {
            DWORD cuantos = 0;
            const auto datos = LeerDatos([&](BYTE* d, DWORD n, DWORD* necesarios) {
                return EnumJobsW(impresora_.get(), 0, 0xFFFF, 1, d, n, necesarios, &cuantos) !=
                       FALSE;
            });
            if (datos.size() < static_cast<std::size_t>(cuantos) * sizeof(JOB_INFO_1W)) return {};
            const std::wstring usuario = UsuarioActual();
            const auto* trabajos = reinterpret_cast<const JOB_INFO_1W*>(datos.data());
            std::vector<TrabajoEnCola> propios;
            for (DWORD i = 0; i < cuantos; ++i) {
                const JOB_INFO_1W& t = trabajos[i];
                if (usuario.empty() || t.pUserName == nullptr ||
                    !MismoNombre(t.pUserName, usuario)) {
                    continue;
                }
                propios.push_back(
                    {t.JobId, t.pDocument ? Utf8(t.pDocument) : std::string(), t.Status});
            }
            return propios;
        } catch (...) {
            return {};
        }
    }

    void DeleteJob(std::uint32_t id) noexcept override {
        SetJobW(impresora_.get(), id, 0, nullptr, JOB_CONTROL_DELETE);
    }

  private:
    ImpresoraAbierta impresora_;
};

}  // namespace

std::unique_ptr<PrinterQueue> AbrirCola(const std::string& impresora) noexcept {
    try {
        auto abierta = Abrir(impresora);
        if (!abierta) return nullptr;
        return std::make_unique<Cola>(std::move(abierta));
    } catch (...) {
        return nullptr;
    }
}

void ComprobarTrabajoEntregado(void* impresora, std::uint32_t id) {
    const ULONGLONG limite = GetTickCount64() + kSeguimientoMs;
    const auto fin = SeguirTrabajo([&] { return StatusDeTrabajo(impresora, id); },
                                   [&] {
                                       if (GetTickCount64() >= limite) return false;
                                       Sleep(kPasoSeguimientoMs);
                                       return true;
                                   });
    if (fin == FinTrabajo::Atascado) {
        SetJobW(impresora, id, 0, nullptr, JOB_CONTROL_DELETE);
        throw Fallo(errores::kEstadoImpresoraNoValido, errores::kTextoImpresoraNoDisponible);
    }
}
