#include "platform/win32/Win32ConsultaEstado.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/win32/Conexiones.h"
#include "platform/win32/Win32Serie.h"

namespace {

// What is left of the answer's time after it came, to read away what
// follows it, or the printer's end of the connection.
constexpr long kRestoMs = 50;
// An answer is a few bytes; a device that keeps sending is not read further.
constexpr std::size_t kMaxBytes = 256;

class Puerto {
  public:
    explicit Puerto(HANDLE h) : h_(h) {}
    ~Puerto() { CloseHandle(h_); }
    Puerto(const Puerto&) = delete;
    Puerto& operator=(const Puerto&) = delete;
    HANDLE get() const { return h_; }

  private:
    HANDLE h_;
};

// Milliseconds left until `fin`.
long Quedan(ULONGLONG fin) {
    const ULONGLONG ahora = GetTickCount64();
    return ahora >= fin ? 0 : static_cast<long>(fin - ahora);
}

// The socket's reads and its end wake this event; a wait on it keeps its
// time-out. Under Wine a select() after shutdown(SD_SEND) now and then never
// returned, time-out and all, and held the watcher for good.
class EventoRed {
  public:
    explicit EventoRed(SOCKET s) : s_(s), e_(WSACreateEvent()) {
        // It also makes the socket non-blocking: no recv waits.
        if (e_ == WSA_INVALID_EVENT || WSAEventSelect(s, e_, FD_READ | FD_CLOSE) != 0) {
            throw FalloWinsock(WSAGetLastError());
        }
    }
    ~EventoRed() { WSACloseEvent(e_); }
    EventoRed(const EventoRed&) = delete;
    EventoRed& operator=(const EventoRed&) = delete;
    // False when `ms` passed without news.
    bool Esperar(long ms) {
        if (WaitForSingleObject(e_, static_cast<DWORD>(ms)) != WAIT_OBJECT_0) return false;
        WSANETWORKEVENTS sucesos{};
        WSAEnumNetworkEvents(s_, e_, &sucesos);  // and the event is reset
        return true;
    }

  private:
    SOCKET s_;
    WSAEVENT e_;
};

// What the printer sends until `fin`, until it ends the connection or
// `completa` is satisfied.
void Recibir(SOCKET s, EventoRed& evento, std::string& bytes, ULONGLONG fin,
             const std::function<bool(std::string_view)>* completa) {
    char trozo[64];
    while (bytes.size() < kMaxBytes) {
        const int n = recv(s, trozo, sizeof trozo, 0);
        if (n == 0) return;
        if (n > 0) {
            bytes.append(trozo, static_cast<std::size_t>(n));
            if (completa != nullptr && (*completa)(bytes)) return;
            continue;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK) return;
        const long ms = Quedan(fin);
        if (ms == 0 || !evento.Esperar(ms)) return;
    }
}

Contestacion PorRed(const DestinoEstado& destino, std::string_view pregunta,
                    std::chrono::milliseconds espera,
                    const std::function<bool(std::string_view)>& completa) {
    const ULONGLONG fin = GetTickCount64() + static_cast<ULONGLONG>(espera.count());
    Contestacion c;
    std::optional<Socket> s;
    try {
        s.emplace(ConectarAntesDe(destino.host, destino.puerto, fin));
    } catch (const Fallo& fallo) {
        // A printer that serves one connection at a time refuses or leaves
        // waiting the next while it prints; a name that does not resolve is
        // no busy printer.
        c.ocupado = fallo.numero == WSAECONNREFUSED || fallo.numero == WSAETIMEDOUT ||
                    fallo.numero == WSAECONNRESET;
        return c;
    }
    EventoRed evento(s->get());
    // Three bytes on a connection just made: the socket's buffer takes them.
    if (send(s->get(), pregunta.data(), static_cast<int>(pregunta.size()), 0) !=
        static_cast<int>(pregunta.size())) {
        c.ocupado = true;
        return c;
    }
    Recibir(s->get(), evento, c.bytes, fin, &completa);
    c.ocupado = c.bytes.empty();
    // Unread bytes at the close would reset the printer's connection: the
    // printer hears the end, and what it still sends is read away.
    shutdown(s->get(), SD_SEND);
    Recibir(s->get(), evento, c.bytes, GetTickCount64() + std::min(Quedan(fin), kRestoMs), nullptr);
    return c;
}

// One opening of a serial port (with its settings) that a question can stop
// waiting for: a Bluetooth or USB adapter's port may take seconds to open.
// The opening thread closes what it opened if nobody waits for it any longer.
struct Apertura {
    std::mutex mutex;
    std::condition_variable hecha;
    bool terminada = false;
    bool abandonada = false;
    HANDLE puerto = INVALID_HANDLE_VALUE;
    DWORD error = ERROR_SUCCESS;
};
// Openings still under way: while one is, the port is counted busy and no
// second thread is started for it.
std::atomic<int> aperturasPendientes{0};

HANDLE AbrirAntesDe(const DestinoEstado& destino, ULONGLONG fin, DWORD& error) {
    if (aperturasPendientes.load() > 0) {
        error = ERROR_BUSY;
        return INVALID_HANDLE_VALUE;
    }
    auto apertura = std::make_shared<Apertura>();
    ++aperturasPendientes;
    try {
        std::thread([apertura, dispositivo = destino.dispositivo, ajustes = destino.ajustes] {
            HANDLE h = INVALID_HANDLE_VALUE;
            DWORD e = ERROR_SUCCESS;
            try {
                h = AbrirSerie(dispositivo, ajustes, 0, 0);
            } catch (const Fallo& fallo) {
                e = static_cast<DWORD>(fallo.numero);
            }
            {
                std::lock_guard bloqueo(apertura->mutex);
                apertura->terminada = true;
                if (apertura->abandonada) {
                    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
                } else {
                    apertura->puerto = h;
                    apertura->error = e;
                }
                // Only once the port is free again.
                --aperturasPendientes;
            }
            apertura->hecha.notify_all();
        }).detach();
    } catch (...) {
        --aperturasPendientes;
        throw;
    }
    std::unique_lock bloqueo(apertura->mutex);
    if (!apertura->hecha.wait_for(bloqueo, std::chrono::milliseconds(Quedan(fin)),
                                  [&] { return apertura->terminada; })) {
        apertura->abandonada = true;
        error = ERROR_BUSY;
        return INVALID_HANDLE_VALUE;
    }
    error = apertura->error;
    return apertura->puerto;
}

Contestacion PorPuertoSerie(const DestinoEstado& destino, std::string_view pregunta,
                            std::chrono::milliseconds espera,
                            const std::function<bool(std::string_view)>& completa) {
    const ULONGLONG fin = GetTickCount64() + static_cast<ULONGLONG>(espera.count());
    Contestacion c;
    DWORD error = ERROR_SUCCESS;
    const HANDLE h = AbrirAntesDe(destino, fin, error);
    if (h == INVALID_HANDLE_VALUE) {
        // Held by the sales program (Windows opens a port for one handle
        // only), or an opening that is taking too long.
        c.ocupado =
            error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_BUSY;
        return c;
    }
    Puerto puerto(h);
    // Only the answer to this question counts.
    PurgeComm(puerto.get(), PURGE_RXCLEAR);
    DWORD hechos = 0;
    // A time-out of 0 would be none at all.
    const long paraEscribir = Quedan(fin);
    if (paraEscribir == 0 || !LimitarEspera(puerto.get(), static_cast<DWORD>(paraEscribir), 0) ||
        !WriteFile(puerto.get(), pregunta.data(), static_cast<DWORD>(pregunta.size()), &hechos,
                   nullptr) ||
        hechos != pregunta.size()) {
        return c;
    }
    // One byte a read, each within what is left: the total time-out is the
    // one that every serial driver keeps.
    for (char byte = 0; c.bytes.size() < kMaxBytes && !completa(c.bytes);) {
        const long ms = Quedan(fin);
        if (ms == 0 || !LimitarEspera(puerto.get(), 0, static_cast<DWORD>(ms)) ||
            !ReadFile(puerto.get(), &byte, 1, &hechos, nullptr) || hechos != 1) {
            break;
        }
        c.bytes += byte;
    }
    // What follows the answer (a status group sent unasked) is read away.
    COMSTAT cola{};
    DWORD errores = 0;
    char resto[64];
    for (int i = 0; i < 4 && ClearCommError(puerto.get(), &errores, &cola) && cola.cbInQue > 0;
         ++i) {
        if (!LimitarEspera(puerto.get(), 0, static_cast<DWORD>(kRestoMs)) ||
            !ReadFile(puerto.get(), resto, std::min<DWORD>(cola.cbInQue, sizeof resto), &hechos,
                      nullptr)) {
            break;
        }
        c.bytes.append(resto, hechos);
    }
    return c;
}

}  // namespace

Contestacion Win32ConsultaEstado::Preguntar(
    const DestinoEstado& destino, std::string_view pregunta, std::chrono::milliseconds espera,
    const std::function<bool(std::string_view)>& completa) noexcept {
    try {
        return destino.red ? PorRed(destino, pregunta, espera, completa)
                           : PorPuertoSerie(destino, pregunta, espera, completa);
    } catch (...) {
        // No thread for the opening, or no memory: no answer.
        return {};
    }
}

bool Win32ConsultaEstado::AbriendoAun() noexcept {
    return aperturasPendientes.load() > 0;
}
