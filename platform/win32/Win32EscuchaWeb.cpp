#include "platform/win32/Win32EscuchaWeb.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/win32/Conexiones.h"

namespace {

// How often a waiting thread looks whether the listener is stopping.
constexpr long kVistazoMs = 100;
// How long the end of the program waits for connections still open.
constexpr auto kEsperaFinal = std::chrono::seconds(1);

// True once `s` can be read within `ms`.
bool Legible(SOCKET s, long ms) {
    fd_set lectura;
    FD_ZERO(&lectura);
    FD_SET(s, &lectura);
    timeval espera{ms / 1000, ms % 1000 * 1000};
    return select(0, &lectura, nullptr, nullptr, &espera) == 1;
}

SOCKET Escuchar(int familia, const sockaddr* direccion, int largo, int& error) {
    SOCKET s = socket(familia, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        error = WSAGetLastError();
        return s;
    }
    // No other program may take the same port beside this one and see the
    // requests meant for it.
    const BOOL exclusivo = TRUE;
    setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusivo),
               sizeof exclusivo);
    if (familia == AF_INET6) {
        const DWORD solo6 = 1;
        setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&solo6),
                   sizeof solo6);
    }
    if (bind(s, direccion, largo) == SOCKET_ERROR || listen(s, SOMAXCONN) == SOCKET_ERROR) {
        error = WSAGetLastError();
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

}  // namespace

struct Win32EscuchaWeb::Estado : std::enable_shared_from_this<Estado> {
    Responder responder;
    std::vector<SOCKET> escuchas;
    std::atomic<bool> parar = false;
    std::mutex mutex;
    std::condition_variable cambio;
    int conexiones = 0;
    std::thread hilo;

    void Aceptar();
    void Atender(SOCKET s);
};

// Reads one request within the limits, answers it and closes.
void Win32EscuchaWeb::Estado::Atender(SOCKET s) {
    LectorPeticion lector;
    const ULONGLONG limite = GetTickCount64() + kLimitePeticionWebMs;
    char bytes[2048];
    while (lector.Actual() == LectorPeticion::Estado::Faltan && !parar) {
        const ULONGLONG ahora = GetTickCount64();
        if (ahora >= limite) break;
        if (!Legible(s, static_cast<long>(std::min<ULONGLONG>(limite - ahora, kVistazoMs))))
            continue;
        const int n = recv(s, bytes, sizeof bytes, 0);
        if (n <= 0) break;
        lector.Anadir(std::string_view(bytes, static_cast<std::size_t>(n)));
    }
    // A request not whole in time, or cut short, gets no answer.
    if (lector.Actual() != LectorPeticion::Estado::Faltan) {
        std::string respuesta;
        try {
            respuesta = responder(lector);
        } catch (...) {
            respuesta.clear();
        }
        const DWORD limiteEnvio = kLimitePeticionWebMs;
        setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&limiteEnvio),
                   sizeof limiteEnvio);
        std::string_view resto = respuesta;
        while (!resto.empty()) {
            const int enviados = send(s, resto.data(), static_cast<int>(resto.size()), 0);
            if (enviados <= 0) break;
            resto.remove_prefix(static_cast<std::size_t>(enviados));
        }
        // Closing with unread bytes would reset the connection and could
        // lose the answer (a refused body is never read): what the client
        // still sends is read and dropped for a moment.
        shutdown(s, SD_SEND);
        const ULONGLONG fin = GetTickCount64() + 1000;
        for (ULONGLONG ahora; (ahora = GetTickCount64()) < fin;) {
            if (!Legible(s, static_cast<long>(fin - ahora))) break;
            if (recv(s, bytes, sizeof bytes, 0) <= 0) break;
        }
    }
    closesocket(s);
}

void Win32EscuchaWeb::Estado::Aceptar() {
    while (!parar) {
        fd_set lectura;
        FD_ZERO(&lectura);
        for (const SOCKET e : escuchas) FD_SET(e, &lectura);
        timeval espera{0, kVistazoMs * 1000};
        if (select(0, &lectura, nullptr, nullptr, &espera) <= 0) continue;
        for (const SOCKET e : escuchas) {
            if (!FD_ISSET(e, &lectura)) continue;
            const SOCKET s = accept(e, nullptr, nullptr);
            if (s == INVALID_SOCKET) continue;
            {
                std::lock_guard bloqueo(mutex);
                // Beyond the limit a connection is closed unanswered: a page
                // that opens many cannot make the program hold them all.
                if (conexiones >= kMaxConexionesWeb) {
                    closesocket(s);
                    continue;
                }
                ++conexiones;
            }
            // The thread keeps the state alive: a connection left running at
            // the end of the program never reaches freed memory.
            auto yo = shared_from_this();
            try {
                std::thread([yo, s] {
                    yo->Atender(s);
                    std::lock_guard bloqueo(yo->mutex);
                    --yo->conexiones;
                    yo->cambio.notify_all();
                }).detach();
            } catch (...) {
                closesocket(s);
                std::lock_guard bloqueo(mutex);
                --conexiones;
            }
        }
    }
}

Win32EscuchaWeb::Win32EscuchaWeb(std::uint16_t puerto, Responder responder)
    : estado_(std::make_shared<Estado>()) {
    estado_->responder = std::move(responder);
    IniciarWinsock();
    int error = 0;
    sockaddr_in v4{};
    v4.sin_family = AF_INET;
    v4.sin_port = htons(puerto);
    v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sockaddr_in6 v6{};
    v6.sin6_family = AF_INET6;
    v6.sin6_port = htons(puerto);
    v6.sin6_addr = in6addr_loopback;
    const SOCKET s4 = Escuchar(AF_INET, reinterpret_cast<const sockaddr*>(&v4), sizeof v4, error);
    if (s4 == INVALID_SOCKET) {
        throw FalloWinsock(error);
    }
    estado_->escuchas.push_back(s4);
    const SOCKET s6 = Escuchar(AF_INET6, reinterpret_cast<const sockaddr*>(&v6), sizeof v6, error);
    if (s6 != INVALID_SOCKET) {
        estado_->escuchas.push_back(s6);
    } else if (error != WSAEAFNOSUPPORT && error != WSAEADDRNOTAVAIL &&
               error != WSAEPROTONOSUPPORT) {
        // Taken on [::1] is taken: a page that calls localhost could reach
        // the other program there.
        closesocket(s4);
        throw FalloWinsock(error);
    }
    estado_->hilo = std::thread([e = estado_] { e->Aceptar(); });
}

Win32EscuchaWeb::~Win32EscuchaWeb() {
    estado_->parar = true;
    if (estado_->hilo.joinable()) estado_->hilo.join();
    for (const SOCKET e : estado_->escuchas) closesocket(e);
    std::unique_lock bloqueo(estado_->mutex);
    // A connection inside a kick waits for the window, which is gone by now:
    // it is not waited for beyond a moment.
    estado_->cambio.wait_for(bloqueo, kEsperaFinal, [&] { return estado_->conexiones == 0; });
}
