#include "drawer/ElegirImpresora.h"

void A_GetPrinter(std::string& PrinterNameInParam, bool Seleccionar, Printing& impresora,
                  SelectorImpresora& selector) {
    std::string SelectedPrinterName = PrinterNameInParam;
    if (!Seleccionar) {
        const auto instaladas = impresora.InstalledPrinters();
        for (std::size_t i = 0; i < instaladas.size(); ++i) {
            if (instaladas[i] == PrinterNameInParam) {
                impresora.MakeCurrent(static_cast<int>(i));
                return;
            }
        }
    }
    selector.Mostrar(SelectedPrinterName);
    PrinterNameInParam = SelectedPrinterName;
}

void ElegirImpresora(bool Seleccionar, Parametros& parametros, Printing& impresora,
                     SelectorImpresora& selector,
                     const std::function<void(const std::string&)>& fijarTitulo) {
    std::string nombre = parametros.VRXGetParametro(claves::PrinterDeviceName, "");
    A_GetPrinter(nombre, Seleccionar, impresora, selector);
    parametros.VRXSetParametro(claves::PrinterDeviceName, impresora.CurrentDeviceName());
    fijarTitulo("Enviar a: " + impresora.CurrentDeviceName());
}
