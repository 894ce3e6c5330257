#include "platform/win32/Win32ConsultaEstado.h"

#include <string>

#include "platform/win32/Conexiones.h"
#include "platform/win32/Win32Serie.h"

namespace {

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

// Milliseconds left until `fin`, at least 1 while any is left.
long Quedan(ULONGLONG fin) {
    const ULONGLONG ahora = GetTickCount64();
    return ahora >= fin ? 0 : static_cast<long>(fin - ahora);
}

// Waits until `s` can write (connected) or read, within `ms`.
bool Listo(SOCKET s, bool escribir, long ms) {
    fd_set listos;
    fd_set fallos;
    FD_ZERO(&listos);
    FD_ZERO(&fallos);
    FD_SET(s, &listos);
    FD_SET(s, &fallos);
    timeval espera{ms / 1000, (ms % 1000) * 1000};
    const int n = escribir ? select(0, nullptr, &listos, &fallos, &espera)
                           : select(0, &listos, nullptr, &fallos, &espera);
    return n > 0 && FD_ISSET(s, &listos);
}

std::optional<std::uint8_t> PreguntarEn(SOCKET s, std::string_view pregunta, ULONGLONG fin) {
    for (std::size_t enviados = 0; enviados < pregunta.size();) {
        if (!Listo(s, true, Quedan(fin))) return std::nullopt;
        const int n =
            send(s, pregunta.data() + enviados, static_cast<int>(pregunta.size() - enviados), 0);
        if (n == SOCKET_ERROR) return std::nullopt;
        enviados += static_cast<std::size_t>(n);
    }
    if (!Listo(s, false, Quedan(fin))) return std::nullopt;
    char byte = 0;
    if (recv(s, &byte, 1, 0) != 1) return std::nullopt;
    return static_cast<std::uint8_t>(byte);
}

std::optional<std::uint8_t> PorPuertoSerie(const DestinoEstado& destino, std::string_view pregunta,
                                           std::chrono::milliseconds espera) {
    const auto ms = static_cast<DWORD>(espera.count());
    Puerto puerto(AbrirSerie(destino.dispositivo, destino.ajustes, ms, ms));
    // Only the answer to this question counts.
    PurgeComm(puerto.get(), PURGE_RXCLEAR);
    DWORD hechos = 0;
    if (!WriteFile(puerto.get(), pregunta.data(), static_cast<DWORD>(pregunta.size()), &hechos,
                   nullptr) ||
        hechos != pregunta.size()) {
        return std::nullopt;
    }
    char byte = 0;
    if (!ReadFile(puerto.get(), &byte, 1, &hechos, nullptr) || hechos != 1) return std::nullopt;
    return static_cast<std::uint8_t>(byte);
}

}  // namespace

std::optional<std::uint8_t> Win32ConsultaEstado::Preguntar(
    const DestinoEstado& destino, std::string_view pregunta,
    std::chrono::milliseconds espera) noexcept {
    try {
        return destino.red ? PorRed(destino, pregunta, espera)
                           : PorPuertoSerie(destino, pregunta, espera);
    } catch (...) {
        // A port that cannot be opened, or in use by the sales program, answers nothing.
        return std::nullopt;
    }
}

std::optional<std::uint8_t> Win32ConsultaEstado::PorRed(const DestinoEstado& destino,
                                                        std::string_view pregunta,
                                                        std::chrono::milliseconds espera) {
    const ULONGLONG fin = GetTickCount64() + static_cast<ULONGLONG>(espera.count());
    const Socket s = ConectarAntesDe(destino.host, destino.puerto, fin);
    return PreguntarEn(s.get(), pregunta, fin);
}
