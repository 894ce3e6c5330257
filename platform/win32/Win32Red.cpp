#include "platform/win32/Win32Red.h"
#include "platform/EscribirEnPiezas.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/win32/Conexiones.h"

namespace {

// The name's lookup, the connection over every address of the name, the
// sends and the close, all within this time: the kick holds the window
// meanwhile.
constexpr ULONGLONG kLimiteMs = 3000;
// How long, at most, the close waits for the printer to close its side: a
// printer that keeps it open has the bytes all the same, and the cashier
// should not wait for it.
constexpr ULONGLONG kEsperaCierreMs = 1000;

// Sets `opcion` (SO_SNDTIMEO or SO_RCVTIMEO) to the time left until
// `limite`; false when none is left.
bool LimitarA(SOCKET s, int opcion, ULONGLONG limite) {
    const ULONGLONG ahora = GetTickCount64();
    if (ahora >= limite) return false;
    const DWORD quedan = static_cast<DWORD>(limite - ahora);
    setsockopt(s, SOL_SOCKET, opcion, reinterpret_cast<const char*>(&quedan), sizeof quedan);
    return true;
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
        EscribirEnPiezas(bytes, [&](std::string_view pieza) {
            if (!LimitarA(socket_.get(), SO_SNDTIMEO, limite_)) throw FalloWinsock(WSAETIMEDOUT);
            const int enviados =
                send(socket_.get(), pieza.data(), static_cast<int>(pieza.size()), 0);
            if (enviados == SOCKET_ERROR) throw FalloWinsock(WSAGetLastError());
            if (enviados == 0) throw FalloWinsock(WSAECONNRESET);
            return static_cast<std::size_t>(enviados);
        });
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

std::unique_ptr<OutputPort> Win32NetworkOpener::Connect(const std::string& host,
                                                        std::uint16_t port) {
    const ULONGLONG limite = GetTickCount64() + kLimiteMs;
    return std::make_unique<Conexion>(ConectarAntesDe(host, port, limite), limite);
}
