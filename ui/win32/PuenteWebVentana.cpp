#include "ui/win32/PuenteWebVentana.h"

#include <atomic>

#include "bridge/PuenteWeb.h"
#include "platform/win32/Texto.h"
#include "platform/win32/Win32Globo.h"
#include "ui/Ordenes.h"
#include "ui/win32/VentanaPrincipal.h"

namespace {

constexpr wchar_t kMensajeWeb[] = L"AbrirCajon.Web";
constexpr wchar_t kMensajeAvisoWeb[] = L"AbrirCajon.AvisoWeb";

// One kick handed from a connection's thread to the window's. Shared: a
// connection that stopped waiting leaves it to the window, which then
// does not kick at all.
struct Pedido {
    std::string pagina;
    std::atomic<bool> abandonado = false;
    ResultadoWeb resultado;
};

ResultadoWeb Abrir(HWND ventana, UINT mensaje, const std::string& pagina) {
    auto pedido = std::make_shared<Pedido>();
    pedido->pagina = pagina;
    auto envio = std::make_unique<std::shared_ptr<Pedido>>(pedido);
    DWORD_PTR respuesta = 0;
    if (SendMessageTimeoutW(ventana, mensaje, 0, reinterpret_cast<LPARAM>(envio.get()), SMTO_NORMAL,
                            kEsperaOrdenMilisegundos, &respuesta) == 0) {
        pedido->abandonado = true;
        // Still queued, perhaps: the window frees it if it ever gets it.
        if (GetLastError() == ERROR_TIMEOUT) envio.release();
        return {ResultadoWeb::Estado::NoAtendido, salida::kSinRespuesta,
                "AbrirCajon no ha contestado en 10 segundos"};
    }
    envio.release();
    return pedido->resultado;
}

}  // namespace

PuenteWebVentana::PuenteWebVentana(VentanaPrincipal& ventana, PrivateProfile& perfil,
                                   const std::string& rutaParametros, Dialogs& dialogs,
                                   std::string version, AlmacenPoliticas* politicas,
                                   RegistroAperturas* aperturas) {
    Parametros parametros(perfil, dialogs, politicas);
    parametros.FijarRuta(rutaParametros);
    auto configuracion = LeerConfiguracionWeb(parametros, dialogs);
    if (!configuracion) return;
    const UINT mensajeWeb = RegisterWindowMessageW(kMensajeWeb);
    const UINT mensajeAviso = RegisterWindowMessageW(kMensajeAvisoWeb);
    const HWND hwnd = ventana.Handle();
    const HICON icono = ventana.Icono();

    ventana.Atender(mensajeWeb, [&ventana](WPARAM, LPARAM lp) -> LRESULT {
        const std::unique_ptr<std::shared_ptr<Pedido>> envio(
            reinterpret_cast<std::shared_ptr<Pedido>*>(lp));
        const std::shared_ptr<Pedido> pedido = *envio;
        if (pedido->abandonado) return 0;
        ventana.AbrirDesdeWeb(pedido->pagina, [&](const std::optional<ResultadoApertura>& r) {
            if (!r) {
                pedido->resultado = {ResultadoWeb::Estado::NoAtendido, salida::kOcupado,
                                     "AbrirCajon tiene un mensaje abierto y no ha abierto el "
                                     "cajón, como tampoco lo haría F12"};
            } else if (!r->fallo) {
                pedido->resultado = {ResultadoWeb::Estado::Enviado, 0, {}};
            } else {
                pedido->resultado = {ResultadoWeb::Estado::Fallido, CodigoDeSalida(*r),
                                     TextoFalloApertura(*r->fallo, r->destino)};
            }
            // The connection answers now, before a failure's box waits for
            // the cashier.
            ReplyMessage(1);
        });
        return 1;
    });
    ventana.Atender(mensajeAviso, [hwnd, icono](WPARAM, LPARAM lp) -> LRESULT {
        const std::unique_ptr<std::wstring> texto(reinterpret_cast<std::wstring*>(lp));
        MostrarGlobo(hwnd, icono, L"AbrirCajon", *texto);
        return 0;
    });

    auto puente = std::make_shared<PuenteWeb>(
        *configuracion, std::move(version),
        [hwnd, mensajeWeb](const std::string& pagina) { return Abrir(hwnd, mensajeWeb, pagina); },
        [hwnd, mensajeAviso](const std::string& texto) {
            auto ancho = std::make_unique<std::wstring>(Ancho(texto));
            if (PostMessageW(hwnd, mensajeAviso, 0, reinterpret_cast<LPARAM>(ancho.get()))) {
                ancho.release();
            }
        },
        [] { return static_cast<std::int64_t>(GetTickCount64()); });
    if (aperturas != nullptr) {
        puente->AlAvisar([aperturas, rutaParametros](std::string_view origen) {
            aperturas->AnotarOrigenRechazado(rutaParametros, origen);
        });
    }
    try {
        escucha_ = std::make_unique<Win32EscuchaWeb>(
            configuracion->puerto,
            [puente](const LectorPeticion& lector) { return puente->Responder(lector); });
    } catch (const Fallo& fallo) {
        dialogs.Information(TextoPuertoOcupado(configuracion->puerto, fallo));
    }
}
