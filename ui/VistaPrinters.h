#pragma once
// What the printer chooser's logic sees of its window: the list of printers.

#include <string>

class VistaPrinters {
  public:
    virtual ~VistaPrinters() = default;

    // ListImpresoras: an unsorted, single-selection list box.
    virtual void AgregarFila(const std::string& texto) = 0;
    virtual void SeleccionarFila(int indice) = 0;
    virtual int FilaSeleccionada() const = 0;  // -1: none

    // Closes the chooser window.
    virtual void Cerrar() = 0;
};
