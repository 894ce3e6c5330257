#pragma once
// Each build links the profile implementation its contract tests run against.

#include <memory>

#include "platform/PrivateProfile.h"

std::unique_ptr<PrivateProfile> CrearPerfilBajoPrueba();
