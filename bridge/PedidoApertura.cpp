#include "bridge/PedidoApertura.h"

PedidoApertura::PedidoApertura(std::string pagina, std::function<void()> despertar)
    : pagina_(std::move(pagina)), despertar_(std::move(despertar)) {}

void PedidoApertura::Terminar(ResultadoWeb resultado) {
    {
        std::lock_guard bloqueo(mutex_);
        if (resultado_) return;
        resultado_ = std::move(resultado);
    }
    if (despertar_) despertar_();
}

std::optional<ResultadoWeb> PedidoApertura::Resultado() const {
    std::lock_guard bloqueo(mutex_);
    return resultado_;
}
