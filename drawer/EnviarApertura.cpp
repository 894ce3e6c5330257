#include "drawer/EnviarApertura.h"

#include <vector>

#include "drawer/ColaImpresora.h"
#include "drawer/ImpresoraDelPuerto.h"
#include "drawer/PuertoDeRed.h"
#include "drawer/PuertoSerie.h"
#include "drawer/SalidaImpresora.h"
#include "drawer/SecuenciaCodigos.h"
#include "platform/NombreDispositivo.h"

namespace {

constexpr std::string_view kFinDeLinea = "\r\n";

// How the RAW job of a kick is named in the printer's queue.
constexpr char kDocumentoRaw[] = "AbrirCajon: apertura del cajón";

// Steps 5 to 7 of the port path, on a port or on a RAW job alike.
void EscribirSecuencia(const std::vector<std::string_view>& items,
                       const ControlesApertura& controles, OutputPort& salida) {
    std::string acumulador;
    for (const auto item : items) {
        if (!controles.CheckTodoJunto()) {
            std::string escritura(1, static_cast<char>(CodigoDeItem(item)));
            if (!controles.CheckConPuntoyComa()) escritura += kFinDeLinea;
            salida.Write(escritura);
        } else {
            acumulador += static_cast<char>(CodigoDeItem(item));
        }
    }
    if (controles.CheckTodoJunto()) {
        if (!controles.CheckConPuntoyComa()) acumulador += kFinDeLinea;
        salida.Write(acumulador);
    }
    salida.Close();
}

// The writes of a kick, held until every code has been converted. A RAW job
// is opened only then, so a bad sequence never leaves a job behind, even where
// the spooler cannot delete one (Wine's prints a job whose handle is closed,
// ended or not).
class EscriturasPreparadas : public OutputPort {
  public:
    void Write(std::string_view bytes) override { escrituras_.emplace_back(bytes); }
    void Close() override {}

    // The same writes, one by one, then the close.
    void EnviarA(OutputPort& salida) const {
        for (const auto& e : escrituras_) salida.Write(e);
        salida.Close();
    }

  private:
    std::vector<std::string> escrituras_;
};

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
    std::string mensaje;
    try {
        const std::string ascii = controles.TextoAscii();
        const auto items = DividirItems(ascii);
        resultado.destino = controles.TextoPuerto();
        if (!controles.CheckPrinter()) {
            // A serial port first ("COM10:9600" is no address); then a
            // network address; then a bare name, always a printer's name;
            // then devices and paths.
            if (const auto serie = LeerPuertoSerie(resultado.destino)) {
                EscribirSecuencia(items, controles, *AbrirPuertoSerie(*serie, servicios.puertos));
            } else if (const auto red = LeerPuertoDeRed(resultado.destino);
                       red.forma != FormaPuerto::NoDeRed) {
                resultado.via = ViaApertura::Red;
                EscribirSecuencia(items, controles, *ConectarPuertoDeRed(red, servicios.red));
            } else if (PuedeSerImpresora(resultado.destino)) {
                resultado.via = ViaApertura::Raw;
                resultado.destino = ImpresoraDelPuerto(resultado.destino, servicios.impresora);
                EscriturasPreparadas escrituras;
                EscribirSecuencia(items, controles, escrituras);
                PrepararCola(servicios.impresora, resultado.destino, kDocumentoRaw);
                escrituras.EnviarA(
                    *servicios.impresora.OpenRawJob(resultado.destino, kDocumentoRaw));
            } else {
                if (servicios.soloDispositivos && !EsPuertoDelEquipo(resultado.destino)) {
                    throw Fallo(5, kTextoRutaDeOtroUsuario);
                }
                EscribirSecuencia(items, controles, *servicios.puertos.Open(resultado.destino));
            }
        } else {
            resultado.via = ViaApertura::Impresora;
            PrepararCola(servicios.impresora, servicios.impresora.CurrentDeviceName(),
                         kDocumentoImpresion);
            ImprimirApertura(servicios.impresora, servicios.parametros);
        }
    } catch (const std::exception& e) {
        // The port, if it was open, has been closed by now and a RAW job
        // deleted: the stack is unwound.
        resultado.fallo = FalloDeExcepcion(e);
        // The message names the port as typed, or on a RAW job the printer.
        mensaje = TextoFalloApertura(*resultado.fallo, resultado.destino);
    }
    // Asked only now, so that the job itself goes exactly as before.
    if (resultado.via == ViaApertura::Impresora) {
        resultado.destino = NombreImpresoraActual(servicios.impresora);
    }
    if (servicios.alTerminar) servicios.alTerminar(resultado);
    if (resultado.fallo) servicios.dialogs.Stop(mensaje);
    return resultado;
}
