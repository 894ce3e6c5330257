#include "platform/Printing.h"

FinTrabajo SeguirTrabajo(const std::function<std::optional<std::uint32_t>()>& status,
                         const std::function<bool()>& esperar) {
    using namespace estado_trabajo;
    do {
        const auto s = status();
        if (!s || (*s & (kImpreso | kCompleto)) != 0) return FinTrabajo::Enviado;
        if ((*s & kAtascado) != 0) return FinTrabajo::Atascado;
    } while (esperar());
    return FinTrabajo::Enviado;
}
