#pragma once
// Each build links the profile implementation its contract tests run against.

#include <filesystem>
#include <memory>

#include "platform/PrivateProfile.h"

std::unique_ptr<PrivateProfile> CrearPerfilBajoPrueba();

// Makes the system refuse writes to `archivo` while the returned object lives:
// natively a file without write permission; on Windows a file another program
// holds open without sharing (Wine, run as root, lets root write a read-only
// file).
std::shared_ptr<void> ImpedirEscritura(const std::filesystem::path& archivo);
