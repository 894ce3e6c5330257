#include "bridge/TablaConexiones.h"

#include <algorithm>

namespace {

using Fase = ConexionWeb::Fase;
using Puntero = std::unique_ptr<ConexionWeb>;

}  // namespace

TablaConexiones::Lista::const_iterator TablaConexiones::QuienSale(std::int64_t ahora) const {
    // The oldest of the first kind there is. Answered ones first: they are
    // only dropping bytes, and nothing is lost. Then those that have had
    // their grace, without a whole header before those with a body still
    // coming. Never one waiting for a kick: it is a listed page's request.
    const auto primera = [&](auto&& cual) {
        return std::find_if(conexiones_.begin(), conexiones_.end(), cual);
    };
    const auto pasada = [ahora](const Puntero& c) {
        return c->fase == Fase::Leyendo && c->aceptada + kGraciaMs <= ahora;
    };
    auto it = primera([](const Puntero& c) { return c->fase == Fase::Vaciando; });
    if (it == conexiones_.end()) {
        it = primera([&](const Puntero& c) { return pasada(c) && !c->CabeceraEntera(); });
    }
    if (it == conexiones_.end()) it = primera(pasada);
    return it;
}

bool TablaConexiones::Admite(std::int64_t ahora) const {
    return conexiones_.size() < kMaxConexionesWeb || QuienSale(ahora) != conexiones_.end();
}

std::optional<IdConexion> TablaConexiones::Aceptar(IdConexion id, std::int64_t ahora) {
    std::optional<IdConexion> fuera;
    if (conexiones_.size() >= kMaxConexionesWeb) {
        const auto it = QuienSale(ahora);
        if (it == conexiones_.end()) return id;
        fuera = (*it)->id;
        conexiones_.erase(it);
    }
    auto& c = conexiones_.emplace_back(std::make_unique<ConexionWeb>());
    c->id = id;
    c->aceptada = ahora;
    return fuera;
}

ConexionWeb* TablaConexiones::Buscar(IdConexion id) {
    const auto it = std::find_if(conexiones_.begin(), conexiones_.end(),
                                 [id](const Puntero& c) { return c->id == id; });
    return it == conexiones_.end() ? nullptr : it->get();
}

void TablaConexiones::Quitar(IdConexion id) {
    std::erase_if(conexiones_, [id](const Puntero& c) { return c->id == id; });
}

bool TablaConexiones::Vaciar(ConexionWeb& c, std::size_t bytes) {
    c.vaciado += bytes;
    return bytes == 0 || c.vaciado >= kMaxVaciado;
}

bool TablaConexiones::TrasResponder(ConexionWeb& c, std::int64_t ahora) {
    if (!c.lector.Sobran()) return false;
    c.fase = Fase::Vaciando;
    c.finVaciado = ahora + kPlazoVaciadoMs;
    return true;
}

std::optional<std::int64_t> TablaConexiones::Plazo(const ConexionWeb& c) {
    switch (c.fase) {
        case Fase::Leyendo:
            return c.aceptada + (c.CabeceraEntera() ? kPlazoPeticionMs : kPlazoCabeceraMs);
        case Fase::Vaciando:
            return c.finVaciado;
        case Fase::Esperando:
            break;  // the kick's own time
    }
    return std::nullopt;
}

std::vector<IdConexion> TablaConexiones::Vencidas(std::int64_t ahora) {
    std::vector<IdConexion> vencidas;
    std::erase_if(conexiones_, [&](const Puntero& c) {
        const auto plazo = Plazo(*c);
        if (!plazo || *plazo > ahora) return false;
        vencidas.push_back(c->id);
        return true;
    });
    return vencidas;
}

std::optional<std::int64_t> TablaConexiones::ProximoPlazo(std::int64_t ahora) const {
    // While nothing is admitted every connection still reading is in its
    // grace, and the first to end it makes room.
    const bool lleno = !Admite(ahora);
    std::optional<std::int64_t> proximo;
    for (const Puntero& c : conexiones_) {
        auto plazo = Plazo(*c);
        if (lleno && c->fase == Fase::Leyendo) plazo = c->aceptada + kGraciaMs;
        if (plazo && (!proximo || *plazo < *proximo)) proximo = plazo;
    }
    return proximo;
}
