#include "platform/win32/Win32Red.h"

// Winsock's headers come before <windows.h>.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/win32/ErroresWin32.h"

namespace {

// The name's lookup, the connection over every address of the name, the
// sends and the close, all within this time: the kick holds the window
// meanwhile.
constexpr ULONGLONG kLimiteMs = 3000;
// How long, at most, the close waits for the printer to close its side: a
// printer that keeps it open has the bytes all the same, and the cashier
// should not wait for it.
constexpr ULONGLONG kEsperaCierreMs = 1000;

// Winsock's numbers are system error numbers, described with the others.
Fallo FalloWinsock(int error) {
    return FalloWin32(static_cast<DWORD>(error));
}

using Direcciones = std::unique_ptr<addrinfo, decltype(&freeaddrinfo)>;

// One lookup of a name, shared by the kick and the thread that asks the
// system: the one that gives up, or the one that finishes last, frees it.
struct Busqueda {
    std::mutex mutex;
    std::condition_variable hecha;
    bool terminada = false;
    bool abandonada = false;
    int error = 0;
    addrinfo* lista = nullptr;
};

// The addresses of `host`, looked up within `ms`. getaddrinfo has no limit of
// its own, and a DNS server that does not answer holds it for many seconds:
// it runs on a thread of its own, which a kick that gives up leaves to end
// alone (and `abandonada` says so).
Direcciones Buscar(const std::string& host, std::uint16_t puerto, ULONGLONG ms, bool& abandonada) {
    auto busqueda = std::make_shared<Busqueda>();
    std::thread([busqueda, host, servicio = std::to_string(puerto)] {
        addrinfo pista{};
        pista.ai_family = AF_UNSPEC;
        pista.ai_socktype = SOCK_STREAM;
        pista.ai_protocol = IPPROTO_TCP;
        addrinfo* lista = nullptr;
        const int error = getaddrinfo(host.c_str(), servicio.c_str(), &pista, &lista);
        std::lock_guard bloqueo(busqueda->mutex);
        if (busqueda->abandonada) {
            if (lista != nullptr) freeaddrinfo(lista);
            return;
        }
        busqueda->terminada = true;
        busqueda->error = error;
        busqueda->lista = lista;
        busqueda->hecha.notify_one();
    }).detach();
    std::unique_lock bloqueo(busqueda->mutex);
    if (!busqueda->hecha.wait_for(bloqueo, std::chrono::milliseconds(ms),
                                  [&] { return busqueda->terminada; })) {
        busqueda->abandonada = abandonada = true;
        throw FalloWinsock(WSATRY_AGAIN);
    }
    if (busqueda->error != 0) throw FalloWinsock(busqueda->error);
    return Direcciones(busqueda->lista, &freeaddrinfo);
}

class Socket {
  public:
    explicit Socket(SOCKET s) : s_(s) {}
    ~Socket() {
        if (s_ != INVALID_SOCKET) closesocket(s_);
    }
    Socket(Socket&& otro) noexcept : s_(std::exchange(otro.s_, INVALID_SOCKET)) {}
    Socket& operator=(Socket&&) = delete;

    SOCKET get() const { return s_; }
    SOCKET release() { return std::exchange(s_, INVALID_SOCKET); }

  private:
    SOCKET s_;
};

// Sets `opcion` (SO_SNDTIMEO or SO_RCVTIMEO) to the time left until
// `limite`; false when none is left.
bool LimitarA(SOCKET s, int opcion, ULONGLONG limite) {
    const ULONGLONG ahora = GetTickCount64();
    if (ahora >= limite) return false;
    const DWORD quedan = static_cast<DWORD>(limite - ahora);
    setsockopt(s, SOL_SOCKET, opcion, reinterpret_cast<const char*>(&quedan), sizeof quedan);
    return true;
}

// 0 once `s` is connected to `d` within `ms`, or the Winsock error. A
// connect that is not blocking, waited for with select, is the only way to
// put a limit on it.
int ConectarDentroDe(SOCKET s, const addrinfo& d, ULONGLONG ms) {
    u_long noBloquear = 1;
    if (ioctlsocket(s, FIONBIO, &noBloquear) == SOCKET_ERROR) return WSAGetLastError();
    if (connect(s, d.ai_addr, static_cast<int>(d.ai_addrlen)) == SOCKET_ERROR) {
        const int error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK) return error;
        fd_set escritura, fallo;
        FD_ZERO(&escritura);
        FD_SET(s, &escritura);
        FD_ZERO(&fallo);
        FD_SET(s, &fallo);
        timeval espera{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000 * 1000)};
        const int listos = select(0, nullptr, &escritura, &fallo, &espera);
        if (listos == SOCKET_ERROR) return WSAGetLastError();
        if (listos == 0) return WSAETIMEDOUT;
        int estado = 0;
        int largo = sizeof estado;
        if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&estado), &largo) ==
            SOCKET_ERROR) {
            return WSAGetLastError();
        }
        if (estado != 0) return estado;
        if (FD_ISSET(s, &fallo)) return WSAECONNREFUSED;
    }
    u_long bloquear = 0;
    if (ioctlsocket(s, FIONBIO, &bloquear) == SOCKET_ERROR) return WSAGetLastError();
    return 0;
}

class Conexion : public OutputPort {
  public:
    Conexion(Socket s, ULONGLONG limite) : socket_(std::move(s)), limite_(limite) {
        // Each write leaves at once, as it would on a port, not held back to
        // be joined with the next.
        const BOOL sinEspera = TRUE;
        setsockopt(socket_.get(), IPPROTO_TCP, TCP_NODELAY,
                   reinterpret_cast<const char*>(&sinEspera), sizeof sinEspera);
    }

    // One send per write; only a send that takes part of the bytes is
    // followed by another for the rest.
    void Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            if (!LimitarA(socket_.get(), SO_SNDTIMEO, limite_)) throw FalloWinsock(WSAETIMEDOUT);
            const int pedido = static_cast<int>(std::min<std::size_t>(bytes.size(), 1u << 20));
            const int enviados = send(socket_.get(), bytes.data(), pedido, 0);
            if (enviados == SOCKET_ERROR) throw FalloWinsock(WSAGetLastError());
            bytes.remove_prefix(static_cast<std::size_t>(enviados));
        }
    }

    // The printer is told that nothing more comes, and closes its side once
    // it has read everything: that close, or no answer yet when the time is
    // up, means the bytes were delivered. A reset instead means the printer
    // threw them away unread, and any other error leaves it unknown: both fail
    // the kick. Closing ours while bytes it sent (some printers send their
    // status unasked) lie unread would reset the connection and might drop
    // what the printer had not read yet: they are read first. The wait is a
    // blocking recv with a time-out rather than select: Wine reports a reset
    // only to a recv already waiting when it comes.
    void Close() override {
        Socket s(std::move(socket_));
        if (shutdown(s.get(), SD_SEND) == SOCKET_ERROR) throw FalloWinsock(WSAGetLastError());
        const ULONGLONG limite = std::min(limite_, GetTickCount64() + kEsperaCierreMs);
        char recibido[512];
        while (LimitarA(s.get(), SO_RCVTIMEO, limite)) {
            const int leidos = recv(s.get(), recibido, sizeof recibido, 0);
            if (leidos == 0) break;
            if (leidos == SOCKET_ERROR) {
                const int error = WSAGetLastError();
                if (error == WSAETIMEDOUT) break;
                throw FalloWinsock(error);
            }
        }
        if (closesocket(s.release()) == SOCKET_ERROR) throw FalloWinsock(WSAGetLastError());
    }

  private:
    Socket socket_;
    ULONGLONG limite_;  // GetTickCount64's value when the kick's time is up
};

}  // namespace

Win32NetworkOpener::~Win32NetworkOpener() {
    // Not under a lookup that may still run: the process is ending anyway.
    if (iniciado_ && !busquedaAbandonada_) WSACleanup();
}

std::unique_ptr<OutputPort> Win32NetworkOpener::Connect(const std::string& host,
                                                        std::uint16_t port) {
    if (!iniciado_) {
        WSADATA datos;
        if (const int error = WSAStartup(MAKEWORD(2, 2), &datos); error != 0) {
            throw FalloWinsock(error);
        }
        iniciado_ = true;
    }
    const ULONGLONG limite = GetTickCount64() + kLimiteMs;
    const Direcciones direcciones = Buscar(host, port, kLimiteMs, busquedaAbandonada_);
    const addrinfo* lista = direcciones.get();
    ULONGLONG quedan = 0;
    for (const addrinfo* d = lista; d != nullptr; d = d->ai_next) ++quedan;

    int error = WSAETIMEDOUT;
    for (const addrinfo* d = lista; d != nullptr; d = d->ai_next, --quedan) {
        const ULONGLONG ahora = GetTickCount64();
        if (ahora >= limite) {
            error = WSAETIMEDOUT;
            break;
        }
        Socket s(socket(d->ai_family, d->ai_socktype, d->ai_protocol));
        if (s.get() == INVALID_SOCKET) {
            error = WSAGetLastError();
            continue;
        }
        // The time left is shared among the addresses left: one that does not
        // answer leaves time to try the next.
        error = ConectarDentroDe(s.get(), *d, (limite - ahora) / quedan);
        if (error == 0) return std::make_unique<Conexion>(std::move(s), limite);
    }
    throw FalloWinsock(error);
}
