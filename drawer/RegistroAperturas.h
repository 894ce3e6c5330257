#pragma once
// The record of every drawer kick: one line per kick appended to
// APERTURAS.CSV, in the folder of the parameter file (in the machine's copy,
// in each user's own folder), for cash control and for support. Semicolon-separated, CR LF, the
// system's 8-bit code page: a double click opens it in a Spanish Excel.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "drawer/EnviarApertura.h"
#include "drawer/EventosApertura.h"
#include "platform/AlmacenPoliticas.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/PrivateProfile.h"
#include "platform/RegistroEventos.h"
#include "platform/Session.h"
#include "platform/TextFiles.h"
#include "settings/Parametros.h"

// Who asked for a kick: the key or the button (the record names them after
// the key that opens the drawer: "Tecla F9", "Botón F9"), another program's
// AbrirCajon.exe /abrir, or a web page through the browser bridge (for Web,
// the text that stands for the key is the page's origin and motive).
// The drawer's sensor writes a line of its own after a kick (Sensor), and
// the sensor's check kicks once (ComprobarSensor), and the drawer assistant
// once for each command it tries (Asistente).
enum class OrigenApertura { Tecla, Boton, OrdenAbrir, Sensor, ComprobarSensor, Web, Asistente };

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
// holds the separator, a quote or a line break; as it is otherwise. A field
// that a spreadsheet would take for a formula (it begins with =, +, -, @, a
// tab or a carriage return) is quoted with an apostrophe before it.
std::string CampoCsv(std::string_view campo);

// The fields of one line, in the order of the header.
std::array<std::string, kCamposEvento> CamposApertura(const MomentoLocal& momento,
                                                      std::string_view usuario,
                                                      OrigenApertura origen, std::string_view tecla,
                                                      const ResultadoApertura& resultado,
                                                      std::uint64_t perdidas);

// One line of the record, CR LF included. `perdidas` is the number of lines
// that could not be written before this one; 0 leaves the field empty.
// `tecla` is the name of the key that opens the drawer ("F12").
std::string LineaApertura(const MomentoLocal& momento, std::string_view usuario,
                          OrigenApertura origen, std::string_view tecla,
                          const ResultadoApertura& resultado, std::uint64_t perdidas);

// What the kick's thread hands over: all of the line that the kick knows.
struct AperturaPendiente {
    std::string rutaParametros;
    MomentoLocal momento;
    OrigenApertura origen;
    std::string tecla;
    ResultadoApertura resultado;
    // A web page whose origin is not listed: no kick, so no line in the
    // file; only its event. 0: this origin; N: N more, this the latest.
    std::optional<std::uint64_t> rechazados;
    // A start event (EventosInicio.h): its own strings, and no line.
    std::optional<ClaseEvento> evento;
    std::vector<std::string> textos;
};

// The "Resultado" of a refused web origin's event.
inline constexpr std::string_view kResultadoOrigenRechazado =
    "Origen no permitido: no está en KovraWebOrigenes";

// Lines wait here for the writer; beyond this many (a folder that does not
// answer) further kicks count as lost lines rather than fill the memory.
inline constexpr std::size_t kMaxPendientes = 10000;

// The kick's thread only hands its line over: the file, the switch and the
// user name are dealt with on the writer's thread (Atender), so no kick waits
// for a file, a slow network folder or a spreadsheet that holds the file. The
// same thread reports each line to the system's event log, when there is one.
class RegistroAperturas {
  public:
    // `perfil` (and `politicas`) give KovraRegistro and KovraEventos; reading
    // them shows no box.
    RegistroAperturas(Clock& reloj, Session& sesion, TextFiles& archivos, PrivateProfile& perfil,
                      AlmacenPoliticas* politicas = nullptr, RegistroEventos* eventos = nullptr)
        : reloj_(reloj),
          sesion_(sesion),
          archivos_(archivos),
          eventos_(eventos),
          parametros_(perfil, sinCajas_, politicas) {}

    // On the kick's thread: takes the moment and hands the line over.
    void Anotar(const std::string& rutaParametros, OrigenApertura origen, std::string_view tecla,
                const ResultadoApertura& resultado) noexcept;
    // On the bridge's thread: a web page whose origin is not listed tried to
    // open the drawer, or `mas` requests of such pages since the last such
    // event, `origen` the latest (its Perdidas field gives the number). Only
    // its event is written.
    void AnotarOrigenRechazado(const std::string& rutaParametros, std::string_view origen,
                               std::uint64_t mas = 0) noexcept;
    // On any thread: an event of its own (the start's), with its strings,
    // reported by the writer's thread as the lines' are; no line.
    void AnotarEvento(const std::string& rutaParametros, ClaseEvento clase,
                      std::vector<std::string> textos) noexcept;

    // On the writer's thread: writes every line handed over so far, unless
    // KovraRegistro turns the record off (read for each line, like every
    // parameter), and reports it to the event log unless KovraEventos does.
    // A line that cannot be written shows nothing and is counted; the next
    // line written says how many were lost. The first of such a run is also
    // an event (kRegistroSinEscribir), once until a line is written again.
    // An event the log refuses is dropped. Never writes the parameter file.
    void EscribirPendientes() noexcept;

    // The writer's thread: writes lines as they come until `parar` is
    // requested, then what is still pending, and returns.
    void Atender(std::stop_token parar);

    // The copy installed for every user of the machine: each user's lines go
    // to a file in `carpetaUsuario` (their own folder), which no other user
    // can rewrite, and only the administrator's settings turn the record or
    // the events off. Before the writer starts.
    // Without that folder the lines are lost and told, never written to the
    // shared folder.
    void FijarInstalacionDelEquipo(PermisosArchivo* permisos, std::string carpetaUsuario) {
        parametros_.FijarInstalacionDelEquipo(permisos);
        carpetaUsuario_ = std::move(carpetaUsuario);
        delEquipo_ = true;
    }

    // Lines lost since the last one written.
    std::uint64_t Perdidas() const { return perdidas_; }

  private:
    struct SinCajas : Dialogs {
        void Report(const std::string&) override {}
        void Stop(const std::string&) override {}
        void Information(const std::string&) override {}
        bool AskYesNo(const std::string&) override { return false; }
        std::string InputBox(const std::string&, const std::string&, const std::string&) override {
            return {};
        }
    };

    void Poner(AperturaPendiente apertura) noexcept;
    void Escribir(const AperturaPendiente& apertura);
    void Informar(ClaseEvento clase, std::vector<std::string> textos) noexcept;
    void Anadir(const std::string& ruta, const std::string& linea);

    Clock& reloj_;
    Session& sesion_;
    TextFiles& archivos_;
    RegistroEventos* eventos_;
    SinCajas sinCajas_;
    Parametros parametros_;  // the writer's own: its path is each line's
    std::string carpetaUsuario_;
    bool delEquipo_ = false;
    std::mutex mutex_;
    std::condition_variable_any hayPendientes_;
    std::deque<AperturaPendiente> pendientes_;
    std::atomic<std::uint64_t> perdidas_ = 0;
    bool sinEscribir_ = false;  // the writer's: the last line was not written
};

// The writer's thread of a record, from its construction on.
class EscritorAperturas {
  public:
    explicit EscritorAperturas(RegistroAperturas& registro);
    // Ends the thread as Terminar does, waiting as long as it takes; a thread
    // that Terminar gave up on is left to the end of the process.
    ~EscritorAperturas();
    EscritorAperturas(const EscritorAperturas&) = delete;
    EscritorAperturas& operator=(const EscritorAperturas&) = delete;

    // Asks the writer to write what is pending (one try for each line) and
    // end, and waits for it at most `limite`. False when it is still writing
    // then (a network folder that does not answer): the caller ends the
    // process without it, so that no record keeps an ending program (and
    // its single-copy lock) alive.
    bool Terminar(std::chrono::milliseconds limite);

  private:
    std::stop_source parar_;
    std::mutex mutex_;
    std::condition_variable terminado_;
    bool acabado_ = false;
    bool abandonado_ = false;
    std::thread hilo_;  // last: it starts once the rest is made
};
