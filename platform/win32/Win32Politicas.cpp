#include "platform/win32/Win32Politicas.h"

#include <cstring>
#include <cwchar>

#include "platform/win32/Unico.h"

namespace {

// %SystemRoot% and the like, as the system's own readers of REG_EXPAND_SZ
// take them; a text that does not expand within the limit stays as stored.
void Expandir(std::vector<std::uint8_t>& datos) {
    std::wstring texto(datos.size() / 2, L'\0');
    std::memcpy(texto.data(), datos.data(), texto.size() * 2);
    texto.resize(std::wcslen(texto.c_str()));
    std::wstring expandido(texto.size() + 1024, L'\0');
    const DWORD n = ExpandEnvironmentStringsW(texto.c_str(), expandido.data(),
                                              static_cast<DWORD>(expandido.size()));
    if (n == 0 || n > expandido.size()) return;
    datos.resize((n - 1) * 2);
    std::memcpy(datos.data(), expandido.data(), datos.size());
}

}  // namespace

std::optional<ValorPolitica> Win32Politicas::Leer(RamaPoliticas rama, const std::u16string& nombre,
                                                  std::size_t limite) {
    HKEY abierta = nullptr;
    // The 64-bit view, where a 64-bit Group Policy client writes, also for
    // the 32-bit release; 32-bit Windows ignores the flag.
    if (RegOpenKeyExW(rama == RamaPoliticas::Equipo ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                      subclave_, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &abierta) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const ClaveUnica clave(abierta);
    // One question with a buffer of the limit: a value that Group Policy
    // rewrites meanwhile cannot slip between asking its size and reading it.
    ValorPolitica leido;
    leido.datos.resize(limite);
    DWORD tipo = REG_NONE;
    DWORD bytes = static_cast<DWORD>(limite);
    const LONG r = RegQueryValueExW(clave.get(), reinterpret_cast<const wchar_t*>(nombre.c_str()),
                                    nullptr, &tipo, leido.datos.data(), &bytes);
    if (r == ERROR_MORE_DATA) {
        leido.datos.clear();
        leido.demasiadoLargo = true;
    } else if (r != ERROR_SUCCESS) {
        return std::nullopt;
    } else {
        leido.datos.resize(bytes);
    }
    leido.tipoRegistro = tipo;
    switch (tipo) {
        case REG_EXPAND_SZ:
            if (!leido.demasiadoLargo) Expandir(leido.datos);
            [[fallthrough]];
        case REG_SZ:
            leido.tipo = ValorPolitica::Tipo::Texto;
            break;
        case REG_MULTI_SZ:
            leido.tipo = ValorPolitica::Tipo::Lista;
            break;
        case REG_DWORD:
        case REG_QWORD:
            leido.tipo = ValorPolitica::Tipo::Numero;
            break;
        default:
            leido.tipo = ValorPolitica::Tipo::Otro;
    }
    return leido;
}