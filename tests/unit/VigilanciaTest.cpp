#include <gtest/gtest.h>

#include "bridge/PuenteWeb.h"
#include "drawer/Vigilancia.h"
#include "tests/support/FakeSensor.h"

namespace {

using std::chrono::milliseconds;
using Tramos = ImpresoraGuion::Tramos;

// A till's timeline, in ms from the first kick: the drawer and the printer
// by ImpresoraGuion, further kicks, the program's end.
struct Guion {
    Tramos abierto = {}, ocupada = {}, muda = {};
    std::vector<int> patadas = {};
    std::optional<int> salir = std::nullopt;
    int aviso = 0;
};

struct Corrida {
    std::vector<std::string> lineas;  // "text|kind"
    int fin = 0;                      // ms of the question that ended the watch
    std::vector<std::string> avisos;
    std::vector<int> preguntas;
    std::vector<EstadoCajon> estados;  // after each question
};

const Instante t0{};

// The watcher's loop on a fake clock: each question at the time the watch
// asks for it; a kick or the end that comes first is dealt with first.
Corrida Correr(const Guion& g) {
    ImpresoraGuion impresora;
    impresora.abierto = g.abierto;
    impresora.ocupada = g.ocupada;
    impresora.muda = g.muda;
    AvisosAnotados avisos;
    Corrida c;
    Vigilancia v(avisos, [&](const ResultadoApertura& r) {
        c.lineas.push_back(r.sensor + "|" + std::to_string(static_cast<int>(r.finSensor)));
    });
    const ResultadoApertura apertura{ViaApertura::Red, "127.0.0.1:9100", std::nullopt};
    const DestinoEstado destino{true, "127.0.0.1", 9100, "", ""};
    v.Patada(apertura, destino, g.aviso, t0);
    std::size_t siguiente = 0;
    while (v.Activa() && impresora.ahora < 3600 * 1000) {
        const int ms = static_cast<int>((v.Proxima() - t0) / milliseconds(1));
        if (siguiente < g.patadas.size() && g.patadas[siguiente] <= ms) {
            v.Patada(apertura, destino, g.aviso, t0 + milliseconds(g.patadas[siguiente++]));
            continue;
        }
        if (g.salir && *g.salir <= ms) {
            v.Terminar(t0 + milliseconds(*g.salir));
            break;
        }
        impresora.ahora = c.fin = ms;
        v.Leida(LeerCajon(PreguntarEstado(impresora, destino), ModoSensor::PinAlto),
                t0 + milliseconds(ms));
        c.estados.push_back(v.Estado(t0 + milliseconds(ms)));
    }
    c.avisos = avisos.avisos;
    c.preguntas = impresora.preguntas;
    return c;
}

std::string Linea(const std::string& texto, FinSensor fin) {
    return texto + "|" + std::to_string(static_cast<int>(fin));
}

TEST(Vigilancia, EachWatchEndsWithOneLineThatTellsWhatTheDrawerDid) {
    const std::tuple<const char*, Guion, std::string, int> casos[] = {
        {"busy for 2 s while open: unknown, never closed",
         {{{200, 6000}}, {{1000, 3000}}},
         Linea("Cerrado tras 6 s", FinSensor::Cerrado),
         6800},
        {"no answer for 2 s while open",
         {{{200, 6000}}, {}, {{1000, 3000}}},
         Linea("Cerrado tras 6 s", FinSensor::Cerrado),
         6800},
        {"a drawer that opens 1 s late is still watched",
         {{{1000, 4000}}},
         Linea("Cerrado tras 4 s", FinSensor::Cerrado),
         4800},
        {"a late drawer behind a receipt: busy past the 3 s, then open",
         {{{2000, 6000}}, {{500, 4000}}},
         Linea("Cerrado tras 6 s", FinSensor::Cerrado),
         7300},
        {"a drawer that never opens",
         {},
         Linea("No se vio abrirse", FinSensor::NoSeVioAbrirse),
         3300},
        {"a second kick while open: one line timed from the first",
         {{{200, 8000}}, {}, {}, {2500}},
         Linea("Cerrado tras 8 s", FinSensor::Cerrado),
         8800},
        {"kicked again as it did not open: the 3 s run from the second kick",
         {{{4500, 7000}}, {}, {}, {2800}},
         Linea("Cerrado tras 7 s", FinSensor::Cerrado),
         7800},
        {"a bounce of one closed reading is no close",
         {{{200, 4200}, {4400, 9000}}},
         Linea("Cerrado tras 9 s", FinSensor::Cerrado),
         9800},
        {"closed within 3 s of the kick: decided after them, timed from the first reading",
         {{{200, 1000}}},
         Linea("Cerrado tras 1 s", FinSensor::Cerrado),
         3300},
        {"silent from 2 s on while open: the icon stays until 60 s without an answer",
         {{{200, 100000}}, {}, {{2000, 100000}}},
         Linea("Sin respuesta del sensor tras 1 s abierto", FinSensor::SinRespuesta),
         62300},
        {"a printer that never answers",
         {{}, {}, {{0, 100000}}},
         Linea("Sin respuesta del sensor", FinSensor::SinRespuesta),
         60300},
        {"a switch that never reads closed: 10 min, then the warnings stop",
         {{{0, 10000000}}},
         Linea("Sin cambio en 10 min: compruebe el sensor", FinSensor::SinCambio),
         600300},
        {"the program ends while it is open",
         {{{200, 100000}}, {}, {}, {}, 5600},
         Linea("Abierto al salir tras 5 s", FinSensor::AbiertoAlSalir),
         5300},
    };
    for (const auto& [que, guion, linea, fin] : casos) {
        const Corrida c = Correr(guion);
        EXPECT_EQ(c.lineas, std::vector<std::string>{linea}) << que;
        EXPECT_EQ(c.fin, fin) << que;
        EXPECT_EQ(c.avisos.back(), linea.starts_with("No se vio") ? "no abierto" : "cerrado")
            << que;
    }
}

TEST(Vigilancia, QuestionsLeaveRoomForTheSalesProgram) {
    // Every 500 ms for 5 s, then every second; a busy printer is asked
    // twice as late, up to 2 s; the close is read twice, 500 ms apart.
    const Corrida c = Correr({{{0, 8000}}, {{1200, 2500}}});
    EXPECT_EQ(c.preguntas,
              (std::vector<int>{300, 800, 1300, 2300, 4300, 4800, 5300, 6300, 7300, 8300, 8800}));
    EXPECT_EQ(c.lineas, std::vector<std::string>{Linea("Cerrado tras 8 s", FinSensor::Cerrado)});
}

TEST(Vigilancia, WarningsAndTheIconFollowTheOpeningAcrossASecondKick) {
    const Corrida c = Correr({{{200, 10000}}, {{3500, 5000}}, {}, {4000}, std::nullopt, 3});
    EXPECT_EQ(c.avisos,
              (std::vector<std::string>{"abierto", "aviso 3", "aviso 6", "aviso 9", "cerrado"}));
}

TEST(Vigilancia, TheTillsProgramSeesTheDrawerAsTheWatchKnowsIt) {
    const Corrida c = Correr({{{200, 2000}}});
    // 300 open ... 2300 closed, 2800 closed (within the 3 s: not yet), 3300 closed: ended.
    ASSERT_EQ(c.estados.size(), 7u);
    EXPECT_EQ(MiembrosCajon(c.estados[0]), ",\"cajon\":\"abierto\",\"desde\":0");
    EXPECT_EQ(MiembrosCajon(c.estados[4]), ",\"cajon\":\"abierto\",\"desde\":2");
    EXPECT_TRUE(c.estados[4].vigilando);
    EXPECT_EQ(MiembrosCajon(c.estados[6]), ",\"cajon\":\"cerrado\"");
    EXPECT_EQ(c.estados[6].ultimoFin, FinSensor::Cerrado);
    // Open from 1 s: seen so at 1300, asked at 3300.
    EXPECT_EQ(MiembrosCajon(Correr({{{1000, 4000}}}).estados[6]),
              ",\"cajon\":\"abierto\",\"desde\":2");
    EXPECT_EQ(MiembrosCajon(Correr({{}, {}, {{0, 100000}}}).estados.back()),
              ",\"cajon\":\"desconocido\"");
}

TEST(Vigilancia, AWatchTheCheckStopsEndsInNoKnownWay) {
    AvisosAnotados avisos;
    Vigilancia v(avisos, [](const ResultadoApertura&) {});
    const DestinoEstado destino{true, "127.0.0.1", 9100, "", ""};
    v.Patada({}, destino, 0, t0);
    v.Leida(LecturaCajon::Abierto, t0 + milliseconds(300));
    v.Leida(LecturaCajon::Cerrado, t0 + milliseconds(3000));
    v.Leida(LecturaCajon::Cerrado, t0 + milliseconds(3500));
    ASSERT_EQ(v.Estado(t0).ultimoFin, FinSensor::Cerrado);
    v.Patada({}, destino, 0, t0 + milliseconds(5000));
    v.Detener();
    // /abrir /esperar, waiting on the second opening, must not read the first's close.
    EXPECT_EQ(v.Estado(t0).ultimoFin, FinSensor::Ninguno);
    EXPECT_EQ(v.Estado(t0).cajon, EstadoCajon::Cajon::Desconocido);
    EXPECT_EQ(avisos.avisos.back(), "cerrado");
}

}  // namespace
