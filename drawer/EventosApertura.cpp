#include "drawer/EventosApertura.h"

#include "platform/Utf16.h"

namespace {

// An insertion string may be 31,839 characters long; none of the record's
// fields needs a thousand bytes (three thousand once its '%' are widened).
constexpr std::size_t kMaxTexto = 1024;
constexpr std::string_view kPorCiento = "％";  // FULLWIDTH PERCENT SIGN

}  // namespace

ClaseEvento ClaseDeLinea(const ResultadoApertura& resultado) {
    switch (resultado.finSensor) {
        case FinSensor::Cerrado:
            return eventos::kCerrado;
        case FinSensor::SinRespuesta:
            return eventos::kSinRespuesta;
        case FinSensor::NoSeVioAbrirse:
            return eventos::kNoSeVioAbrirse;
        case FinSensor::AbiertoAlSalir:
            return eventos::kAbiertoAlSalir;
        case FinSensor::SinCambio:
            return eventos::kSinCambio;
        case FinSensor::Ninguno:
            break;
    }
    return resultado.fallo ? eventos::kFallida : eventos::kEnviada;
}

void TextosEvento(std::span<std::string> campos) {
    for (std::string& texto : campos) {
        // A web page's text may hold any character, some of which would turn
        // or break the line that Event Viewer shows.
        texto = TextoVisible(texto);
        // UTF-8, cut at a character's first byte.
        if (texto.size() > kMaxTexto) {
            std::size_t n = kMaxTexto;
            while ((static_cast<unsigned char>(texto[n]) & 0xC0) == 0x80) --n;
            texto.erase(n);
        }
        std::string domado;
        for (const char c : texto) {
            // Event Viewer expands a %1 or %%1 that an insertion string holds
            // as well, again and again: a motive or an error's text holding
            // one would show another field, or a message, in its place.
            if (c == '%') {
                domado += kPorCiento;
            } else {
                domado += c;
            }
        }
        texto = std::move(domado);
    }
}

std::string TextoDeFallo(const Fallo& fallo) {
    const auto fin = fallo.descripcion.find_last_not_of(" \t\r\n.");
    return fallo.descripcion.substr(0, fin == std::string::npos ? 0 : fin + 1);
}
