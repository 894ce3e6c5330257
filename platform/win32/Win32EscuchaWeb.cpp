#include "platform/win32/Win32EscuchaWeb.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/Conexiones.h"

namespace {

// New connections taken in one round at most: a flood of them still leaves
// the loop its turn to read those that came before.
constexpr int kAceptarPorVuelta = 16;
constexpr int kLeerPorVuelta = 4;
constexpr int kTrozo = 4096;
// The longest sleep: a wake that got lost costs no more than this.
constexpr std::int64_t kDormirMaxMs = 1000;

std::int64_t Ahora() {
    return static_cast<std::int64_t>(GetTickCount64());
}

void NoBloqueante(SOCKET s) {
    u_long si = 1;
    ioctlsocket(s, FIONBIO, &si);
}

Socket Escuchar(int familia, const sockaddr* direccion, int largo, int& error) {
    Socket s(socket(familia, SOCK_STREAM, IPPROTO_TCP));
    if (!s) {
        error = WSAGetLastError();
        return s;
    }
    // No other program may take the same port beside this one and see the
    // requests meant for it.
    const BOOL exclusivo = TRUE;
    setsockopt(s.get(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusivo),
               sizeof exclusivo);
    if (familia == AF_INET6) {
        const DWORD solo6 = 1;
        setsockopt(s.get(), IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&solo6),
                   sizeof solo6);
    }
    if (bind(s.get(), direccion, largo) == SOCKET_ERROR ||
        listen(s.get(), SOMAXCONN) == SOCKET_ERROR) {
        error = WSAGetLastError();
        return Socket();
    }
    NoBloqueante(s.get());
    return s;
}

// Wakes the loop from another thread: a byte to a UDP socket of its own,
// connected to itself. Shared with whoever may wake it late (the window,
// after a kick): once closed, a wake reaches nothing.
class Despertador {
  public:
    Despertador() {
        sockaddr_in yo{};
        yo.sin_family = AF_INET;
        yo.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int largo = sizeof yo;
        s_.reset(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
        if (!s_ ||
            bind(s_.get(), reinterpret_cast<const sockaddr*>(&yo), sizeof yo) == SOCKET_ERROR ||
            getsockname(s_.get(), reinterpret_cast<sockaddr*>(&yo), &largo) == SOCKET_ERROR ||
            connect(s_.get(), reinterpret_cast<const sockaddr*>(&yo), sizeof yo) == SOCKET_ERROR) {
            throw FalloWinsock(WSAGetLastError());
        }
        NoBloqueante(s_.get());
    }

    SOCKET get() const { return s_.get(); }
    void Despertar() {
        std::lock_guard bloqueo(mutex_);
        if (s_) send(s_.get(), "", 1, 0);
    }
    void Vaciar() {
        char b[64];
        while (recv(s_.get(), b, sizeof b, 0) > 0) {
        }
    }
    void Cerrar() {
        std::lock_guard bloqueo(mutex_);
        s_.reset();
    }

  private:
    std::mutex mutex_;
    Socket s_;
};

struct Conexion {
    IdConexion id = 0;
    Socket s;
    std::string salida;
    std::size_t enviado = 0;
    OrdenConexion::Cierre cierre = OrdenConexion::Cierre::Ninguno;
    bool finLectura = false;
    bool cerrada = false;
};

}  // namespace

struct Win32EscuchaWeb::Estado {
    explicit Estado(SalaConexiones& s) : sala(s) {}

    SalaConexiones& sala;
    std::vector<Socket> escuchas;
    std::shared_ptr<Despertador> despertador = std::make_shared<Despertador>();
    std::vector<Conexion> conexiones;
    IdConexion ultima = 0;
    std::atomic<bool> parar = false;
    std::thread hilo;

    void Bucle();
    void Vuelta(std::vector<WSAPOLLFD>& fds, std::vector<std::size_t>& cual);
    void Aceptar(SOCKET escucha, std::int64_t ahora);
    void Leer(Conexion& c, std::int64_t ahora);
    void Enviar(Conexion& c);
    void Cumplir(const OrdenConexion& orden);
    static void Cerrar(Conexion& c) {
        c.s.reset();
        c.cerrada = true;
    }
};

void Win32EscuchaWeb::Estado::Bucle() {
    std::vector<WSAPOLLFD> fds;
    std::vector<std::size_t> cual;
    while (!parar) {
        try {
            Vuelta(fds, cual);
        } catch (...) {
            // Out of memory, say: this round is lost, the loop goes on.
            Sleep(10);
        }
    }
}

// One round: wait for the first event, the next deadline or a wake; read,
// write and accept what can be; then do what the room says. New connections
// are waited for only while the room admits them: the others stay queued.
void Win32EscuchaWeb::Estado::Vuelta(std::vector<WSAPOLLFD>& fds, std::vector<std::size_t>& cual) {
    std::int64_t ahora = Ahora();
    fds.assign(1, WSAPOLLFD{despertador->get(), POLLRDNORM, 0});
    if (sala.Admite(ahora)) {
        for (const Socket& e : escuchas) fds.push_back({e.get(), POLLRDNORM, 0});
    }
    const std::size_t primera = fds.size();
    cual.clear();
    for (std::size_t i = 0; i < conexiones.size(); ++i) {
        const Conexion& c = conexiones[i];
        const SHORT eventos = static_cast<SHORT>((c.finLectura ? 0 : POLLRDNORM) |
                                                 (c.enviado < c.salida.size() ? POLLWRNORM : 0));
        if (eventos == 0) continue;  // waiting for the room
        fds.push_back({c.s.get(), eventos, 0});
        cual.push_back(i);
    }
    const auto plazo = sala.ProximoPlazo(ahora);
    const std::int64_t espera =
        plazo ? std::clamp<std::int64_t>(*plazo - ahora, 0, kDormirMaxMs) : kDormirMaxMs;
    const int n = WSAPoll(fds.data(), static_cast<ULONG>(fds.size()), static_cast<INT>(espera));
    if (parar) return;
    if (n == SOCKET_ERROR) Sleep(10);  // no busy loop on a failure of the call itself
    ahora = Ahora();
    if (n > 0) {
        if (fds[0].revents != 0) despertador->Vaciar();
        for (std::size_t k = primera; k < fds.size(); ++k) {
            Conexion& c = conexiones[cual[k - primera]];
            if (fds[k].revents & POLLWRNORM) Enviar(c);
            if (fds[k].revents & (POLLRDNORM | POLLHUP | POLLERR)) Leer(c, ahora);
        }
        for (std::size_t k = 1; k < primera; ++k) {
            if (fds[k].revents & POLLRDNORM) Aceptar(fds[k].fd, ahora);
        }
    }
    for (const OrdenConexion& orden : sala.Ordenes(ahora)) Cumplir(orden);
    std::erase_if(conexiones, [](const Conexion& c) { return c.cerrada; });
}

void Win32EscuchaWeb::Estado::Aceptar(SOCKET escucha, std::int64_t ahora) {
    for (int i = 0; i < kAceptarPorVuelta && sala.Admite(ahora); ++i) {
        const SOCKET s = accept(escucha, nullptr, nullptr);
        if (s == INVALID_SOCKET) return;
        NoBloqueante(s);
        Conexion& c = conexiones.emplace_back();
        c.id = ++ultima;
        c.s = Socket(s);
        sala.Aceptada(c.id, ahora);
        // A browser's request is usually there already: read without a round.
        Leer(c, ahora);
    }
}

void Win32EscuchaWeb::Estado::Leer(Conexion& c, std::int64_t ahora) {
    char trozo[kTrozo];
    for (int i = 0; i < kLeerPorVuelta && !c.cerrada && !c.finLectura; ++i) {
        const int n = recv(c.s.get(), trozo, sizeof trozo, 0);
        if (n > 0) {
            sala.Recibidos(c.id, std::string_view(trozo, static_cast<std::size_t>(n)), ahora);
            if (n < kTrozo) return;
        } else if (n == 0) {
            c.finLectura = true;
            sala.Recibidos(c.id, {}, ahora);
        } else {
            if (WSAGetLastError() == WSAEWOULDBLOCK) return;
            Cerrar(c);
            sala.Cerrada(c.id);
        }
    }
}

void Win32EscuchaWeb::Estado::Enviar(Conexion& c) {
    while (!c.cerrada && c.enviado < c.salida.size()) {
        const int n = send(c.s.get(), c.salida.data() + c.enviado,
                           static_cast<int>(c.salida.size() - c.enviado), 0);
        if (n > 0) {
            c.enviado += static_cast<std::size_t>(n);
        } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
            return;
        } else {
            Cerrar(c);
            sala.Cerrada(c.id);
        }
    }
    if (c.cerrada) return;
    c.salida.clear();
    c.enviado = 0;
    if (c.cierre == OrdenConexion::Cierre::TrasEnviar) {
        Cerrar(c);
    } else if (c.cierre == OrdenConexion::Cierre::SoloEnvio) {
        shutdown(c.s.get(), SD_SEND);
        c.cierre = OrdenConexion::Cierre::Ninguno;
    }
}

void Win32EscuchaWeb::Estado::Cumplir(const OrdenConexion& orden) {
    const auto it = std::find_if(conexiones.begin(), conexiones.end(),
                                 [&](const Conexion& c) { return c.id == orden.id && !c.cerrada; });
    if (it == conexiones.end()) return;
    if (orden.cierre == OrdenConexion::Cierre::Ya) {
        Cerrar(*it);
        return;
    }
    it->salida += orden.enviar;
    if (orden.cierre != OrdenConexion::Cierre::Ninguno) it->cierre = orden.cierre;
    Enviar(*it);
}

Win32EscuchaWeb::Win32EscuchaWeb(std::uint16_t puerto, SalaConexiones& sala) {
    IniciarWinsock();
    estado_ = std::make_unique<Estado>(sala);
    int error = 0;
    sockaddr_in v4{};
    v4.sin_family = AF_INET;
    v4.sin_port = htons(puerto);
    v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sockaddr_in6 v6{};
    v6.sin6_family = AF_INET6;
    v6.sin6_port = htons(puerto);
    v6.sin6_addr = in6addr_loopback;
    Socket s4 = Escuchar(AF_INET, reinterpret_cast<const sockaddr*>(&v4), sizeof v4, error);
    if (!s4) throw FalloWinsock(error);
    estado_->escuchas.push_back(std::move(s4));
    Socket s6 = Escuchar(AF_INET6, reinterpret_cast<const sockaddr*>(&v6), sizeof v6, error);
    if (s6) {
        estado_->escuchas.push_back(std::move(s6));
    } else if (error != WSAEAFNOSUPPORT && error != WSAEADDRNOTAVAIL &&
               error != WSAEPROTONOSUPPORT) {
        // Taken on [::1] is taken: a page that calls localhost could reach
        // the other program there.
        throw FalloWinsock(error);
    }
    sala.Conectar([d = estado_->despertador] { d->Despertar(); });
    estado_->hilo = std::thread([e = estado_.get()] { e->Bucle(); });
}

Win32EscuchaWeb::~Win32EscuchaWeb() {
    estado_->parar = true;
    estado_->despertador->Despertar();
    if (estado_->hilo.joinable()) estado_->hilo.join();
    // What the room has still to say goes out before the sockets close: a
    // page whose kick the ending program will never make hears so. The
    // thread is over, so the room is still called from one thread at a time.
    try {
        for (const OrdenConexion& orden : estado_->sala.Ordenes(Ahora())) estado_->Cumplir(orden);
    } catch (...) {
        // Out of memory: the connections close unanswered, as before.
    }
    estado_->conexiones.clear();
    estado_->escuchas.clear();
    estado_->despertador->Cerrar();
}
