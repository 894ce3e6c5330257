#pragma once
// Why an opening asked for by another program or a web page was not made:
// the program could not take it now, as F12 would do nothing then; and the
// system's numbers that say so, to another program (its exit code) and to a
// web page (its "error"). Spelt here alone, below all who say them.

// The system's numbers of the same meaning.
namespace numero {
inline constexpr int kOcupado = 170;        // ERROR_BUSY: nothing was done now
inline constexpr int kSinRespuesta = 1460;  // ERROR_TIMEOUT: no answer in time
}  // namespace numero

enum class SinApertura {
    MensajeAbierto,  // a box or the printer chooser is open
    OtraApertura,    // another kick is under way
    Arrancando,      // the window is not shown yet
    Cerrando,        // the program is ending
};

// What the page is told, after the number 170 (ERROR_BUSY).
inline const char* TextoSinApertura(SinApertura motivo) {
    switch (motivo) {
        case SinApertura::MensajeAbierto:
            return "AbrirCajon tiene un mensaje abierto y no ha abierto el cajón, como tampoco "
                   "lo haría F12";
        case SinApertura::OtraApertura:
            return "Otra apertura del cajón está en curso: esta no se ha hecho";
        case SinApertura::Arrancando:
            return "AbrirCajon está arrancando y aún no ha abierto el cajón";
        case SinApertura::Cerrando:
            break;
    }
    return "AbrirCajon se está cerrando y no ha abierto el cajón";
}
