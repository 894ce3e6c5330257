#include "ui/SensorPrincipal.h"

#include <thread>

#include "settings/Conversiones.h"

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

SensorPrincipal::SensorPrincipal(Parametros& parametros, Dialogs& dialogs,
                                 VigilanteCajon* vigilante, ConsultaEstado* estado,
                                 std::function<ResultadoApertura(OrigenApertura)> patear)
    : parametros_(parametros),
      dialogs_(dialogs),
      vigilante_(vigilante),
      estado_(estado),
      patear_(std::move(patear)) {}

void SensorPrincipal::Leer() {
    // Without a watcher the key means nothing: no box for it.
    if (vigilante_ == nullptr) return;
    const std::string valor = parametros_.VRXGetParametro(claves::KovraSensor, "0");
    const auto modo = LeerModoSensor(valor);
    if (!modo) dialogs_.Information(TextoSensorNoValido(valor));
    modo_ = modo.value_or(ModoSensor::Apagado);
}

void SensorPrincipal::TrasPatada(const ResultadoApertura& resultado) {
    // With the sensor off, the kick reads nothing more from the file.
    if (vigilante_ == nullptr || modo_ == ModoSensor::Apagado || comprobando_) return;
    vigilante_->Vigilar(
        resultado, modo_,
        LeerAvisoSegundos(parametros_.VRXGetParametro(claves::KovraAvisoSegundos, "")));
}

void SensorPrincipal::Comprobar(const std::string& puerto, bool porImpresora) {
    if (estado_ == nullptr) return;
    const auto destino = porImpresora ? std::nullopt : DestinoDelPuerto(puerto);
    if (!destino) {
        dialogs_.Information(kTextoSinRuta);
        return;
    }
    dialogs_.Information(kTextoCierre);
    const auto cerrado = estado_->Preguntar(*destino, kPreguntaEstado, kEsperaRespuesta);
    comprobando_ = true;
    const auto apertura = patear_(OrigenApertura::ComprobarSensor);
    comprobando_ = false;
    if (apertura.fallo) return;  // its own box told the cashier
    std::this_thread::sleep_for(kEsperaComprobacion);
    const auto abierto = estado_->Preguntar(*destino, kPreguntaEstado, kEsperaRespuesta);
    const auto modo = ModoComprobado(cerrado, abierto);
    if (!modo) {
        dialogs_.Information(kTextoSinCambio);
        return;
    }
    const bool bloqueado =
        ValorNumerico(parametros_.VRXGetParametro(claves::KovraBloqueado, "0")) != 0;
    parametros_.VRXSetParametro(claves::KovraSensor, std::to_string(static_cast<int>(*modo)));
    modo_ = *modo;
    dialogs_.Information(TextoModo(*modo, !bloqueado));
}
