#include "settings/Parametros.h"

#include <algorithm>
#include <array>

#include "platform/Utf16.h"
#include "settings/Conversiones.h"
#include "settings/InformeError.h"

namespace {

// The system's profile functions fill at most this many characters, NUL included.
constexpr std::size_t kTamanoBuffer = 255;

std::u16string SinBlancosAlrededor(std::u16string texto) {
    const auto primero = texto.find_first_not_of(u' ');
    if (primero == std::u16string::npos) return {};
    const auto ultimo = texto.find_last_not_of(u' ');
    return texto.substr(primero, ultimo - primero + 1);
}

}  // namespace

std::string RutaParametros(std::string_view carpetaPrograma) {
    return std::string(carpetaPrograma) + std::string(kSufijoRutaParametros);
}

std::string Parametros::VRXGetParametro(std::string_view VarDeLaQueRecuperar,
                                        std::string_view Defecto) {
    std::string informe;
    try {
        // A buffer of blanks: the system writes the value and one NUL and leaves
        // the rest, so dropping the NULs and the blanks around gives the value.
        std::array<char16_t, kTamanoBuffer> buffer;
        buffer.fill(u' ');
        perfil_.GetString(Utf8ToUtf16(kSeccionParametros), Utf8ToUtf16(VarDeLaQueRecuperar),
                          Utf8ToUtf16(Defecto), buffer, Utf8ToUtf16(ruta_));
        std::u16string texto(buffer.begin(), buffer.end());
        std::erase(texto, u'\0');
        return Utf16ToUtf8(SinBlancosAlrededor(std::move(texto)));
    } catch (const std::exception& e) {
        informe = TextoFalloModulo(FalloDeExcepcion(e));
    }
    dialogs_.Report(informe);
    return {};
}

void Parametros::VRXSetParametro(std::string_view clave, std::string_view valor) {
    if (ValorNumerico(VRXGetParametro(claves::KovraBloqueado, "0")) != 0.0) return;
    perfil_.WriteString(Utf8ToUtf16(kSeccionParametros), Utf8ToUtf16(clave), Utf8ToUtf16(valor),
                        Utf8ToUtf16(ruta_));
}

std::string Parametros::ComoSeGuarda(std::string_view valor) {
    return Utf16ToUtf8(perfil_.AsStored(Utf8ToUtf16(valor)));
}
