// Any bytes on any number of connections, in any pieces and at any times,
// must be read within the limits and answered with well-formed responses;
// only a listed origin's JSON POST may reach the kick, and the table never
// holds more connections than its limit, however many come.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "bridge/PuenteWeb.h"
#include "platform/Utf16.h"

// What the record and the event log show of a page hides nothing more.
static void Visible(std::string_view t) {
    if (TextoVisible(TextoVisible(t)) != TextoVisible(t)) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::shared_ptr<PedidoApertura> pedido;
    PuenteWeb puente({{"https://tpv.ejemplo.com"}, 47110}, "1.0.0",
                     [&](std::shared_ptr<PedidoApertura> p) {
                         if (Minusculas(p->Pagina()).rfind("https://tpv.ejemplo.com", 0) != 0)
                             std::abort();
                         Visible(p->Pagina());
                         pedido = std::move(p);
                     },
                     {});
    puente.Conectar([] {});
    puente.AlAvisar([](std::string_view origen, std::uint64_t) { Visible(origen); });
    std::string_view resto(reinterpret_cast<const char*>(data), size);
    std::int64_t ahora = 0;
    IdConexion ultima = 0;
    std::set<IdConexion> abiertas;
    while (!resto.empty()) {
        // One event a byte: a new connection, bytes or the end on one of the
        // last four, time, the window's outcome, a reset.
        const auto op = static_cast<std::uint8_t>(resto[0]);
        const IdConexion id = ultima - (op >> 3) % 4;
        const std::size_t n = std::min<std::size_t>(resto.size() - 1, (op >> 5) * 64 + 1);
        resto.remove_prefix(1);
        if (op % 6 == 0) abiertas.insert(++ultima), puente.Aceptada(ultima, ahora);
        if (op % 6 == 1) puente.Recibidos(id, resto.substr(0, n), ahora), resto.remove_prefix(n);
        if (op % 6 == 2) ahora += op * 40;
        if (op % 6 == 3 && pedido && (op & 8 ? pedido->Tomar() : true)) {
            pedido->Terminar({static_cast<ResultadoWeb::Estado>(op % 3), op, "x"});
        }
        if (op % 6 == 4) puente.Recibidos(id, {}, ahora);
        if (op % 6 == 5) abiertas.erase(id), puente.Cerrada(id);
        for (const OrdenConexion& o : puente.Ordenes(ahora)) {
            if (!o.enviar.empty() && (o.enviar.rfind("HTTP/1.1 ", 0) != 0 ||
                                      o.enviar.find("\r\n\r\n") == std::string::npos)) {
                std::abort();
            }
            if (o.cierre == OrdenConexion::Cierre::Ya ||
                o.cierre == OrdenConexion::Cierre::TrasEnviar) {
                abiertas.erase(o.id);
            }
        }
        if (abiertas.size() > kMaxConexionesWeb) std::abort();
    }
    return 0;
}
