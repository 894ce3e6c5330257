#include "ui/Ordenes.h"

#include <algorithm>
#include <cctype>

#include "settings/Conversiones.h"

namespace {

// The switch without its / or -, in lower case; empty for anything else.
std::string Interruptor(const std::string& argumento) {
    if (argumento.size() < 2 || (argumento[0] != '/' && argumento[0] != '-')) return {};
    std::string nombre = argumento.substr(1);
    std::transform(nombre.begin(), nombre.end(), nombre.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return nombre;
}

// /esperar or /esperar:N, N from 1 to 3600.
std::optional<int> Espera(const std::string& argumento) {
    const std::string nombre = Interruptor(argumento);
    if (nombre == "esperar") return kEsperaCierre;
    constexpr std::string_view kConSegundos = "esperar:";
    if (!nombre.starts_with(kConSegundos)) return std::nullopt;
    const auto segundos = EnteroDecimal(std::string_view(nombre).substr(kConSegundos.size()), 4);
    if (!segundos || *segundos < 1 || *segundos > 3600) return std::nullopt;
    return static_cast<int>(*segundos);
}

// /esperar after the opening: looks at the copy's drawer until its watch ends.
int EsperarCierre(CopiaAbierta& copia, const std::optional<std::optional<EstadoCajon>>& antes,
                  int segundos, const std::function<void(std::chrono::milliseconds)>& dormir) {
    constexpr std::chrono::milliseconds kCada{200};
    for (std::chrono::milliseconds pasado{0};; pasado += kCada) {
        const auto visto = copia.Cajon();
        if (!visto || !*visto) return salida::kSinSensor;
        const EstadoCajon& e = **visto;
        if (!e.vigilando) {
            // No watch began for this opening: a route that cannot answer.
            if (antes && *antes && !(*antes)->vigilando && e.vigilancias == (*antes)->vigilancias) {
                return salida::kSinSensor;
            }
            return e.ultimoFin == FinSensor::Cerrado || e.ultimoFin == FinSensor::NoSeVioAbrirse
                       ? salida::kBien
                       : salida::kSinSensor;
        }
        if (pasado >= std::chrono::seconds(segundos)) {
            return e.cajon == EstadoCajon::Cajon::Abierto ? salida::kSinRespuesta
                                                          : salida::kSinSensor;
        }
        if (dormir) dormir(kCada);
    }
}

}  // namespace

Orden LeerOrden(std::span<const std::string> argumentos) {
    if (argumentos.empty()) return Orden::Ninguna;
    const std::string nombre = Interruptor(argumentos[0]);
    if (argumentos.size() == 2 && nombre == "abrir" && Espera(argumentos[1])) {
        return Orden::AbrirYEsperar;
    }
    if (argumentos.size() > 1) return Orden::NoValida;
    if (nombre == "abrir") return Orden::Abrir;
    if (nombre == "salir") return Orden::Salir;
    if (nombre == "asistente") return Orden::Asistente;
    return Orden::NoValida;
}

int SegundosDeEspera(std::span<const std::string> argumentos) {
    return argumentos.size() == 2 ? Espera(argumentos[1]).value_or(kEsperaCierre) : kEsperaCierre;
}

std::uint32_t EmpaquetarCajon(const std::optional<EstadoCajon>& estado) {
    if (!estado) return 0;
    return 1u | static_cast<std::uint32_t>(estado->cajon) << 1 |
           static_cast<std::uint32_t>(estado->vigilando) << 3 |
           static_cast<std::uint32_t>(estado->ultimoFin) << 4 | (estado->vigilancias << 8);
}

std::optional<EstadoCajon> DesempaquetarCajon(std::uint32_t numero) {
    if ((numero & 1u) == 0) return std::nullopt;
    EstadoCajon e;
    e.cajon = static_cast<EstadoCajon::Cajon>((numero >> 1) & 3u);
    e.vigilando = (numero & 8u) != 0;
    e.ultimoFin = static_cast<FinSensor>((numero >> 4) & 15u);
    e.vigilancias = numero >> 8;
    return e;
}

int CodigoDeSalida(const ResultadoApertura& resultado) {
    if (!resultado.fallo) return salida::kBien;
    return resultado.fallo->numero > 0 ? resultado.fallo->numero : 1;
}

std::optional<int> CumplirOrden(Orden orden, CopiaAbierta& copia, Dialogs& dialogs,
                                const std::function<int()>& abrirAqui, int esperaSegundos,
                                const std::function<void(std::chrono::milliseconds)>& dormir) {
    switch (orden) {
        case Orden::Ninguna:
            return std::nullopt;
        case Orden::NoValida:
            dialogs.Information(kTextoUso);
            return salida::kOrdenNoValida;
        case Orden::Abrir:
            if (!copia.Hay()) return abrirAqui();
            return copia.Abrir().value_or(salida::kSinRespuesta);
        case Orden::AbrirYEsperar: {
            // With no copy there is no watcher to wait on; the drawer still opens.
            if (!copia.Hay()) {
                const int codigo = abrirAqui();
                return codigo == salida::kBien ? salida::kSinSensor : codigo;
            }
            const auto antes = copia.Cajon();
            const int codigo = copia.Abrir().value_or(salida::kSinRespuesta);
            if (codigo != salida::kBien) return codigo;
            return EsperarCierre(copia, antes, esperaSegundos, dormir);
        }
        case Orden::Salir:
            if (!copia.Hay()) return salida::kSinCopia;
            return copia.Salir() ? salida::kBien : salida::kSinRespuesta;
        case Orden::Asistente:
            if (!copia.Hay()) return std::nullopt;
            return copia.Asistente() ? salida::kBien : salida::kSinRespuesta;
    }
    return std::nullopt;
}

int AbrirSinVentana(CoordinadorApertura& apertura) {
    const auto resultado = apertura.Patear({OrigenApertura::OrdenAbrir, {}});
    return resultado ? CodigoDeSalida(*resultado) : salida::kOcupado;
}
