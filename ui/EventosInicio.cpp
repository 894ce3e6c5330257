#include "ui/EventosInicio.h"

#include <utility>

#include "bridge/OrigenesWeb.h"
#include "bridge/PuenteWeb.h"
#include "drawer/SensorCajon.h"
#include "settings/Conversiones.h"

namespace {

struct Ajuste {
    std::string_view clave;
    std::string_view defecto;  // as docs/parametros.tsv has it
};

// KovraWebPuerto's default is the bridge's number.
constexpr Ajuste kAjustes[] = {
    {claves::KovraTipo, "1"},
    {claves::KovraPuerto, "LPT1:"},
    {claves::KovraASCII, "27 112 0 10 100"},
    {claves::KovraSensor, "0"},
    {claves::KovraTecla, "F12"},
    {claves::KovraBloqueado, "0"},
    {claves::KovraRegistro, "1"},
    {claves::KovraEventos, "1"},
    {claves::KovraWebPuerto, ""},
    {claves::KovraWebOrigenes, ""},
};

std::string Defecto(const Ajuste& ajuste) {
    if (ajuste.clave == claves::KovraWebPuerto) return std::to_string(kPuertoWebDefecto);
    return std::string(ajuste.defecto);
}

std::string Unidos(const std::vector<std::string>& textos) {
    std::string unidos;
    for (const auto& texto : textos) unidos += (unidos.empty() ? "" : " ") + texto;
    return unidos;
}

}  // namespace

std::vector<std::string> TextosInicio(Parametros& parametros, std::string_view version) {
    std::vector<std::string> textos{std::string(version)};
    // The machine's copy with a file other users can change: IT sees it, and
    // that its port, record and events switches count for nothing there.
    const char* archivo = parametros.ArchivoAjeno() ? " (archivo ajeno)" : " (archivo)";
    for (const Ajuste& ajuste : kAjustes) {
        auto [valor, porPolitica] = parametros.Leer(ajuste.clave, "");
        const char* origen = porPolitica ? " (política)" : archivo;
        if (!porPolitica && valor.empty()) {
            valor = Defecto(ajuste);
            origen = " (por defecto)";
        }
        textos.push_back(std::string(ajuste.clave) + "=" + valor + origen);
    }
    return textos;
}

std::vector<EventoInicio> EventosInicio(Parametros& parametros, std::string_view version,
                                        ConversorIdn idn) {
    std::vector<EventoInicio> lista{{eventos::kInicio, TextosInicio(parametros, version)}};
    const std::string tecla = parametros.VRXGetParametro(claves::KovraTecla, "F12");
    if (!LeerTeclaFuncion(tecla.empty() ? std::string_view("F12") : tecla)) {
        lista.push_back({eventos::kTeclaNoValida, {tecla}});
    }
    const std::string sensor = parametros.VRXGetParametro(claves::KovraSensor, "0");
    if (!LeerModoSensor(sensor)) lista.push_back({eventos::kSensorNoValido, {sensor}});
    const std::string texto = parametros.VRXGetParametro(claves::KovraWebOrigenes, "");
    const ListaOrigenes origenes = LeerOrigenes(texto, idn);
    if (!origenes.descartados.empty()) {
        lista.push_back({eventos::kOrigenesDescartados, {Unidos(origenes.descartados)}});
    }
    if (!origenes.origenes.empty()) {
        const std::string puerto =
            parametros.VRXGetParametro(claves::KovraWebPuerto, std::to_string(kPuertoWebDefecto));
        if (!LeerPuertoWeb(puerto)) lista.push_back({eventos::kPuertoWebNoValido, {puerto}});
    }
    return lista;
}

EventoInicio EventoPuertoWebOcupado(std::uint16_t puerto, const Fallo& fallo) {
    return {eventos::kPuertoWebOcupado,
            {std::to_string(puerto), std::to_string(fallo.numero), TextoDeFallo(fallo)}};
}

void InformarInicio(RegistroAperturas& registro, Parametros& parametros, std::string_view version,
                    ConversorIdn idn) {
    for (auto& evento : EventosInicio(parametros, version, idn)) {
        registro.AnotarEvento(parametros.Ruta(), evento.clase, std::move(evento.textos));
    }
}
