#include "drawer/SensorCajon.h"

#include <algorithm>

#include "drawer/PuertoDeRed.h"
#include "drawer/PuertoSerie.h"
#include "settings/Conversiones.h"

namespace {

constexpr std::uint8_t kBitsFijos = 0x93;   // bits 0, 1, 4 and 7
constexpr std::uint8_t kValorFijos = 0x12;  // 1 and 4 set, 0 and 7 clear
// The first byte of an Automatic Status Back group: 4 set, 0, 1 and 7 clear.
constexpr std::uint8_t kValorAsb = 0x10;
// The group's other three bytes: 4 and 7 clear. A line that echoes the
// question (10 04 01) puts no group ahead of the answer, whose bit 4 is set.
constexpr std::uint8_t kBitsFijosAsb = 0x90;
constexpr std::size_t kBytesAsb = 4;
constexpr std::uint8_t kPin3 = 0x04;
constexpr int kMayorAviso = 24 * 3600;

// The bytes that follow a group's first, as many as came.
bool EsGrupoAsb(std::string_view resto) {
    return std::ranges::none_of(
        resto, [](char b) { return (static_cast<std::uint8_t>(b) & kBitsFijosAsb) != 0; });
}

bool Pin3Alto(std::uint8_t byte) {
    return (byte & kPin3) != 0;
}

}  // namespace

std::optional<ModoSensor> LeerModoSensor(std::string_view valor) {
    if (valor.empty() || valor == "0") return ModoSensor::Apagado;
    if (valor == "1") return ModoSensor::PinAlto;
    if (valor == "2") return ModoSensor::PinBajo;
    return std::nullopt;
}

int LeerAvisoSegundos(std::string_view valor) {
    const auto segundos = EnteroDecimal(valor, 5);
    if (!segundos) return kAvisoPorDefecto;
    return static_cast<int>(std::min<unsigned long>(*segundos, kMayorAviso));
}

std::string TextoSensorNoValido(std::string_view valor) {
    return "El valor de KovraSensor no es válido: \"" + ValorEnCaja(valor) +
           "\" (debe ser 0, 1 o 2). El sensor del cajón queda desactivado.";
}

bool RespuestaValida(std::uint8_t byte) {
    return (byte & kBitsFijos) == kValorFijos;
}

LecturaCajon LeerCajon(std::optional<std::uint8_t> respuesta, ModoSensor modo) {
    if (!respuesta || !RespuestaValida(*respuesta) || modo == ModoSensor::Apagado) {
        return LecturaCajon::SinRespuesta;
    }
    return Pin3Alto(*respuesta) == (modo == ModoSensor::PinAlto) ? LecturaCajon::Abierto
                                                                 : LecturaCajon::Cerrado;
}

LecturaRespuesta LeerRespuesta(std::string_view bytes) {
    LecturaRespuesta lectura;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(bytes[i]);
        if ((byte & kBitsFijos) == kValorAsb && EsGrupoAsb(bytes.substr(i + 1, kBytesAsb - 1))) {
            lectura.aMedias = bytes.size() - i < kBytesAsb;
            i += kBytesAsb - 1;
        } else if (RespuestaValida(byte)) {
            lectura.estado = byte;
        }
        // XON (0x11), XOFF (0x13) and anything else a line may carry: skipped.
    }
    return lectura;
}

RespuestaEstado PreguntarEstado(ConsultaEstado& consulta, const DestinoEstado& destino) {
    const Contestacion c =
        consulta.Preguntar(destino, kPreguntaEstado, kEsperaRespuesta, [](std::string_view b) {
            const auto lectura = LeerRespuesta(b);
            return lectura.estado && !lectura.aMedias;
        });
    return {LeerRespuesta(c.bytes).estado, c.ocupado};
}

LecturaCajon LeerCajon(const RespuestaEstado& respuesta, ModoSensor modo) {
    if (!respuesta.estado && respuesta.ocupado) return LecturaCajon::Ocupado;
    return LeerCajon(respuesta.estado, modo);
}

std::optional<DestinoEstado> DestinoDelSensor(const ResultadoApertura& apertura) {
    if (apertura.fallo) return std::nullopt;
    if (apertura.via != ViaApertura::Red && apertura.via != ViaApertura::Puerto)
        return std::nullopt;
    return DestinoDelPuerto(apertura.destino);
}

std::optional<DestinoEstado> DestinoDelPuerto(std::string_view puerto) {
    DestinoEstado destino;
    if (const auto serie = LeerPuertoSerie(puerto)) {
        if (!serie->ajustesValidos) return std::nullopt;
        destino.dispositivo = serie->dispositivo;
        destino.ajustes = serie->ajustes;
        return destino;
    }
    const auto red = LeerPuertoDeRed(puerto);
    if (red.forma != FormaPuerto::DeRed) return std::nullopt;
    destino.red = true;
    destino.host = red.host;
    destino.puerto = red.puerto;
    return destino;
}

int SegundosEntre(std::chrono::steady_clock::time_point desde,
                  std::chrono::steady_clock::time_point hasta) {
    if (hasta <= desde) return 0;
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::seconds>(hasta - desde).count());
}

std::string TextoCerrado(int segundos) {
    return "Cerrado tras " + std::to_string(segundos) + " s";
}

std::string TextoSinRespuestaTras(int segundos) {
    return std::string(kSinRespuestaSensor) + " tras " + std::to_string(segundos) + " s abierto";
}

std::string TextoAbiertoAlSalir(int segundos) {
    return "Abierto al salir tras " + std::to_string(segundos) + " s";
}

int AvisosDebidos(int segundosAbierto, int avisoSegundos) {
    if (avisoSegundos <= 0 || segundosAbierto <= 0) return 0;
    return segundosAbierto / avisoSegundos;
}

std::string TextoAviso(int segundos) {
    return "El cajón lleva abierto " + std::to_string(segundos) + " s";
}

std::optional<ModoSensor> ModoComprobado(std::optional<std::uint8_t> cerrado,
                                         std::optional<std::uint8_t> abierto) {
    if (!cerrado || !abierto || !RespuestaValida(*cerrado) || !RespuestaValida(*abierto)) {
        return std::nullopt;
    }
    if (Pin3Alto(*cerrado) == Pin3Alto(*abierto)) return std::nullopt;
    return Pin3Alto(*abierto) ? ModoSensor::PinAlto : ModoSensor::PinBajo;
}
