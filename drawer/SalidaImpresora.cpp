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
    impresora.EndDoc();
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
