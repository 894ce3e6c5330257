#pragma once
// Which printer is current: the remembered one (key PrinterDeviceName) when it
// is installed, otherwise the one the user picks in the printer chooser.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

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

// How a printer's name reads back from the parameter file.
using ComoSeGuardaNombre = std::function<std::string(std::string_view)>;

// The installed printer that a remembered name stands for: the first whose
// device name equals it exactly (case counts); failing that, the first whose
// name, stored in the parameter file, reads back as it ("Caja Ж-80" for
// "Caja ?-80"). -1 for none.
int BuscarImpresora(const std::vector<std::string>& instaladas, const std::string& nombre,
                    const ComoSeGuardaNombre& comoSeGuarda);

// With Seleccionar false, the installed printer that PrinterNameInParam
// stands for (BuscarImpresora) becomes current and nothing is shown.
// Otherwise (or when none is, unless `preguntar` is false: the current
// printer stays) the chooser is shown and PrinterNameInParam receives its
// SelectedPrinterName. Failures of the printers or the chooser pass on.
void A_GetPrinter(std::string& PrinterNameInParam, bool Seleccionar, Printing& impresora,
                  SelectorImpresora& selector, const ComoSeGuardaNombre& comoSeGuarda = {},
                  bool preguntar = true);

// Makes the remembered printer current (asking when it is missing, as
// A_GetPrinter with `preguntar`, or when Seleccionar), stores the current
// printer's name and shows it through `fijarTitulo` as "Enviar a: " + name.
// Failures pass on.
void ElegirImpresora(bool Seleccionar, Parametros& parametros, Printing& impresora,
                     SelectorImpresora& selector,
                     const std::function<void(const std::string&)>& fijarTitulo,
                     bool preguntar = true);
