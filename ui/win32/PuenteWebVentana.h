#pragma once
// The browser bridge of a running program: reads its keys at start, shows
// their boxes, listens, and brings each kick to the main window's thread,
// where F12's kick runs, and each refused origin to a balloon.

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "drawer/EstadoCajon.h"
#include "drawer/RegistroAperturas.h"
#include "platform/AlmacenPoliticas.h"
#include "platform/Dialogs.h"
#include "platform/PrivateProfile.h"
#include "platform/win32/Win32EscuchaWeb.h"

class PedidoApertura;
class PuenteWeb;
class VentanaPrincipal;

class PuenteWebVentana {
  public:
    // Off (no socket at all) without KovraWebOrigenes; off after a box when
    // KovraWebPuerto is not valid or its port cannot be taken. Each refused
    // origin the bridge tells of also goes to `aperturas`' event log.
    // `estadoCajon` gives the drawer's state for /v1/estado; `avisar` shows a
    // refused origin's balloon, on the window's thread. In the machine's copy
    // (`permisosEquipo`), a settings file that other users can change lists
    // no origin: one user would open every user's drawer to a page.
    PuenteWebVentana(VentanaPrincipal& ventana, PrivateProfile& perfil,
                     const std::string& rutaParametros, Dialogs& dialogs, std::string version,
                     AlmacenPoliticas* politicas = nullptr, RegistroAperturas* aperturas = nullptr,
                     std::function<std::optional<EstadoCajon>()> estadoCajon = {},
                     std::function<void(const std::string&)> avisar = {},
                     PermisosArchivo* permisosEquipo = nullptr);
    ~PuenteWebVentana();

    // An administrator's policy has changed: the running bridge takes the
    // origins KovraWebOrigenes lists now, with no box; none refuses every
    // page. A bridge off since the start stays off, and a new KovraWebPuerto
    // waits for the next start: its socket is the start's.
    void PoliticaCambiada();

  private:
    // The last kick handed to the window: its message is lost if the window
    // goes first, and its page must still hear that nothing was done.
    struct UltimoPedido {
        std::mutex mutex;
        std::weak_ptr<PedidoApertura> pedido;
    };
    std::shared_ptr<UltimoPedido> ultimo_ = std::make_shared<UltimoPedido>();
    Parametros parametros_;
    // The room outlives the listener's thread, which calls it.
    std::unique_ptr<PuenteWeb> puente_;
    std::unique_ptr<Win32EscuchaWeb> escucha_;
};
