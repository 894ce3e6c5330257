#pragma once
// One owner for every kind of system handle: a file or device, a thread or
// event, a registry key, a printer, an event source, a socket. Closed once, by
// the destructor, whatever path the code takes; release() hands it over.

// Winsock's headers come before <windows.h>.
#include <winsock2.h>

#include <windows.h>

#include <winspool.h>

#include <utility>

template <class Rasgos>
class Unico {
  public:
    using Tipo = typename Rasgos::Tipo;

    Unico() = default;
    explicit Unico(Tipo h) : h_(h) {}
    Unico(Unico&& otro) noexcept : h_(otro.release()) {}
    Unico& operator=(Unico&& otro) noexcept {
        if (this != &otro) reset(otro.release());
        return *this;
    }
    Unico(const Unico&) = delete;
    Unico& operator=(const Unico&) = delete;
    ~Unico() { reset(); }

    Tipo get() const { return h_; }
    explicit operator bool() const { return h_ != Rasgos::Nulo(); }
    Tipo release() { return std::exchange(h_, Rasgos::Nulo()); }
    void reset(Tipo h = Rasgos::Nulo()) {
        if (h_ != Rasgos::Nulo()) Rasgos::Cerrar(h_);
        h_ = h;
    }

  private:
    Tipo h_ = Rasgos::Nulo();
};

namespace rasgos {
// A thread, event, mutex or process: none is null.
struct Objeto {
    using Tipo = HANDLE;
    static HANDLE Nulo() { return nullptr; }
    static void Cerrar(HANDLE h) { CloseHandle(h); }
};
// A file or device from CreateFile: none is INVALID_HANDLE_VALUE.
struct Archivo {
    using Tipo = HANDLE;
    static HANDLE Nulo() { return INVALID_HANDLE_VALUE; }
    static void Cerrar(HANDLE h) { CloseHandle(h); }
};
struct Clave {
    using Tipo = HKEY;
    static HKEY Nulo() { return nullptr; }
    static void Cerrar(HKEY h) { RegCloseKey(h); }
};
struct Impresora {
    using Tipo = HANDLE;
    static HANDLE Nulo() { return nullptr; }
    static void Cerrar(HANDLE h) { ClosePrinter(h); }
};
struct FuenteEventos {
    using Tipo = HANDLE;
    static HANDLE Nulo() { return nullptr; }
    static void Cerrar(HANDLE h) { DeregisterEventSource(h); }
};
struct Conector {
    using Tipo = SOCKET;
    static SOCKET Nulo() { return INVALID_SOCKET; }
    static void Cerrar(SOCKET s) { closesocket(s); }
};
}  // namespace rasgos

using ObjetoUnico = Unico<rasgos::Objeto>;
using ArchivoUnico = Unico<rasgos::Archivo>;
using ClaveUnica = Unico<rasgos::Clave>;
using ImpresoraUnica = Unico<rasgos::Impresora>;
using FuenteEventosUnica = Unico<rasgos::FuenteEventos>;
using Socket = Unico<rasgos::Conector>;
