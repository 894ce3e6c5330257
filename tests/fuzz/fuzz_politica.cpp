// Any bytes a registry value may hold, of any type, give a usable text or
// none, without a crash or undefined behaviour; a text never holds a line
// break; the user's branch never decides for an unusable machine value; a
// lock and an origin list always read as something (the strictest when
// unusable); and what a report shows holds no control character.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/Politicas.h"

namespace {

struct Almacen : AlmacenPoliticas {
    std::optional<ValorPolitica> Leer(RamaPoliticas rama, const std::u16string&,
                                      std::size_t limite) override {
        if (rama == RamaPoliticas::Usuario) {
            ValorPolitica siete;
            siete.tipo = ValorPolitica::Tipo::Numero;
            siete.datos = {7, 0, 0, 0};
            return siete;
        }
        ValorPolitica leido = valor;
        if (leido.datos.size() > limite) {
            leido.datos.clear();
            leido.demasiadoLargo = true;
        }
        return leido;
    }
    ValorPolitica valor;
};

struct Aviso : AvisoPoliticas {
    void Inservible(std::string_view, RamaPoliticas rama, std::string_view,
                    std::string_view valor) override {
        if (rama != RamaPoliticas::Equipo) std::abort();
        for (const char c : valor) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) std::abort();
        }
        ++oidos;
    }
    int oidos = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    static constexpr const char* kClaves[] = {"KovraPuerto", "KovraBloqueado", "KovraWebOrigenes"};
    const std::string clave = kClaves[data[1] % 3];
    Almacen almacen;
    Aviso aviso;
    almacen.aviso = &aviso;
    almacen.valor.tipo = static_cast<ValorPolitica::Tipo>(data[0] % 4);
    almacen.valor.tipoRegistro = data[0];
    almacen.valor.datos.assign(data + 2, data + size);
    const auto valor = ValorDePolitica(almacen, clave);
    if (valor && valor->find_first_of("\r\n") != std::string::npos) std::abort();
    if (aviso.oidos > 1) std::abort();
    // Unusable: told once, and the user's 7 never taken instead.
    if (aviso.oidos == 1 && valor != ValorMasEstricto(clave)) std::abort();
    if (clave != "KovraPuerto" && !valor) std::abort();
    return 0;
}
