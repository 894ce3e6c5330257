#include "settings/Parametros.h"

#include <algorithm>

#include "platform/Utf16.h"
#include "settings/Conversiones.h"
#include "settings/InformeError.h"
#include "settings/Politicas.h"

namespace {

// The first buffer holds every usual value; a longer one (a long list of web
// origins) is read again with a buffer twice as large until it fits, so no
// value is ever cut: a cut list could name someone else's origin.
constexpr std::size_t kTamanoBuffer = 255;
// A profile file is read whole by the system; no value of ours comes near.
constexpr std::size_t kTamanoMaximo = 1 << 20;

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
    return Leer(VarDeLaQueRecuperar, Defecto).valor;
}

std::optional<std::string> Parametros::Politica(std::string_view clave) {
    if (politicas_ == nullptr) return std::nullopt;
    return ValorDePolitica(*politicas_, clave);
}

Parametros::Lectura Parametros::Leer(std::string_view VarDeLaQueRecuperar,
                                     std::string_view Defecto) {
    std::string informe;
    try {
        if (auto valor = Politica(VarDeLaQueRecuperar)) return {std::move(*valor), true};
        // A buffer of blanks: the system writes the value and one NUL and leaves
        // the rest, so dropping the NULs and the blanks around gives the value.
        // A NUL in the last place means the value may have been cut.
        const auto seccion = Utf8ToUtf16(kSeccionParametros);
        const auto clave = Utf8ToUtf16(VarDeLaQueRecuperar);
        const auto defecto = Utf8ToUtf16(Defecto);
        const auto ruta = Utf8ToUtf16(ruta_);
        std::u16string texto;
        for (std::size_t tamano = kTamanoBuffer;; tamano *= 2) {
            texto.assign(tamano, u' ');
            perfil_.GetString(seccion, clave, defecto, texto, ruta);
            if (texto.find(u'\0') != tamano - 1 || tamano >= kTamanoMaximo) break;
        }
        std::erase(texto, u'\0');
        return {Utf16ToUtf8(SinBlancosAlrededor(std::move(texto)))};
    } catch (const std::exception& e) {
        informe = TextoFalloModulo(FalloDeExcepcion(e));
    }
    dialogs_.Report(informe);
    return {};
}

bool Parametros::ArchivoAjeno() {
    return permisos_ != nullptr && permisos_->OtrosPuedenCambiar(ruta_);
}

Parametros::Lectura Parametros::DelAdministrador(std::string_view clave, std::string_view Defecto) {
    if (auto valor = Politica(clave)) return {std::move(*valor), true};
    if (ArchivoAjeno()) return {std::string(Defecto)};
    return Leer(clave, Defecto);
}

bool Parametros::SePuedeEscribir() {
    return permisos_ == nullptr || permisos_->PuedoEscribir(ruta_);
}

void Parametros::VRXSetParametro(std::string_view clave, std::string_view valor) {
    // The file keeps its own value, which comes back when the policy goes.
    if (PorPolitica(clave)) return;
    if (ValorNumerico(VRXGetParametro(claves::KovraBloqueado, "0")) != 0.0) return;
    perfil_.WriteString(Utf8ToUtf16(kSeccionParametros), Utf8ToUtf16(clave), Utf8ToUtf16(valor),
                        Utf8ToUtf16(ruta_));
}

std::string Parametros::ComoSeGuarda(std::string_view valor) {
    return Utf16ToUtf8(perfil_.AsStored(Utf8ToUtf16(valor)));
}
