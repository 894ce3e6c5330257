#include "bridge/PedidoApertura.h"

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
