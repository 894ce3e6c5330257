#include "ui/IconoPrincipal.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "settings/InformeError.h"

namespace {
constexpr std::uint32_t kIdIcono = 1;
}  // namespace

std::array<char, 64> CampoTip(std::string_view texto) {
    std::array<char, 64> tip;
    tip.fill(' ');
    const std::size_t n = std::min(texto.size(), tip.size());
    std::copy_n(texto.begin(), n, tip.begin());
    if (n < tip.size()) tip[n] = '\0';
    return tip;
}

int CodigoDeEvento(double x, bool midePixeles, double twipsPorPixel) {
    const double pixeles = midePixeles ? x : x / twipsPorPixel;
    // Mouse positions are small; anything else is no code the window acts on.
    if (!std::isfinite(pixeles) || std::fabs(pixeles) > 1e9) return -1;
    return static_cast<int>(std::nearbyint(pixeles));
}

void IconoPrincipal::PonerSystray(Dialogs& dialogs, const std::function<std::string()>& caption) {
    puesto_ = false;
    ProcedimientoGuardado(dialogs, "PonerSystray", [&](Linea& linea) {
        linea = 10;
        RegistroIcono& r = registro_;
        linea = 20;
        r.cbSize = bandeja_.TamanoRegistro();
        linea = 30;
        r.hWnd = hWnd_;
        linea = 40;
        r.uID = kIdIcono;
        linea = 50;
        r.uFlags = NIF_MESSAGE_ | NIF_ICON_ | NIF_TIP_;
        linea = 60;
        r.uCallbackMessage = kMensajeIcono;
        linea = 70;
        r.hIcon = hIcon_;
        linea = 80;
        r.szTip = CampoTip(bandeja_.TextoDeTip(caption(), r.szTip.size()));
        linea = 90;
        puesto_ = bandeja_.Agregar(r);
        linea = 100;
    });
}

void IconoPrincipal::QuitarSystray() {
    bandeja_.Quitar(registro_);
    puesto_ = false;
}
