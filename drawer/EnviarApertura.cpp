#include "drawer/EnviarApertura.h"

#include <vector>

#include "drawer/SalidaImpresora.h"
#include "drawer/SecuenciaCodigos.h"

namespace {

constexpr std::string_view kFinDeLinea = "\r\n";

void EnviarAPuerto(const std::vector<std::string_view>& items, const std::string& puerto,
                   const ControlesApertura& controles, PortOpener& puertos) {
    const auto salida = puertos.Open(puerto);
    std::string acumulador;
    for (const auto item : items) {
        if (!controles.CheckTodoJunto()) {
            std::string escritura(1, static_cast<char>(CodigoDeItem(item)));
            if (!controles.CheckConPuntoyComa()) escritura += kFinDeLinea;
            salida->Write(escritura);
        } else {
            acumulador += static_cast<char>(CodigoDeItem(item));
        }
    }
    if (controles.CheckTodoJunto()) {
        if (!controles.CheckConPuntoyComa()) acumulador += kFinDeLinea;
        salida->Write(acumulador);
    }
    salida->Close();
}

// The current printer's name, or empty when there is none.
std::string NombreImpresoraActual(Printing& impresora) noexcept {
    try {
        return impresora.CurrentDeviceName();
    } catch (...) {
        return {};
    }
}

}  // namespace

std::string TextoFalloApertura(const Fallo& fallo, const std::string& puerto) {
    return std::to_string(fallo.numero) + "." + fallo.descripcion + "\r\nPuerto:" + puerto +
           "\r\nLínea: 0";
}

ResultadoApertura EnviarApertura(const ControlesApertura& controles, ServiciosApertura servicios) {
    ResultadoApertura resultado;
    std::string puerto;
    try {
        const std::string ascii = controles.TextoAscii();
        const auto items = DividirItems(ascii);
        puerto = controles.TextoPuerto();
        if (!controles.CheckPrinter()) {
            resultado.destino = puerto;
            EnviarAPuerto(items, puerto, controles, servicios.puertos);
        } else {
            resultado.via = ViaApertura::Impresora;
            ImprimirApertura(servicios.impresora, servicios.parametros);
        }
    } catch (const std::exception& e) {
        // The port, if it was open, has been closed by now: the stack is unwound.
        resultado.fallo = FalloDeExcepcion(e);
    }
    // Asked only now, so that the job itself goes exactly as before.
    if (resultado.via != ViaApertura::Puerto && resultado.destino.empty()) {
        resultado.destino = NombreImpresoraActual(servicios.impresora);
    }
    if (servicios.alTerminar) servicios.alTerminar(resultado);
    if (resultado.fallo) {
        servicios.dialogs.Stop(TextoFalloApertura(*resultado.fallo, puerto));
    }
    return resultado;
}
