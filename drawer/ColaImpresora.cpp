#include "drawer/ColaImpresora.h"

#include "platform/Fallo.h"

bool ImpresoraLista(const EstadoImpresora& estado) {
    using namespace estado_impresora;
    constexpr std::uint32_t kNoImprime =
        kPausada | kEnError | kSinPapel | kSinConexion | kNoDisponible | kTapaAbierta;
    return (estado.status & kNoImprime) == 0 && (estado.attributes & kUsarSinConexion) == 0;
}

DestinoTrabajo DecidirTrabajo(const TrabajoEnCola& trabajo, std::string_view documento) {
    using namespace estado_trabajo;
    if (trabajo.documento != documento) return DestinoTrabajo::Dejar;
    if ((trabajo.status & kAtascado) != 0) return DestinoTrabajo::BorrarYRechazar;
    if ((trabajo.status & kEnCurso) != 0) return DestinoTrabajo::Dejar;
    return DestinoTrabajo::Borrar;
}

void PrepararCola(Printing& impresora, const std::string& nombre, std::string_view documento) {
    const auto cola = impresora.OpenQueue(nombre);
    if (!cola) return;
    const auto estado = cola->State();
    bool rechazar = estado && !ImpresoraLista(*estado);
    // Cleared even when the kick is refused: they would open the drawer
    // when the printer comes back.
    for (const auto& trabajo : cola->OwnJobs()) {
        const auto destino = DecidirTrabajo(trabajo, documento);
        if (destino == DestinoTrabajo::Dejar) continue;
        rechazar = rechazar || destino == DestinoTrabajo::BorrarYRechazar;
        cola->DeleteJob(trabajo.id);
    }
    if (rechazar) {
        throw Fallo(errores::kEstadoImpresoraNoValido, errores::kTextoImpresoraNoDisponible);
    }
}
