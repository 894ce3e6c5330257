#include "platform/win32/Conexiones.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/win32/ErroresWin32.h"

namespace {

using Direcciones = std::unique_ptr<addrinfo, decltype(&freeaddrinfo)>;

// One lookup of a name, shared by the caller and the thread that asks the
// system: the one that gives up, or the one that finishes last, frees it.
struct Busqueda {
    std::mutex mutex;
    std::condition_variable hecha;
    bool terminada = false;
    bool abandonada = false;
    int error = 0;
    addrinfo* lista = nullptr;
};

// The addresses of `host`, looked up within `ms`; a caller that gives up
// leaves the lookup to end alone.
Direcciones Buscar(const std::string& host, std::uint16_t puerto, ULONGLONG ms) {
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
        busqueda->abandonada = true;
        throw FalloWinsock(WSATRY_AGAIN);
    }
    if (busqueda->error != 0) throw FalloWinsock(busqueda->error);
    return Direcciones(busqueda->lista, &freeaddrinfo);
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

}  // namespace

Fallo FalloWinsock(int error) {
    return FalloWin32(static_cast<DWORD>(error));
}

void IniciarWinsock() {
    static const int error = [] {
        WSADATA datos;
        return WSAStartup(MAKEWORD(2, 2), &datos);
    }();
    if (error != 0) throw FalloWinsock(error);
}

Socket ConectarAntesDe(const std::string& host, std::uint16_t puerto, ULONGLONG limite) {
    IniciarWinsock();
    const ULONGLONG inicio = GetTickCount64();
    if (inicio >= limite) throw FalloWinsock(WSAETIMEDOUT);
    const Direcciones direcciones = Buscar(host, puerto, limite - inicio);
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
        if (error == 0) return s;
    }
    throw FalloWinsock(error);
}
