#include "drawer/SalidaImpresora.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "settings/Conversiones.h"

namespace {

bool ImprimirSoloUnaLinea(Parametros& parametros) {
    return ToBoolean(parametros.VRXGetParametro(claves::AC_PC, ""), false);
}

std::string NumeroComoTexto(float valor, std::string_view separadorDecimal) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.7G", static_cast<double>(valor));
    std::string texto;
    for (const char* p = buffer; *p != '\0'; ++p) {
        if (*p == '.') {
            texto += separadorDecimal;
        } else {
            texto += *p;
        }
    }
    return texto;
}

// One kick's job. A failure at any step drops it, so that no document stays
// open into the next kick: that one begins its own, on the printer current
// then, which may have been changed in between.
class TrabajoDeApertura {
  public:
    explicit TrabajoDeApertura(Printing& impresora) : impresora_(impresora) {}
    ~TrabajoDeApertura() {
        if (!terminado_) impresora_.KillDoc();
    }
    TrabajoDeApertura(const TrabajoDeApertura&) = delete;
    TrabajoDeApertura& operator=(const TrabajoDeApertura&) = delete;

    void EndDoc() {
        impresora_.EndDoc();
        terminado_ = true;
    }

  private:
    Printing& impresora_;
    bool terminado_ = false;
};

}  // namespace

float TamanoFuente(std::string_view texto) {
    const double valor = ValorNumerico(texto);
    if (std::fabs(valor) > std::numeric_limits<float>::max()) {
        return std::copysign(std::numeric_limits<float>::infinity(),
                             static_cast<float>(valor > 0 ? 1 : -1));
    }
    return static_cast<float>(valor);
}

void ImprimirApertura(Printing& impresora, Parametros& parametros) {
    TrabajoDeApertura trabajo(impresora);
    impresora.Print("", true);
    const std::string texto = parametros.VRXGetParametro(claves::AC_BIXOLON_Char, "");
    if (!texto.empty()) {
        const std::string tamano = parametros.VRXGetParametro(claves::AC_BIXOLON_FontSize, "");
        if (!tamano.empty()) impresora.SetFontSize(TamanoFuente(tamano));
        impresora.SetFontName(kFuenteControl);
        impresora.Print(texto, true);
    } else if (ImprimirSoloUnaLinea(parametros)) {
        impresora.Print("", false);
    } else {
        impresora.Print("", true);
    }
    trabajo.EndDoc();
}

std::string TextoComandosPrinter(Parametros& parametros, std::string_view separadorDecimal) {
    const std::string texto = parametros.VRXGetParametro(claves::AC_BIXOLON_Char, "");
    const std::string tamano = parametros.VRXGetParametro(claves::AC_BIXOLON_FontSize, "");
    std::string lineas;
    if (!texto.empty()) {
        if (!tamano.empty()) {
            lineas += "Printer.FontSize \"" +
                      NumeroComoTexto(TamanoFuente(tamano), separadorDecimal) + "\"\r\n";
        }
        lineas += "Printer.FontName \"FontControl\"\r\n";
        lineas += "Printer.Print \"" + texto + "\"\r\n";
    } else {
        lineas += ImprimirSoloUnaLinea(parametros) ? "Printer.Print ;\r\n" : "Printer.Print\r\n";
    }
    lineas += "Printer.EndDoc ";
    return lineas;
}
