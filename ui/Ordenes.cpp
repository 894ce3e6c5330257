#include "ui/Ordenes.h"

#include <algorithm>
#include <cctype>

namespace {

// The switch without its / or -, in lower case; empty for anything else.
std::string Interruptor(const std::string& argumento) {
    if (argumento.size() < 2 || (argumento[0] != '/' && argumento[0] != '-')) return {};
    std::string nombre = argumento.substr(1);
    std::transform(nombre.begin(), nombre.end(), nombre.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return nombre;
}

// Reads the parameter file and writes nothing back.
class PerfilSoloLectura : public PrivateProfile {
  public:
    explicit PerfilSoloLectura(PrivateProfile& perfil) : perfil_(perfil) {}
    void GetString(std::u16string_view section, std::u16string_view key,
                   std::u16string_view defecto, std::span<char16_t> buffer,
                   const std::u16string& path) override {
        perfil_.GetString(section, key, defecto, buffer, path);
    }
    bool WriteString(std::u16string_view, std::u16string_view, std::u16string_view,
                     const std::u16string&) override {
        return false;
    }
    std::u16string AsStored(std::u16string_view value) override { return perfil_.AsStored(value); }

  private:
    PrivateProfile& perfil_;
};

}  // namespace

Orden LeerOrden(std::span<const std::string> argumentos) {
    if (argumentos.empty()) return Orden::Ninguna;
    if (argumentos.size() > 1) return Orden::NoValida;
    const std::string nombre = Interruptor(argumentos[0]);
    if (nombre == "abrir") return Orden::Abrir;
    if (nombre == "salir") return Orden::Salir;
    return Orden::NoValida;
}

int CodigoDeSalida(const ResultadoApertura& resultado) {
    if (!resultado.fallo) return salida::kBien;
    return resultado.fallo->numero > 0 ? resultado.fallo->numero : 1;
}

std::optional<int> CumplirOrden(Orden orden, CopiaAbierta& copia, Dialogs& dialogs,
                                const std::function<int()>& abrirAqui) {
    switch (orden) {
        case Orden::Ninguna:
            return std::nullopt;
        case Orden::NoValida:
            dialogs.Information(kTextoUso);
            return salida::kOrdenNoValida;
        case Orden::Abrir:
            if (!copia.Hay()) return abrirAqui();
            return copia.Abrir().value_or(salida::kSinRespuesta);
        case Orden::Salir:
            if (!copia.Hay()) return salida::kSinCopia;
            return copia.Salir() ? salida::kBien : salida::kSinRespuesta;
    }
    return std::nullopt;
}

int AbrirSinVentana(VistaPrincipal& vista, const ServiciosPrincipal& servicios) {
    PerfilSoloLectura perfil(servicios.perfil);
    SinSelector selector;
    ServiciosPrincipal propios{perfil,
                               servicios.puertos,
                               servicios.impresora,
                               servicios.dialogs,
                               selector,
                               servicios.teclas,
                               servicios.bandeja,
                               servicios.carpetaPrograma,
                               servicios.separadorDecimal,
                               servicios.aperturas,
                               servicios.red};
    frmAbrirCajon form(vista, std::move(propios));
    form.CargarParaAbrir();
    return form.OrdenAbrir({});
}
