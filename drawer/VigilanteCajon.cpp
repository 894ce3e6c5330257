#include "drawer/VigilanteCajon.h"

VigilanteCajon::VigilanteCajon(ConsultaEstado& consulta, AvisosCajon& avisos,
                               std::function<void(const ResultadoApertura&)> anotar)
    : consulta_(consulta),
      avisos_(avisos),
      anotar_(std::move(anotar)),
      hilo_([this] { Atender(); }) {}

VigilanteCajon::~VigilanteCajon() {
    {
        std::lock_guard bloqueo(mutex_);
        parar_ = true;
    }
    cambio_.notify_all();
    hilo_.join();
}

void VigilanteCajon::Vigilar(const ResultadoApertura& apertura, ModoSensor modo,
                             int avisoSegundos) {
    if (modo == ModoSensor::Apagado) return;
    const auto destino = DestinoDelSensor(apertura);
    if (!destino) return;
    {
        std::lock_guard bloqueo(mutex_);
        pendiente_ =
            Vigilancia{apertura, *destino, modo, avisoSegundos, std::chrono::steady_clock::now()};
    }
    cambio_.notify_all();
}

void VigilanteCajon::Atender() {
    for (;;) {
        Vigilancia v;
        {
            std::unique_lock bloqueo(mutex_);
            cambio_.wait(bloqueo, [&] { return parar_ || pendiente_.has_value(); });
            if (parar_) return;
            v = std::move(*pendiente_);
            pendiente_.reset();
        }
        Seguir(v);
    }
}

bool VigilanteCajon::Esperar(std::chrono::milliseconds tiempo) {
    std::unique_lock bloqueo(mutex_);
    cambio_.wait_for(bloqueo, tiempo, [&] { return parar_ || pendiente_.has_value(); });
    return !parar_ && !pendiente_.has_value();
}

void VigilanteCajon::Anotar(const Vigilancia& v, FinSensor fin, std::string resultado) {
    ResultadoApertura linea = v.apertura;
    linea.sensor = std::move(resultado);
    linea.finSensor = fin;
    anotar_(linea);
}

void VigilanteCajon::Seguir(const Vigilancia& v) {
    // The drawer needs a moment to spring open after the kick's pulse.
    if (!Esperar(kEsperaComprobacion)) return;
    bool abierto = false;
    int avisosDados = 0;
    for (;;) {
        const auto respuesta = consulta_.Preguntar(v.destino, kPreguntaEstado, kEsperaRespuesta);
        const int segundos = SegundosEntre(v.inicio, std::chrono::steady_clock::now());
        const LecturaCajon lectura = LeerCajon(respuesta, v.modo);
        if (lectura != LecturaCajon::Abierto) {
            if (abierto) avisos_.Cerrado();
            if (lectura == LecturaCajon::Cerrado) {
                Anotar(v, FinSensor::Cerrado, TextoCerrado(segundos));
            } else {
                Anotar(v, FinSensor::SinRespuesta, kSinRespuestaSensor);
            }
            return;
        }
        if (!abierto) avisos_.Abierto();
        abierto = true;
        if (const int debidos = AvisosDebidos(segundos, v.aviso); debidos > avisosDados) {
            avisosDados = debidos;
            avisos_.Aviso(debidos * v.aviso);
        }
        if (!Esperar(kIntervaloSensor)) {
            avisos_.Cerrado();
            return;
        }
    }
}
