#include "ui/frmPrinters.h"

#include "settings/InformeError.h"

void frmPrinters::Form_Load() {
    CargarImpresoras();
}

void frmPrinters::CargarImpresoras() {
    const std::string actual = impresora_.CurrentDeviceName();
    const std::string preseleccion = SelectedPrinterName_.empty() ? actual : SelectedPrinterName_;
    const auto instaladas = impresora_.InstalledPrinters();
    for (std::size_t i = 0; i < instaladas.size(); ++i) {
        vista_.AgregarFila(instaladas[i]);
        if (instaladas[i] == preseleccion) vista_.SeleccionarFila(static_cast<int>(i));
    }
}

void frmPrinters::FijarImpresora() {
    impresora_.MakeCurrent(vista_.FilaSeleccionada());
    SelectedPrinterName_ = impresora_.CurrentDeviceName();
}

void frmPrinters::cmdAceptar_Click() {
    ProcedimientoGuardado(dialogs_, "cmdAceptar_Click", [&](Linea& linea) {
        linea = 10;
        if (vista_.FilaSeleccionada() >= 0) FijarImpresora();
        linea = 20;
        vista_.Cerrar();
    });
}
