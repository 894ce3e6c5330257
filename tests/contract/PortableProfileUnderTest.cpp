#include "platform/portable/PortableProfile.h"
#include "tests/contract/ProfileUnderTest.h"

std::unique_ptr<PrivateProfile> CrearPerfilBajoPrueba() { return std::make_unique<PortableProfile>(); }
