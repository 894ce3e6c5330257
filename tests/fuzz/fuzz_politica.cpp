// Any bytes a registry value may hold, of any type, give a usable text or
// none, without a crash or undefined behaviour; a text never holds a line
// break, and the machine's usable value always wins over the user's.
#include <cstdint>
#include <cstdlib>

#include "settings/Politicas.h"

namespace {

struct Almacen : AlmacenPoliticas {
    std::optional<ValorPolitica> Leer(RamaPoliticas rama, const std::u16string&,
                                      std::size_t limite) override {
        if (rama == RamaPoliticas::Usuario)
            return ValorPolitica{ValorPolitica::Tipo::Numero, {7, 0, 0, 0}};
        if (valor.datos.size() > limite) return ValorPolitica{valor.tipo, {}, true};
        return valor;
    }
    ValorPolitica valor;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    Almacen almacen;
    almacen.valor.tipo = static_cast<ValorPolitica::Tipo>(data[0] % 3);
    almacen.valor.datos.assign(data + 1, data + size);
    const auto valor = ValorDePolitica(almacen, "KovraPuerto");
    if (!valor) std::abort();  // the user's number at least
    if (valor->find_first_of("\r\n") != std::string::npos) std::abort();
    return 0;
}
