// The main window's part in the drawer's sensor: KovraSensor at start, and the
// check that finds the value a drawer needs.
#include <thread>

#include "ui/frmAbrirCajon.h"

namespace {

constexpr char kTextoSinRuta[] =
    "El sensor del cajón solo se puede leer en una impresora de red o en un puerto COM: escriba "
    "su dirección o el puerto en la casilla del puerto, con \"Enviar a\" desmarcado.";
constexpr char kTextoCierre[] =
    "Cierre el cajón y pulse Aceptar. Se abrirá una vez para comprobar el sensor.";
constexpr char kTextoSinCambio[] =
    "No se ha visto ningún cambio: el cajón no tiene sensor, o la impresora no lo comunica.";

std::string TextoModo(ModoSensor modo, bool guardado) {
    const std::string valor = std::to_string(static_cast<int>(modo));
    return "Este cajón necesita KovraSensor=" + valor +
           (guardado ? ". Guardado en el archivo de parámetros."
                     : ". No se ha guardado: KovraBloqueado impide cambiar el archivo.");
}

}  // namespace

void frmAbrirCajon::LeerSensor() {
    // Without a watcher (AbrirCajon.exe /abrir with no copy running) the
    // key means nothing: no box for it.
    if (servicios_.sensor == nullptr) return;
    const std::string valor = parametros_.VRXGetParametro(claves::KovraSensor, "0");
    const auto modo = LeerModoSensor(valor);
    if (!modo) dialogs_.Information(TextoSensorNoValido(valor));
    modoSensor_ = modo.value_or(ModoSensor::Apagado);
}

void frmAbrirCajon::ComprobarSensor() {
    // Its item is greyed then: KovraSensor is the administrator's.
    if (ModalAbierto() || servicios_.estado == nullptr || politica_.sensor || politica_.bloqueo)
        return;
    const auto destino = CheckPrinter() ? std::nullopt : DestinoDelPuerto(TextoPuerto());
    if (!destino) {
        dialogs_.Information(kTextoSinRuta);
        return;
    }
    dialogs_.Information(kTextoCierre);
    const auto cerrado = servicios_.estado->Preguntar(*destino, kPreguntaEstado, kEsperaRespuesta);
    comprobandoSensor_ = true;
    const auto apertura = Kick(OrigenApertura::ComprobarSensor);
    comprobandoSensor_ = false;
    if (!apertura || apertura->fallo) return;  // its own box told the cashier
    std::this_thread::sleep_for(kEsperaComprobacion);
    const auto abierto = servicios_.estado->Preguntar(*destino, kPreguntaEstado, kEsperaRespuesta);
    const auto modo = ModoComprobado(cerrado, abierto);
    if (!modo) {
        dialogs_.Information(kTextoSinCambio);
        return;
    }
    const bool bloqueado =
        ValorNumerico(parametros_.VRXGetParametro(claves::KovraBloqueado, "0")) != 0;
    parametros_.VRXSetParametro(claves::KovraSensor, std::to_string(static_cast<int>(*modo)));
    modoSensor_ = *modo;
    dialogs_.Information(TextoModo(*modo, !bloqueado));
}
