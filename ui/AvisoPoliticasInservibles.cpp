#include "ui/AvisoPoliticasInservibles.h"

#include <algorithm>

namespace {
// Values told in a run at most: a policy rewritten in a loop fills no memory.
constexpr std::size_t kMaxContados = 256;
}  // namespace

void AvisoPoliticasInservibles::Inservible(std::string_view nombre, RamaPoliticas rama,
                                           std::string_view tipo, std::string_view valor) {
    const std::string rama_ =
        rama == RamaPoliticas::Equipo ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
    std::string clave = std::string(nombre) + '\n' + rama_ + '\n' + std::string(tipo) + '\n';
    clave += valor;
    {
        std::lock_guard bloqueo(mutex_);
        if (contados_.size() >= kMaxContados ||
            std::find(contados_.begin(), contados_.end(), clave) != contados_.end()) {
            return;
        }
        contados_.push_back(clave);
    }
    registro_.AnotarEvento(rutaParametros_, eventos::kPoliticaInservible,
                           {std::string(nombre), rama_, std::string(tipo), std::string(valor)});
}
