#include "drawer/VigilanteCajon.h"

using Reloj = std::chrono::steady_clock;
using namespace tiempos;

VigilanteCajon::VigilanteCajon(ConsultaEstado& consulta, AvisosCajon& avisos,
                               std::function<void(const ResultadoApertura&)> anotar)
    : consulta_(consulta),
      avisos_(avisos),
      vigilancia_(avisos, std::move(anotar)),
      hilo_([this] { Atender(); }) {}

VigilanteCajon::~VigilanteCajon() {
    Terminar(std::chrono::hours(1));
    if (hilo_.joinable()) hilo_.join();
}

void VigilanteCajon::FijarModo(ModoSensor modo) {
    std::lock_guard bloqueo(mutex_);
    modo_ = modo;
}

ModoSensor VigilanteCajon::Modo() {
    std::lock_guard bloqueo(mutex_);
    return modo_;
}

void VigilanteCajon::Pausar() {
    std::unique_lock bloqueo(mutex_);
    ++pausas_;
    // A question ends within its own limit; this one is only a safeguard. A
    // port opening the question gave up on still holds a COM port: Windows
    // opens one for one handle only, and the kick would get 5, access denied.
    const auto hasta = Reloj::now() + 3 * kEsperaRespuesta;
    while ((enVuelo_ || consulta_.AbriendoAun()) && Reloj::now() < hasta) {
        cambio_.wait_for(bloqueo, std::chrono::milliseconds(20));
    }
}

void VigilanteCajon::Reanudar() {
    {
        std::lock_guard bloqueo(mutex_);
        if (pausas_ > 0) --pausas_;
    }
    cambio_.notify_all();
}

void VigilanteCajon::Vigilar(const ResultadoApertura& apertura, int avisoSegundos) {
    const auto destino = DestinoDelSensor(apertura);
    if (!destino) return;
    {
        std::lock_guard bloqueo(mutex_);
        // The check's own kick comes through PatadaComprobada.
        if (modo_ == ModoSensor::Apagado || parar_ || comprobacion_) return;
        if (vigilancia_.Patada(apertura, *destino, avisoSegundos, Reloj::now())) ++generacion_;
    }
    cambio_.notify_all();
}

void VigilanteCajon::Comprobar(const DestinoEstado& destino) {
    {
        std::lock_guard bloqueo(mutex_);
        if (parar_) return;
        vigilancia_.Detener();
        comprobacion_.emplace();
        comprobacion_->destino = destino;
        ++generacion_;
    }
    avisos_.Comprobando();
    cambio_.notify_all();
}

void VigilanteCajon::PatadaComprobada(const std::optional<ResultadoApertura>& apertura,
                                      int avisoSegundos) {
    {
        std::lock_guard bloqueo(mutex_);
        if (!comprobacion_ || comprobacion_->paso != Comprobacion::Paso::Patada) return;
        if (!apertura || apertura->fallo) {
            // A failed kick's own box told the cashier.
            comprobacion_.reset();
            avisos_.Comprobado(std::nullopt, false);
            return;
        }
        comprobacion_->paso = Comprobacion::Paso::Abierto;
        comprobacion_->apertura = *apertura;
        comprobacion_->aviso = avisoSegundos;
        comprobacion_->patada = Reloj::now();
        comprobacion_->proxima = comprobacion_->patada + kEsperaComprobacion;
        ++generacion_;
    }
    cambio_.notify_all();
}

std::optional<EstadoCajon> VigilanteCajon::Estado() {
    std::lock_guard bloqueo(mutex_);
    if (modo_ == ModoSensor::Apagado) return std::nullopt;
    return vigilancia_.Estado(Reloj::now());
}

bool VigilanteCajon::Terminar(std::chrono::milliseconds limite) {
    std::unique_lock bloqueo(mutex_);
    if (!parar_) {
        parar_ = true;
        vigilancia_.Terminar(Reloj::now());
        if (comprobacion_) avisos_.Comprobado(std::nullopt, false);
        comprobacion_.reset();
        cambio_.notify_all();
    }
    return cambio_.wait_for(bloqueo, limite, [&] { return acabado_; });
}

std::optional<Instante> VigilanteCajon::Debida() const {
    if (pausas_ > 0) return std::nullopt;
    if (comprobacion_) {
        switch (comprobacion_->paso) {
            case Comprobacion::Paso::Cerrado:
                return Instante{};
            case Comprobacion::Paso::Patada:
                return std::nullopt;
            case Comprobacion::Paso::Abierto:
                return comprobacion_->proxima;
        }
    }
    if (vigilancia_.Activa()) return vigilancia_.Proxima();
    return std::nullopt;
}

void VigilanteCajon::Atender() {
    std::unique_lock bloqueo(mutex_);
    while (!parar_) {
        const auto debida = Debida();
        const Instante ahora = Reloj::now();
        if (!debida) {
            cambio_.wait(bloqueo);
            continue;
        }
        if (ahora < *debida) {
            cambio_.wait_until(bloqueo, *debida);
            continue;
        }
        const DestinoEstado destino =
            comprobacion_ ? comprobacion_->destino : vigilancia_.Destino();
        const unsigned generacion = generacion_;
        enVuelo_ = true;
        bloqueo.unlock();
        const RespuestaEstado respuesta = PreguntarEstado(consulta_, destino);
        bloqueo.lock();
        enVuelo_ = false;
        cambio_.notify_all();
        if (parar_ || generacion != generacion_) continue;
        if (comprobacion_) {
            Comprobada(respuesta, ahora);
        } else {
            vigilancia_.Leida(LeerCajon(respuesta, modo_), ahora);
        }
    }
    acabado_ = true;
    cambio_.notify_all();
}

void VigilanteCajon::Comprobada(const RespuestaEstado& respuesta, Instante t) {
    Comprobacion& c = *comprobacion_;
    if (c.paso == Comprobacion::Paso::Cerrado) {
        c.cerrado = respuesta.estado;
        c.paso = Comprobacion::Paso::Patada;
        avisos_.PatadaDeComprobacion();
        return;
    }
    const auto modo = ModoComprobado(c.cerrado, respuesta.estado);
    if (!modo && t + kIntervaloInicial < c.patada + kEsperaApertura) {
        // A stiff drawer, or a kick behind receipt data: it may open yet.
        c.proxima = t + kIntervaloInicial;
        return;
    }
    const Comprobacion hecha = std::move(c);
    comprobacion_.reset();
    avisos_.Comprobado(modo, true);
    if (!modo) return;
    modo_ = *modo;
    vigilancia_.Patada(hecha.apertura, hecha.destino, hecha.aviso, hecha.patada);
    vigilancia_.Leida(LecturaCajon::Abierto, t);
    ++generacion_;
}
