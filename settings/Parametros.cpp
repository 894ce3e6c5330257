#include "settings/Parametros.h"

#include <algorithm>
#include <array>

#include "platform/Cp1252.h"
#include "settings/Conversiones.h"
#include "settings/InformeError.h"

namespace {

// The system's profile functions fill at most this many characters, NUL included.
constexpr std::size_t kTamanoBuffer = 255;

std::string SinBlancosAlrededor(std::string texto) {
    const auto primero = texto.find_first_not_of(' ');
    if (primero == std::string::npos) return {};
    const auto ultimo = texto.find_last_not_of(' ');
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
        std::array<char, kTamanoBuffer> buffer;
        buffer.fill(' ');
        perfil_.GetString(kSeccionParametros, Utf8ToCp1252(VarDeLaQueRecuperar),
                          Utf8ToCp1252(Defecto), buffer, Utf8ToCp1252(ruta_));
        std::string texto(buffer.begin(), buffer.end());
        std::erase(texto, '\0');
        return Cp1252ToUtf8(SinBlancosAlrededor(std::move(texto)));
    } catch (const std::exception& e) {
        informe = TextoFalloModulo(FalloDeExcepcion(e));
    }
    dialogs_.Report(informe);
    return {};
}

void Parametros::VRXSetParametro(std::string_view clave, std::string_view valor) {
    if (ValorNumerico(VRXGetParametro(claves::KovraBloqueado, "0")) != 0.0) return;
    perfil_.WriteString(kSeccionParametros, Utf8ToCp1252(clave), Utf8ToCp1252(valor),
                        Utf8ToCp1252(ruta_));
}
