#include <windows.h>

#include "platform/win32/Win32Profile.h"
#include "tests/contract/ProfileUnderTest.h"

std::unique_ptr<PrivateProfile> CrearPerfilBajoPrueba() {
    return std::make_unique<Win32Profile>();
}

std::shared_ptr<void> ImpedirEscritura(const std::filesystem::path& archivo) {
    HANDLE h = CreateFileW(archivo.wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    return std::shared_ptr<void>(h, [](void* abierto) {
        if (abierto != INVALID_HANDLE_VALUE) CloseHandle(abierto);
    });
}
