#include "platform/portable/PortableProfile.h"
#include "tests/contract/ProfileUnderTest.h"

std::unique_ptr<PrivateProfile> CrearPerfilBajoPrueba() {
    return std::make_unique<PortableProfile>();
}

std::shared_ptr<void> ImpedirEscritura(const std::filesystem::path& archivo) {
    namespace fs = std::filesystem;
    const auto escritura =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(archivo, escritura, fs::perm_options::remove);
    return std::shared_ptr<void>(nullptr, [archivo, escritura](void*) {
        std::error_code ec;
        fs::permissions(archivo, escritura, fs::perm_options::add, ec);
    });
}
