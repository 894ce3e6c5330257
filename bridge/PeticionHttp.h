#pragma once
// One HTTP/1.1 request as the browser bridge reads it from a connection: the
// bytes come in pieces, from anyone on this computer, so every limit is
// checked before anything is kept. Only what the bridge needs is understood;
// anything unusual is refused rather than guessed at.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The request line and the headers, in all.
inline constexpr std::size_t kMaxCabecerasHttp = 8 * 1024;
inline constexpr std::size_t kMaxCuerpoHttp = 1024;

struct PeticionHttp {
    std::string metodo;
    std::string ruta;
    // Names in lower case, values without surrounding blanks, in order.
    std::vector<std::pair<std::string, std::string>> cabeceras;
    std::string cuerpo;

    // The value of a header (its name in lower case), if sent.
    std::optional<std::string_view> Cabecera(std::string_view nombre) const;
};

class LectorPeticion {
  public:
    enum class Estado { Faltan, Completa, Error };

    // Adds the bytes that arrived; after Completa or Error more bytes change
    // nothing (the connection is answered and closed).
    Estado Anadir(std::string_view bytes);
    Estado Actual() const { return estado_; }
    // After Error: the status to answer (400, 413, 431, 501).
    int CodigoError() const { return codigoError_; }
    // After Completa.
    const PeticionHttp& Peticion() const { return peticion_; }
    // The Origin header among the lines read whole, sent once: also after an
    // Error, so that a listed page can read why its request was refused.
    std::optional<std::string> Origen() const;
    // True when bytes came beyond the request (or beyond what an Error let
    // be read): closing at once would reset the connection and could lose
    // the answer.
    bool Sobran() const { return sobran_; }

  private:
    Estado Fallar(int codigo);
    Estado LeerCabeceras(std::string_view texto);

    Estado estado_ = Estado::Faltan;
    int codigoError_ = 0;
    std::string cabeceras_;  // until the blank line
    bool cabecerasLeidas_ = false;
    bool sobran_ = false;
    std::size_t largoCuerpo_ = 0;
    PeticionHttp peticion_;
};

// Lower case of the ASCII letters; other bytes as they are.
std::string Minusculas(std::string_view texto);
