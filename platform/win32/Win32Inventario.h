#pragma once
// The printers, their ports and the machine's COM and LPT ports, as the
// spooler and the registry tell them.

#include "platform/InventarioImpresion.h"

class Win32Inventario : public InventarioImpresion {
  public:
    std::vector<ImpresoraInstalada> Impresoras() noexcept override;
    std::optional<PuertoTcpIp> PuertoEstandar(const std::string& puerto) noexcept override;
    std::vector<std::string> PuertosLocales() noexcept override;
};
