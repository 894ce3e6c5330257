#pragma once
// Which printer is current: the remembered one (key PrinterDeviceName) when it
// is installed, otherwise the one the user picks in the printer chooser.

#include <functional>
#include <string>

#include "platform/Printing.h"
#include "settings/Parametros.h"

// The printer chooser window, shown modally. It lists the installed printers,
// may make the accepted one current, and leaves in SelectedPrinterName the
// accepted printer's device name (unchanged when closed without accepting).
class SelectorImpresora {
  public:
    virtual ~SelectorImpresora() = default;
    virtual void Mostrar(std::string& SelectedPrinterName) = 0;
};

// With Seleccionar false, an installed printer whose device name equals
// PrinterNameInParam exactly (case counts) becomes current and nothing is
// shown. Otherwise the chooser is shown and PrinterNameInParam receives its
// SelectedPrinterName. Failures of the printers or the chooser pass on.
void A_GetPrinter(std::string& PrinterNameInParam, bool Seleccionar, Printing& impresora,
                  SelectorImpresora& selector);

// Makes the remembered printer current (asking when it is missing or when
// Seleccionar), stores the current printer's name and shows it through
// `fijarTitulo` as "Enviar a: " + name. Failures pass on.
void ElegirImpresora(bool Seleccionar, Parametros& parametros, Printing& impresora,
                     SelectorImpresora& selector,
                     const std::function<void(const std::string&)>& fijarTitulo);
