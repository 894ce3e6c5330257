#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "drawer/EventosApertura.h"
#include "platform/win32/Texto.h"
#include "platform/win32/Win32Politicas.h"
#include "settings/Politicas.h"

namespace {

constexpr wchar_t kPrueba[] = L"SOFTWARE\\AbrirCajonPruebas\\Politicas";

void Poner(HKEY rama, const wchar_t* nombre, DWORD tipo, const void* datos, std::size_t bytes) {
    HKEY clave = nullptr;
    ASSERT_EQ(RegCreateKeyExW(rama, kPrueba, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                              nullptr, &clave, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(clave, nombre, 0, tipo, static_cast<const BYTE*>(datos),
                   static_cast<DWORD>(bytes));
    RegCloseKey(clave);
}

// Each type a registry value can have, through the store and the decision,
// as a policy would arrive from Group Policy.
TEST(Win32Politicas, EveryTypeReadsByWhatItMeansAndTheMachineDecidesEvenWhenUnusable) {
    const std::wstring largo(50 * 1024, L'a');  // 100 KB
    const DWORD uno = 1;
    const unsigned long long qword = 5;
    const BYTE binario[] = {'C', 0, 'O', 0, 'M', 0, '1', 0, 0, 0};
    struct Caso {
        const wchar_t* nombre;
        DWORD tipo;
        std::vector<BYTE> datos;
        std::optional<std::string> valor;
    };
    const auto bytes = [](const void* p, std::size_t n) {
        return std::vector<BYTE>(static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + n);
    };
    const Caso casos[] = {
        {L"Texto", REG_SZ, bytes(L" LPT2: ", 16), "LPT2:"},
        {L"Numero", REG_DWORD, bytes(&uno, 4), "1"},
        {L"Binario", REG_BINARY, bytes(binario, sizeof binario), std::nullopt},
        {L"Varios", REG_MULTI_SZ, bytes(L"COM1:\0COM2:\0", 26), "COM1: COM2:"},
        {L"Expandible", REG_EXPAND_SZ, bytes(L"%TEMP%", 14), std::nullopt},
        {L"SinVariables", REG_EXPAND_SZ, bytes(L"LPT2:", 12), "LPT2:"},
        {L"Qword", REG_QWORD, bytes(&qword, 8), "5"},
        {L"Largo", REG_SZ, bytes(largo.c_str(), (largo.size() + 1) * 2), std::nullopt},
        {L"Control", REG_SZ, bytes(L"LPT1:\r\n", 16), std::nullopt},
    };
    for (const auto& c : casos)
        Poner(HKEY_LOCAL_MACHINE, c.nombre, c.tipo, c.datos.data(), c.datos.size());
    Poner(HKEY_CURRENT_USER, L"Binario", REG_SZ, L"COM3:", 12);
    Poner(HKEY_CURRENT_USER, L"Texto", REG_SZ, L"COM3:", 12);
    Win32Politicas politicas(kPrueba);
    for (const auto& c : casos) {
        const std::string nombre = Utf8(c.nombre);
        // The machine's value wins; an unusable one is not passed to the user's.
        EXPECT_EQ(ValorDePolitica(politicas, nombre), c.valor) << nombre;
    }
    EXPECT_EQ(ValorDePolitica(politicas, "NoExiste"), std::nullopt);
    for (HKEY rama : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        HKEY clave = nullptr;
        RegOpenKeyExW(rama, kPrueba, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &clave);
        RegDeleteTreeW(clave, nullptr);  // its values, in the 64-bit view it was made in
        RegCloseKey(clave);
    }
    EXPECT_EQ(ValorDePolitica(politicas, "Texto"), std::nullopt) << "removed: not set";
}

// The message table that Event Viewer reads, from the program's own exe:
// every event the program reports has its Spanish text there.
TEST(MensajesEventos, EveryEventHasItsTextInTheExe) {
    const char* exe = std::getenv("CAJON_EXE_EVENTOS");
    ASSERT_NE(exe, nullptr) << "CAJON_EXE_EVENTOS names AbrirCajon.exe";
    HMODULE modulo = LoadLibraryExW(Ancho(exe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(modulo, nullptr) << exe;
    const wchar_t* campos[kCamposEvento] = {
        L"2026-03-05", L"09:07:03.045", L"cajera",  L"Tecla F12",
        L"Puerto",     L"LPT1:",        L"Enviado", L""};
    DWORD_PTR argumentos[kCamposEvento];
    for (std::size_t i = 0; i < kCamposEvento; ++i) {
        argumentos[i] = reinterpret_cast<DWORD_PTR>(campos[i]);
    }
    // Spanish and English: the system's language picks.
    const std::pair<WORD, const char*> idiomas[] = {{0x0C0A, "cajón"}, {0x0409, "drawer"}};
    const auto mensaje = [&](std::uint32_t id, WORD idioma, DWORD_PTR* con) {
        wchar_t texto[1024] = {};
        const DWORD n =
            FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, modulo, id,
                           idioma, texto, 1024, reinterpret_cast<va_list*>(con));
        return Utf8(std::wstring_view(texto, n));
    };
    for (const auto& [idioma, cajon] : idiomas) {
        for (const ClaseEvento& clase : eventos::kTodas) {
            const std::string texto = mensaje(clase.id, idioma, argumentos);
            EXPECT_NE(texto.find(cajon), std::string::npos) << clase.id << ": " << texto;
            EXPECT_NE(texto.find("cajera"), std::string::npos) << clase.id << ": " << texto;
            EXPECT_EQ(texto.find('%'), std::string::npos) << clase.id << ": " << texto;
        }
        // The start's events, with as many strings as the start event has.
        DWORD_PTR once[11];
        for (auto& a : once) a = reinterpret_cast<DWORD_PTR>(L"KovraTecla=F99");
        for (const ClaseEvento& clase : eventos::kArranque) {
            const std::string texto = mensaje(clase.id, idioma, once);
            EXPECT_NE(texto.find("Kovra"), std::string::npos) << clase.id << ": " << texto;
            EXPECT_EQ(texto.find('%'), std::string::npos) << clase.id << ": " << texto;
        }
    }
    EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, modulo,
                             1999, 0, nullptr, 0, nullptr),
              0u);
    FreeLibrary(modulo);
}

}  // namespace
