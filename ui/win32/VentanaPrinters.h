#pragma once
// The printer chooser frmPrinters on Win32: one window per showing, modal to
// every other window of the program.

#include <windows.h>

#include <string>

#include "drawer/ElegirImpresora.h"
#include "platform/Printing.h"

class VentanaPrinters final : public SelectorImpresora {
  public:
    VentanaPrinters(HINSTANCE instancia, Printing& impresora)
        : instancia_(instancia), impresora_(impresora) {}

    // Creates the window, lets the logic fill it, and returns once it has
    // closed. A failure while filling it passes to the caller, the window
    // already gone.
    void Mostrar(std::string& SelectedPrinterName) override;

  private:
    HINSTANCE instancia_;
    Printing& impresora_;
};
