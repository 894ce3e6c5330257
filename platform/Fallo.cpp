#include "platform/Fallo.h"

#include <new>

Fallo FalloDeExcepcion(const std::exception& e) {
    if (const auto* fallo = dynamic_cast<const Fallo*>(&e)) return *fallo;
    if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) {
        return Fallo(errores::kMemoriaInsuficiente, "Memoria insuficiente");
    }
    return Fallo(errores::kErrorInterno, std::string("Error interno: ") + e.what());
}
