#include "platform/win32/Win32Inventario.h"

#include <windows.h>

#include <winspool.h>

#include "platform/win32/Texto.h"

namespace {

std::string Texto(const wchar_t* w) {
    return w != nullptr ? Utf8(w) : std::string();
}

struct Clave {
    HKEY h = nullptr;
    ~Clave() {
        if (h != nullptr) RegCloseKey(h);
    }
};

}  // namespace

std::vector<ImpresoraInstalada> Win32Inventario::Impresoras() noexcept {
    std::vector<ImpresoraInstalada> lista;
    try {
        constexpr DWORD kTipos = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
        std::vector<BYTE> datos(4096);
        DWORD necesarios = 0;
        DWORD cuantas = 0;
        while (!EnumPrintersW(kTipos, nullptr, 2, datos.data(), static_cast<DWORD>(datos.size()),
                              &necesarios, &cuantas)) {
            if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || necesarios <= datos.size()) {
                return lista;
            }
            datos = std::vector<BYTE>(necesarios);
        }
        const auto* p = reinterpret_cast<const PRINTER_INFO_2W*>(datos.data());
        for (DWORD i = 0; i < cuantas; ++i) {
            lista.push_back(
                {Texto(p[i].pPrinterName), Texto(p[i].pPortName), Texto(p[i].pDriverName)});
        }
    } catch (...) {
        // Out of memory: what was read so far.
    }
    return lista;
}

std::optional<PuertoTcpIp> Win32Inventario::PuertoEstandar(const std::string& puerto) noexcept {
    try {
        Clave clave;
        const std::wstring ruta = Ancho(
            "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\" +
            puerto);
        if (puerto.empty() ||
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, ruta.c_str(), 0, KEY_READ, &clave.h) != 0) {
            return std::nullopt;
        }
        const auto numero = [&](const wchar_t* nombre) {
            DWORD valor = 0;
            DWORD largo = sizeof valor;
            return RegQueryValueExW(clave.h, nombre, nullptr, nullptr,
                                    reinterpret_cast<BYTE*>(&valor), &largo) == 0
                       ? valor
                       : 0;
        };
        const auto texto = [&](const wchar_t* nombre) {
            wchar_t valor[256] = {};
            DWORD largo = sizeof valor - sizeof(wchar_t);
            RegQueryValueExW(clave.h, nombre, nullptr, nullptr, reinterpret_cast<BYTE*>(valor),
                             &largo);
            return Utf8(valor);
        };
        PuertoTcpIp tcp{texto(L"HostName"), static_cast<std::uint16_t>(numero(L"PortNumber")),
                        numero(L"Protocol") == 1};
        if (tcp.host.empty()) tcp.host = texto(L"IPAddress");
        return tcp;
    } catch (...) {
        return std::nullopt;
    }
}

std::vector<std::string> Win32Inventario::PuertosLocales() noexcept {
    std::vector<std::string> puertos;
    try {
        wchar_t destino[512];
        // COM1 to COM19, then LPT1 to LPT3.
        for (int i = 1; i < 23; ++i) {
            const bool com = i < 20;
            const int n = com ? i : i - 19;
            wchar_t nombre[] = {com ? L'C' : L'L',
                                com ? L'O' : L'P',
                                com ? L'M' : L'T',
                                static_cast<wchar_t>(n < 10 ? L'0' + n : L'1'),
                                static_cast<wchar_t>(n < 10 ? 0 : L'0' + n - 10),
                                0};
            if (QueryDosDeviceW(nombre, destino, 512) != 0) puertos.push_back(Utf8(nombre));
        }
    } catch (...) {
    }
    return puertos;
}
