#include "platform/win32/Win32Profile.h"
#include "tests/contract/ProfileUnderTest.h"

std::unique_ptr<PrivateProfile> CrearPerfilBajoPrueba() { return std::make_unique<Win32Profile>(); }
