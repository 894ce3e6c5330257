#pragma once
// The printer chooser's logic: fills the list of installed printers and makes
// the accepted one current.

#include <string>

#include "platform/Dialogs.h"
#include "platform/Printing.h"
#include "ui/VistaPrinters.h"

inline constexpr const char* kCaptionPrinters = "Form1";
inline constexpr const char* kCaptionAceptar = "Aceptar";

class frmPrinters {
  public:
    frmPrinters(Printing& impresora, Dialogs& dialogs, VistaPrinters& vista,
                std::string SelectedPrinterName)
        : impresora_(impresora),
          dialogs_(dialogs),
          vista_(vista),
          SelectedPrinterName_(std::move(SelectedPrinterName)) {}

    // Load: one row per installed printer, in the system's order; the row of
    // SelectedPrinterName (or, when that is empty, of the current printer) is
    // selected. Failures pass on to the caller of the chooser.
    void Form_Load();

    // "Aceptar": the selected row's printer becomes current and the window
    // closes. With no row selected nothing changes and the window closes. A
    // failure (a printer removed meanwhile) is reported and the window stays.
    void cmdAceptar_Click();

    const std::string& SelectedPrinterName() const { return SelectedPrinterName_; }

  private:
    void CargarImpresoras();
    void FijarImpresora();

    Printing& impresora_;
    Dialogs& dialogs_;
    VistaPrinters& vista_;
    std::string SelectedPrinterName_;
};
