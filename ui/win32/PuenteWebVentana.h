#pragma once
// The browser bridge of a running program: reads its keys at start, shows
// their boxes, listens, and brings each kick to the main window's thread,
// where F12's kick runs, and each refused origin to a balloon.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "drawer/EstadoCajon.h"
#include "platform/Dialogs.h"
#include "platform/PrivateProfile.h"
#include "platform/win32/Win32EscuchaWeb.h"

class VentanaPrincipal;

class PuenteWebVentana {
  public:
    // Off (no socket at all) without KovraWebOrigenes; off after a box when
    // KovraWebPuerto is not valid or its port cannot be taken.
    // `estadoCajon` gives the drawer's state for /v1/estado.
    PuenteWebVentana(VentanaPrincipal& ventana, PrivateProfile& perfil,
                     const std::string& rutaParametros, Dialogs& dialogs, std::string version,
                     std::function<std::optional<EstadoCajon>()> estadoCajon = {});

  private:
    std::unique_ptr<Win32EscuchaWeb> escucha_;
};
