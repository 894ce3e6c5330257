#include "platform/win32/Win32PermisosArchivo.h"

#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>

#include <array>
#include <memory>

#include "platform/win32/Texto.h"
#include "platform/win32/Unico.h"

// Older MinGW headers lack RegGetValue's view flags (Windows 7 has them).
#ifndef RRF_SUBKEY_WOW6464KEY
#define RRF_SUBKEY_WOW6464KEY 0x00010000
#define RRF_SUBKEY_WOW6432KEY 0x00020000
#endif

namespace {

struct LiberarLocal {
    void operator()(void* p) const { LocalFree(p); }
};

// The user running the program, as "S-1-5-21-...".
std::wstring UsuarioActual() {
    HANDLE abierto = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &abierto)) return {};
    const ObjetoUnico token(abierto);
    alignas(TOKEN_USER) std::array<BYTE, 256> datos{};
    DWORD n = 0;
    wchar_t* texto = nullptr;
    if (!GetTokenInformation(token.get(), TokenUser, datos.data(), datos.size(), &n) ||
        !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(datos.data())->User.Sid, &texto)) {
        return {};
    }
    const std::unique_ptr<wchar_t, LiberarLocal> liberar(texto);
    return texto;
}

// The administrators, the system and TrustedInstaller change what they
// like anyway; the user running the program can only harm themselves.
bool EsDeConfianza(PSID sid, const std::wstring& usuario) {
    wchar_t* texto = nullptr;
    if (sid == nullptr || !ConvertSidToStringSidW(sid, &texto)) return false;
    const std::unique_ptr<wchar_t, LiberarLocal> liberar(texto);
    const std::wstring_view s(texto);
    return s == L"S-1-5-32-544" || s == L"S-1-5-18" ||
           s == L"S-1-5-80-956008885-3418522649-1831038044-1850205623-2271323016" ||
           (!usuario.empty() && s == usuario);
}

enum class Sobre { Ausente, Propio, Ajeno };

// Whether someone else holds any of `derechos` on the object, or owns it
// (an owner can always give itself any right).
Sobre QuienCambia(const std::wstring& ruta, DWORD derechos, const std::wstring& usuario) {
    PSID dueno = nullptr;
    PACL lista = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD r = GetNamedSecurityInfoW(ruta.c_str(), SE_FILE_OBJECT,
                                          OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                          &dueno, nullptr, &lista, nullptr, &descriptor);
    if (r == ERROR_FILE_NOT_FOUND) return Sobre::Ausente;
    if (r != ERROR_SUCCESS) return Sobre::Ajeno;
    const std::unique_ptr<void, LiberarLocal> liberar(descriptor);
    // No list at all lets everyone do everything.
    if (!EsDeConfianza(dueno, usuario) || lista == nullptr) return Sobre::Ajeno;
    for (WORD i = 0; i < lista->AceCount; ++i) {
        ACE_HEADER* entrada = nullptr;
        if (!GetAce(lista, i, reinterpret_cast<void**>(&entrada))) return Sobre::Ajeno;
        // Only an allowing entry that applies to the object itself gives a
        // right; one that only its children inherit does not.
        const BYTE tipo = entrada->AceType;
        const bool permite = tipo == ACCESS_ALLOWED_ACE_TYPE ||
                             tipo == ACCESS_ALLOWED_OBJECT_ACE_TYPE ||
                             tipo == ACCESS_ALLOWED_CALLBACK_ACE_TYPE ||
                             tipo == ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE;
        if (!permite || (entrada->AceFlags & INHERIT_ONLY_ACE)) continue;
        // Every allowing kind keeps its mask after the header; the rarer
        // kinds, whose user this does not read, count as someone else's.
        const auto* permitida = reinterpret_cast<ACCESS_ALLOWED_ACE*>(entrada);
        if ((permitida->Mask & derechos) != 0 &&
            (tipo != ACCESS_ALLOWED_ACE_TYPE ||
             !EsDeConfianza(const_cast<DWORD*>(&permitida->SidStart), usuario))) {
            return Sobre::Ajeno;
        }
    }
    return Sobre::Propio;
}

constexpr DWORD kCambiarPermisos = WRITE_DAC | WRITE_OWNER | DELETE | GENERIC_WRITE | GENERIC_ALL;

std::wstring Carpeta(const std::wstring& ruta) {
    const auto barra = ruta.find_last_of(L"\\/");
    return barra == std::wstring::npos ? L"." : ruta.substr(0, barra);
}

}  // namespace

bool Win32PermisosArchivo::OtrosPuedenCambiar(const std::string& ruta) {
    const std::wstring ancho = Ancho(ruta);
    const std::wstring usuario = UsuarioActual();
    // The folder: whoever may add or delete a file in it can put another file
    // in the settings file's place.
    if (QuienCambia(Carpeta(ancho), kCambiarPermisos | FILE_ADD_FILE | FILE_DELETE_CHILD,
                    usuario) != Sobre::Propio) {
        return true;
    }
    return QuienCambia(ancho, kCambiarPermisos | FILE_WRITE_DATA | FILE_APPEND_DATA, usuario) ==
           Sobre::Ajeno;
}

bool Win32PermisosArchivo::PuedoEscribir(const std::string& ruta) {
    const std::wstring ancho = Ancho(ruta);
    constexpr DWORD kCompartir = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    ArchivoUnico archivo(CreateFileW(ancho.c_str(), FILE_WRITE_DATA, kCompartir, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    if (archivo) return true;
    const DWORD error = GetLastError();
    // Held by another program for a moment: the write will wait for it.
    if (error == ERROR_SHARING_VIOLATION) return true;
    if (error != ERROR_FILE_NOT_FOUND) return false;
    // Missing: whether a file may be added to its folder, asked without
    // making one.
    archivo.reset(CreateFileW(Carpeta(ancho).c_str(), FILE_ADD_FILE, kCompartir, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return static_cast<bool>(archivo);
}

bool EsInstalacionDelEquipo(const std::string& carpetaPrograma) {
    const auto sinBarraFinal = [](std::wstring carpeta) {
        while (!carpeta.empty() && carpeta.back() == L'\\') carpeta.pop_back();
        return carpeta;
    };
    const std::wstring propia = sinBarraFinal(Ancho(carpetaPrograma));
    if (propia.empty()) return false;
    // The 32-bit package writes the 32-bit view, the 64-bit one the other.
    for (const DWORD vista : {RRF_SUBKEY_WOW6432KEY, RRF_SUBKEY_WOW6464KEY}) {
        std::array<wchar_t, 1024> valor{};
        DWORD bytes = sizeof(valor) - sizeof(wchar_t);
        if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\AbrirCajon", L"InstallDir",
                         RRF_RT_REG_SZ | vista, nullptr, valor.data(), &bytes) == ERROR_SUCCESS &&
            CompareStringOrdinal(sinBarraFinal(valor.data()).c_str(), -1, propia.c_str(), -1,
                                 TRUE) == CSTR_EQUAL) {
            return true;
        }
    }
    return false;
}

std::string CarpetaDelUsuario() {
    std::array<wchar_t, MAX_PATH> local{};
    const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", local.data(), local.size());
    if (n == 0 || n >= local.size()) return {};
    const std::wstring carpeta = std::wstring(local.data(), n) + L"\\AbrirCajon";
    if (!CreateDirectoryW(carpeta.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return {};
    }
    return Utf8(carpeta);
}
