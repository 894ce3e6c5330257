#pragma once
// The record of every drawer kick: one line per kick appended to
// APERTURAS.CSV, in the folder of the parameter file, for cash control and
// for support. Semicolon-separated, CR LF, the system's 8-bit code page: a
// double click opens it in a Spanish Excel.

#include <cstdint>
#include <string>
#include <string_view>

#include "drawer/EnviarApertura.h"
#include "platform/Clock.h"
#include "platform/Session.h"
#include "platform/TextFiles.h"
#include "settings/Parametros.h"

enum class OrigenApertura { TeclaF12, BotonF12 };

inline constexpr std::string_view kCabeceraAperturas =
    "Fecha;Hora;Usuario;Origen;Vía;Destino;Resultado;Perdidas";
inline constexpr std::string_view kNombreAperturas = "APERTURAS.CSV";
inline constexpr std::string_view kNombreAperturasAnterior = "APERTURAS-ANTERIOR.CSV";
// A file that has reached this size is set aside before the next line.
inline constexpr std::uint64_t kLimiteAperturas = 1024 * 1024;
// KovraRegistro with this value turns the record off; missing or any other
// value leaves it on.
inline constexpr std::string_view kRegistroApagado = "0";

// The file beside the parameter file at `rutaParametros`, by its name.
std::string RutaJuntoAParametros(std::string_view rutaParametros, std::string_view nombre);

// A field as CSV writes it: in double quotes, with its quotes doubled, when it
// holds the separator, a quote or a line break; as it is otherwise.
std::string CampoCsv(std::string_view campo);

// One line of the record, CR LF included. `perdidas` is the number of lines
// that could not be written before this one; 0 leaves the field empty.
std::string LineaApertura(const MomentoLocal& momento, std::string_view usuario,
                          OrigenApertura origen, const ResultadoApertura& resultado,
                          std::uint64_t perdidas);

class RegistroAperturas {
  public:
    RegistroAperturas(Clock& reloj, Session& sesion, TextFiles& archivos)
        : reloj_(reloj), sesion_(sesion), archivos_(archivos) {}

    // Appends the kick's line, unless KovraRegistro turns the record off (read
    // now, like every parameter). Never in the kick's way: a line that cannot
    // be written shows nothing and is counted, and the next line written says
    // how many were lost. Never writes the parameter file.
    void Anotar(Parametros& parametros, OrigenApertura origen,
                const ResultadoApertura& resultado) noexcept;

    // Lines lost since the last one written.
    std::uint64_t Perdidas() const { return perdidas_; }

  private:
    void Escribir(const std::string& ruta, const std::string& linea);

    Clock& reloj_;
    Session& sesion_;
    TextFiles& archivos_;
    std::uint64_t perdidas_ = 0;
};
