#include "ui/win32/PuenteWebVentana.h"

#include "bridge/PuenteWeb.h"
#include "platform/win32/Texto.h"
#include "platform/win32/Win32Idn.h"
#include "ui/EventosInicio.h"
#include "ui/Ordenes.h"
#include "ui/win32/VentanaPrincipal.h"

namespace {

constexpr wchar_t kMensajeWeb[] = L"AbrirCajon.Web";
constexpr wchar_t kMensajeAvisoWeb[] = L"AbrirCajon.AvisoWeb";

ResultadoWeb DeApertura(const ResultadoApertura& r) {
    if (!r.fallo) return {ResultadoWeb::Estado::Enviado, 0, {}};
    return {ResultadoWeb::Estado::Fallido, CodigoDeSalida(r),
            TextoFalloApertura(*r.fallo, r.destino)};
}

// Nothing was done, and why: the page may try again.
ResultadoWeb SinAbrir(SinApertura motivo) {
    return {ResultadoWeb::Estado::NoAtendido, salida::kOcupado, TextoSinApertura(motivo)};
}

}  // namespace

PuenteWebVentana::PuenteWebVentana(VentanaPrincipal& ventana, PrivateProfile& perfil,
                                   const std::string& rutaParametros, Dialogs& dialogs,
                                   std::string version, AlmacenPoliticas* politicas,
                                   RegistroAperturas* aperturas,
                                   std::function<std::optional<EstadoCajon>()> estadoCajon,
                                   std::function<void(const std::string&)> avisar,
                                   PermisosArchivo* permisosEquipo)
    : parametros_(perfil, dialogs, politicas) {
    parametros_.FijarRuta(rutaParametros);
    parametros_.FijarInstalacionDelEquipo(permisosEquipo);
    auto configuracion = LeerConfiguracionWeb(parametros_, dialogs, Win32Idn);
    if (!configuracion) return;
    const UINT mensajeWeb = RegisterWindowMessageW(kMensajeWeb);
    const UINT mensajeAviso = RegisterWindowMessageW(kMensajeAvisoWeb);
    const HWND hwnd = ventana.Handle();

    ventana.Atender(mensajeWeb, [&ventana](WPARAM, LPARAM lp) -> LRESULT {
        const std::unique_ptr<std::shared_ptr<PedidoApertura>> envio(
            reinterpret_cast<std::shared_ptr<PedidoApertura>*>(lp));
        PedidoApertura& pedido = **envio;
        // The listener gave up first and told the page: nothing is done.
        if (!pedido.Tomar()) return 0;
        const auto sin = ventana.AbrirDesdeWeb(
            pedido.Pagina(),
            [&pedido](const ResultadoApertura& r) { pedido.Terminar(DeApertura(r)); });
        if (sin) pedido.Terminar(SinAbrir(*sin));
        // A kick stopped by an unforeseen failure has shown its report box.
        pedido.Terminar({ResultadoWeb::Estado::Fallido, 1,
                         "La apertura no ha terminado: vea el mensaje en la pantalla de la caja"});
        return 0;
    });
    ventana.Atender(mensajeAviso, [avisar = std::move(avisar)](WPARAM, LPARAM lp) -> LRESULT {
        const std::unique_ptr<std::string> texto(reinterpret_cast<std::string*>(lp));
        if (avisar) avisar(*texto);
        return 0;
    });

    puente_ = std::make_unique<PuenteWeb>(
        *configuracion, std::move(version),
        [hwnd, mensajeWeb, ultimo = ultimo_](std::shared_ptr<PedidoApertura> pedido) {
            // Posted, never sent: the listener does not wait for the window.
            auto envio = std::make_unique<std::shared_ptr<PedidoApertura>>(pedido);
            if (PostMessageW(hwnd, mensajeWeb, 0, reinterpret_cast<LPARAM>(envio.get()))) {
                envio.release();
                const std::lock_guard bloqueo(ultimo->mutex);
                ultimo->pedido = pedido;
                return;
            }
            if (!IsWindow(hwnd)) {
                pedido->Terminar(SinAbrir(SinApertura::Cerrando));
            } else {
                pedido->Terminar({ResultadoWeb::Estado::NoAtendido, salida::kSinRespuesta,
                                  "AbrirCajon no contesta y no ha abierto el cajón"});
            }
        },
        [hwnd, mensajeAviso](const std::string& texto) {
            auto copia = std::make_unique<std::string>(texto);
            if (PostMessageW(hwnd, mensajeAviso, 0, reinterpret_cast<LPARAM>(copia.get()))) {
                copia.release();
            }
        });
    if (aperturas != nullptr) {
        puente_->AlAvisar([aperturas, rutaParametros](std::string_view origen, std::uint64_t mas) {
            aperturas->AnotarOrigenRechazado(rutaParametros, origen, mas);
        });
    }
    puente_->FijarEstadoCajon(std::move(estadoCajon));
    try {
        escucha_ = std::make_unique<Win32EscuchaWeb>(configuracion->puerto, *puente_);
    } catch (const Fallo& fallo) {
        if (aperturas != nullptr) {
            auto evento = EventoPuertoWebOcupado(configuracion->puerto, fallo);
            aperturas->AnotarEvento(rutaParametros, evento.clase, std::move(evento.textos));
        }
        dialogs.Information(TextoPuertoOcupado(configuracion->puerto, fallo));
    }
}

PuenteWebVentana::~PuenteWebVentana() {
    // The window has gone: a kick it never took never will be, and the
    // listener's last orders tell its page so before the sockets close.
    std::shared_ptr<PedidoApertura> pedido;
    {
        const std::lock_guard bloqueo(ultimo_->mutex);
        pedido = ultimo_->pedido.lock();
    }
    if (pedido && pedido->Tomar()) pedido->Terminar(SinAbrir(SinApertura::Cerrando));
    escucha_.reset();
    // The refused requests counted since the last event are not lost.
    if (puente_) puente_->Resumir(0);
}

void PuenteWebVentana::PoliticaCambiada() {
    if (!puente_) return;
    // Entries that are no origin are left out as at the start, but told by
    // no box: a change of policy comes while the cashier works.
    puente_->CambiarOrigenes(
        LeerOrigenes(parametros_.DelAdministrador(claves::KovraWebOrigenes, "").valor, Win32Idn)
            .origenes);
}
