#include "drawer/ElegirImpresora.h"

int BuscarImpresora(const std::vector<std::string>& instaladas, const std::string& nombre,
                    const ComoSeGuardaNombre& comoSeGuarda) {
    for (std::size_t i = 0; i < instaladas.size(); ++i) {
        if (instaladas[i] == nombre) return static_cast<int>(i);
    }
    if (!comoSeGuarda) return -1;
    for (std::size_t i = 0; i < instaladas.size(); ++i) {
        if (comoSeGuarda(instaladas[i]) == nombre) return static_cast<int>(i);
    }
    return -1;
}

void A_GetPrinter(std::string& PrinterNameInParam, bool Seleccionar, Printing& impresora,
                  SelectorImpresora& selector, const ComoSeGuardaNombre& comoSeGuarda,
                  bool preguntar) {
    std::string SelectedPrinterName = PrinterNameInParam;
    if (!Seleccionar) {
        const int i =
            BuscarImpresora(impresora.InstalledPrinters(), PrinterNameInParam, comoSeGuarda);
        if (i >= 0) {
            impresora.MakeCurrent(i);
            return;
        }
        if (!preguntar) return;
    }
    selector.Mostrar(SelectedPrinterName);
    PrinterNameInParam = SelectedPrinterName;
}

void ElegirImpresora(bool Seleccionar, Parametros& parametros, Printing& impresora,
                     SelectorImpresora& selector,
                     const std::function<void(const std::string&)>& fijarTitulo, bool preguntar) {
    std::string nombre = parametros.VRXGetParametro(claves::PrinterDeviceName, "");
    A_GetPrinter(
        nombre, Seleccionar, impresora, selector,
        [&](std::string_view n) { return parametros.ComoSeGuarda(n); }, preguntar);
    parametros.VRXSetParametro(claves::PrinterDeviceName, impresora.CurrentDeviceName());
    fijarTitulo("Enviar a: " + impresora.CurrentDeviceName());
}
