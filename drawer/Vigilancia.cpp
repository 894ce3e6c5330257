#include "drawer/Vigilancia.h"

#include <algorithm>

using namespace tiempos;

Vigilancia::Vigilancia(AvisosCajon& avisos, std::function<void(const ResultadoApertura&)> anotar)
    : avisos_(avisos), anotar_(std::move(anotar)) {}

int Vigilancia::Segundos(Instante t) const {
    return SegundosEntre(inicio_, t);
}

bool Vigilancia::Patada(const ResultadoApertura& apertura, const DestinoEstado& destino,
                        int avisoSegundos, Instante t) {
    if (activa_ && destino == destino_) {
        // The cashier kicked again: the drawer may open once more, so a close
        // that had begun starts anew, and the 3 s run from this kick.
        patada_ = t;
        cierre_.reset();
        vistoCerrado_ = false;
        proxima_ = std::min(proxima_, t + kEsperaComprobacion);
        return false;
    }
    // A watch of another printer ends: nobody asks it any more.
    if (activa_ && vistoAbierto_) {
        Fin(FinSensor::SinRespuesta, TextoSinRespuestaTras(Segundos(respuesta_)),
            EstadoCajon::Cajon::Desconocido);
    } else if (activa_) {
        Terminar(t);
    }
    activa_ = true;
    apertura_ = apertura;
    destino_ = destino;
    aviso_ = avisoSegundos;
    avisosDados_ = 0;
    inicio_ = patada_ = respuesta_ = t;
    proxima_ = t + kEsperaComprobacion;
    vistoAbierto_ = vistoCerrado_ = false;
    abiertoDesde_.reset();
    cierre_.reset();
    ocupados_ = 0;
    ++vigilancias_;
    return true;
}

void Vigilancia::Leida(LecturaCajon lectura, Instante t) {
    if (!activa_) return;
    std::chrono::milliseconds intervalo =
        t - inicio_ < kTramoInicial ? kIntervaloInicial : kIntervalo;
    switch (lectura) {
        case LecturaCajon::Abierto:
            respuesta_ = t;
            ocupados_ = 0;
            cierre_.reset();
            if (!vistoAbierto_) {
                visto_ = t;
                avisos_.Abierto();
            }
            vistoAbierto_ = true;
            if (!abiertoDesde_) abiertoDesde_ = t;
            // No switch, or the wrong KovraSensor: the warnings must stop.
            if (t - *abiertoDesde_ >= kSinCambio) {
                Fin(FinSensor::SinCambio, kSinCambioSensor, EstadoCajon::Cajon::Desconocido);
                return;
            }
            break;
        case LecturaCajon::Cerrado:
            respuesta_ = t;
            ocupados_ = 0;
            abiertoDesde_.reset();
            if (!vistoAbierto_) {
                vistoCerrado_ = true;
                // Read closed 3 s after the kick, not just unanswered then: a
                // printer busy with a receipt may hold a drawer that opened.
                if (t >= patada_ + kEsperaApertura) {
                    Fin(FinSensor::NoSeVioAbrirse, kNoSeVioAbrirse, EstadoCajon::Cajon::Cerrado);
                    avisos_.NoSeAbrio();
                    return;
                }
                break;
            }
            if (cierre_ && t >= patada_ + kEsperaApertura) {
                Fin(FinSensor::Cerrado, TextoCerrado(Segundos(*cierre_)),
                    EstadoCajon::Cajon::Cerrado);
                return;
            }
            if (!cierre_) cierre_ = t;
            intervalo = kConfirmacion;
            break;
        case LecturaCajon::Ocupado:
            ++ocupados_;
            [[fallthrough]];
        case LecturaCajon::SinRespuesta:
            // Unknown: the icon, the title and the warnings stay.
            if (t - respuesta_ >= kSinRespuesta) {
                Fin(FinSensor::SinRespuesta,
                    vistoAbierto_ ? TextoSinRespuestaTras(Segundos(respuesta_))
                                  : kSinRespuestaSensor,
                    EstadoCajon::Cajon::Desconocido);
                return;
            }
            break;
    }
    if (vistoAbierto_) {
        if (const int debidos = AvisosDebidos(Segundos(t), aviso_); debidos > avisosDados_) {
            avisosDados_ = debidos;
            avisos_.Aviso(debidos * aviso_);
        }
    }
    for (int i = 0; i < ocupados_ && intervalo < kMayorEspera; ++i) intervalo *= 2;
    proxima_ = t + std::min(intervalo, kMayorEspera);
}

void Vigilancia::Terminar(Instante t) {
    if (!activa_) return;
    if (vistoAbierto_) {
        Fin(FinSensor::AbiertoAlSalir, TextoAbiertoAlSalir(Segundos(t)),
            EstadoCajon::Cajon::Abierto);
    } else if (vistoCerrado_) {
        Fin(FinSensor::NoSeVioAbrirse, kNoSeVioAbrirse, EstadoCajon::Cajon::Cerrado);
    } else {
        Fin(FinSensor::SinRespuesta, kSinRespuestaSensor, EstadoCajon::Cajon::Desconocido);
    }
}

void Vigilancia::Detener() {
    if (!activa_) return;
    activa_ = false;
    ultimo_ = EstadoCajon::Cajon::Desconocido;
    // Nobody knows how this opening ended: AbrirCajon.exe /abrir /esperar
    // must not take it for a close.
    fin_ = FinSensor::Ninguno;
    avisos_.Cerrado();
}

void Vigilancia::Fin(FinSensor fin, const std::string& texto, EstadoCajon::Cajon cajon) {
    ResultadoApertura linea = apertura_;
    linea.sensor = texto;
    linea.finSensor = fin;
    anotar_(linea);
    activa_ = false;
    ultimo_ = cajon;
    fin_ = fin;
    avisos_.Cerrado();
}

EstadoCajon Vigilancia::Estado(Instante t) const {
    EstadoCajon e;
    e.vigilando = activa_;
    e.ultimoFin = fin_;
    e.vigilancias = vigilancias_;
    if (!activa_) {
        e.cajon = ultimo_;
    } else if (vistoAbierto_) {
        e.cajon = EstadoCajon::Cajon::Abierto;
        e.desde = SegundosEntre(visto_, t);
    }
    return e;
}
