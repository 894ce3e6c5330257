#include "ui/SensorPrincipal.h"

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
    return "Este cajón necesita KovraSensor=" + std::to_string(static_cast<int>(modo)) +
           (guardado ? ". Guardado en el archivo de parámetros."
                     : ". No se ha guardado: KovraBloqueado impide cambiar el archivo.");
}

}  // namespace

std::string SinSufijoDelSensor(std::string_view caption) {
    for (const std::string_view sufijo : {kSufijoCajonAbierto, kSufijoComprobando}) {
        if (caption.ends_with(sufijo)) caption.remove_suffix(sufijo.size());
    }
    return std::string(caption);
}

SensorPrincipal::SensorPrincipal(
    Parametros& parametros, Dialogs& dialogs, VigilanteCajon* vigilante,
    std::function<std::optional<ResultadoApertura>(OrigenApertura)> patear)
    : parametros_(parametros),
      dialogs_(dialogs),
      vigilante_(vigilante),
      patear_(std::move(patear)) {}

void SensorPrincipal::Leer() {
    // Without a watcher the key means nothing: no box for it.
    if (vigilante_ == nullptr) return;
    const std::string valor = parametros_.VRXGetParametro(claves::KovraSensor, "0");
    const auto modo = LeerModoSensor(valor);
    if (!modo) dialogs_.Information(TextoSensorNoValido(valor));
    vigilante_->FijarModo(modo.value_or(ModoSensor::Apagado));
}

void SensorPrincipal::AntesDePatada() {
    // Also with the sensor off: the check asks with KovraSensor=0, and a
    // cashier's F12 meanwhile must not find the COM port held by it.
    if (vigilante_ == nullptr || pausado_) return;
    vigilante_->Pausar();
    pausado_ = true;
}

void SensorPrincipal::TrasPatada(const ResultadoApertura& resultado) {
    if (vigilante_ == nullptr) return;
    if (pausado_) vigilante_->Reanudar();
    pausado_ = false;
    // With the sensor off, the kick reads nothing more from the file.
    if (vigilante_->Modo() == ModoSensor::Apagado && !pateandoComprobacion_) return;
    const int aviso =
        LeerAvisoSegundos(parametros_.VRXGetParametro(claves::KovraAvisoSegundos, ""));
    if (pateandoComprobacion_) {
        vigilante_->PatadaComprobada(resultado, aviso);
    } else {
        vigilante_->Vigilar(resultado, aviso);
    }
}

bool SensorPrincipal::Bloqueado() {
    return ValorNumerico(parametros_.VRXGetParametro(claves::KovraBloqueado, "0")) != 0;
}

bool SensorPrincipal::Comprobable() {
    // The check writes KovraSensor: not when the administrator sets it.
    return vigilante_ != nullptr && !comprobando_ && !Bloqueado() &&
           !parametros_.PorPolitica(claves::KovraSensor);
}

void SensorPrincipal::Comprobar(const std::string& puerto, bool porImpresora) {
    if (!Comprobable()) return;
    const auto destino = porImpresora ? std::nullopt : DestinoDelPuerto(puerto);
    if (!destino) {
        dialogs_.Information(kTextoSinRuta);
        return;
    }
    dialogs_.Information(kTextoCierre);
    comprobando_ = true;
    vigilante_->Comprobar(*destino);
}

void SensorPrincipal::PatadaDeComprobacion() {
    if (!comprobando_) return;
    pateandoComprobacion_ = true;
    const auto apertura = patear_(OrigenApertura::ComprobarSensor);
    pateandoComprobacion_ = false;
    if (!apertura) vigilante_->PatadaComprobada(std::nullopt, 0);
}

void SensorPrincipal::Comprobado(std::optional<ModoSensor> modo, bool pateado) {
    if (!comprobando_) return;
    comprobando_ = false;
    if (!pateado) return;  // a failed kick's box told the cashier
    if (!modo) {
        dialogs_.Information(kTextoSinCambio);
        return;
    }
    // The item is greyed with KovraBloqueado; set meanwhile, it drops the
    // write, and the value found still serves this run.
    const bool guardado = !Bloqueado();
    parametros_.VRXSetParametro(claves::KovraSensor, std::to_string(static_cast<int>(*modo)));
    dialogs_.Information(TextoModo(*modo, guardado));
}
