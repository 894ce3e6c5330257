#include "drawer/ColaImpresora.h"

#include "platform/Fallo.h"

bool ImpresoraLista(const EstadoImpresora& estado) {
    using namespace estado_impresora;
    constexpr std::uint32_t kNoImprime =
        kPausada | kEnError | kSinPapel | kSinConexion | kNoDisponible | kTapaAbierta;
    return (estado.status & kNoImprime) == 0 && (estado.attributes & kUsarSinConexion) == 0;
}

void PrepararCola(Printing& impresora, const std::string& nombre, std::string_view documento) {
    const auto estado = impresora.State(nombre);
    if (estado && !ImpresoraLista(*estado)) {
        throw Fallo(errores::kEstadoImpresoraNoValido, errores::kTextoImpresoraNoDisponible);
    }
    for (const auto& trabajo : impresora.OwnJobs(nombre)) {
        if (trabajo.documento == documento && !trabajo.imprimiendose) {
            impresora.DeleteJob(nombre, trabajo.id);
        }
    }
}
