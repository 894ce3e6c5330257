#include "platform/win32/Win32Politicas.h"

#include "platform/win32/Unico.h"

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