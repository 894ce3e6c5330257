#include <gtest/gtest.h>

#include <map>

#include "drawer/AsistenteCajon.h"
#include "tests/support/AperturaDePrueba.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakePoliticas.h"
#include "tests/support/Fakes.h"

namespace {

struct FakeInventario : InventarioImpresion {
    std::vector<ImpresoraInstalada> Impresoras() noexcept override { return impresoras; }
    std::optional<PuertoTcpIp> PuertoEstandar(const std::string& puerto) noexcept override {
        const auto it = tcp.find(puerto);
        return it == tcp.end() ? std::nullopt : std::optional(it->second);
    }
    std::vector<std::string> PuertosLocales() noexcept override { return puertos; }

    std::vector<ImpresoraInstalada> impresoras;
    std::map<std::string, PuertoTcpIp> tcp;
    std::vector<std::string> puertos;
};

// One printer, its port and driver: the route chosen and how it is named.
TEST(CandidatosCajon, EachPrinterGetsItsRouteByItsPort) {
    struct Fila {
        ImpresoraInstalada impresora;
        std::optional<PuertoTcpIp> tcp;
        std::string texto;  // TextoCandidato
        std::string puerto;
        bool recibos;
    };
    const Fila filas[] = {
        {{"Caja", "IP_192.168.1.50", "EPSON TM-T20II Receipt5"},
         PuertoTcpIp{"192.168.1.50", 9100, true},
         "Caja · por la red en 192.168.1.50:9100",
         "192.168.1.50:9100",
         true},
        {{"Barra", "IP_fd00::50", "Star TSP100 Cutter"},
         PuertoTcpIp{"fd00::50", 9101, true},
         "Barra (Star) · por la red en [fd00::50]:9101",
         "[fd00::50]:9101",
         true},
        {{"POS-80 LPR", "IP_10.0.0.9", "Generic / Text Only"},
         PuertoTcpIp{"10.0.0.9", 515, false},
         "POS-80 LPR · por la cola de Windows (IP_10.0.0.9)",
         "POS-80 LPR",
         true},
        {{"POS-58 Recibos", "USB001", "POS-58"},
         std::nullopt,
         "POS-58 Recibos · por la cola de Windows (USB001)",
         "POS-58 Recibos",
         true},
        {{"mC-Print3", "WSD-6f1c", "Star mC-Print3"},
         std::nullopt,
         "mC-Print3 (Star) · por la cola de Windows (WSD-6f1c)",
         "mC-Print3",
         true},
        {{"Oficina", "LPT1:", "HP LaserJet 4"},
         std::nullopt,
         "Oficina · por la cola de Windows (LPT1:)",
         "Oficina",
         false},
        {{"\\\\caja\\Tickets", "\\\\caja\\Tickets", "Generic / Text Only"},
         std::nullopt,
         "\\\\caja\\Tickets · por la cola de Windows (\\\\caja\\Tickets)",
         "\\\\caja\\Tickets",
         true},
        {{"Escaner", "COM3:", "Microsoft XPS Document Writer"},
         std::nullopt,
         "Escaner · por la cola de Windows (COM3:)",
         "Escaner",
         false},
    };
    for (const Fila& f : filas) {
        FakeInventario inventario;
        inventario.impresoras = {f.impresora};
        if (f.tcp) inventario.tcp[f.impresora.puerto] = *f.tcp;
        const auto lista = CandidatosCajon(inventario, {});
        ASSERT_EQ(lista.size(), 1u) << f.texto;
        EXPECT_EQ(TextoCandidato(lista[0]), f.texto);
        EXPECT_EQ(lista[0].puerto, f.puerto) << f.texto;
        EXPECT_EQ(lista[0].recibos, f.recibos) << f.texto;
    }
}

TEST(CandidatosCajon, TheRouteNowFirstThenReceiptPrintersThenPortsEachOnce) {
    FakeInventario inventario;
    inventario.impresoras = {{"Oficina", "WSD-1", "HP Universal"},
                             {"Caja", "IP_1", "EPSON TM-T88V"},
                             {"Barra", "USB002", "Citizen CT-S310II"},
                             {"Mesa", "USB003", "XP-80C"}};
    inventario.tcp["IP_1"] = {"192.168.1.50", 9100, true};
    inventario.puertos = {"COM1", "COM2", "LPT1"};
    struct Fila {
        AjustesCajon ahora;
        std::vector<std::string> textos;
    };
    const Fila filas[] = {
        {{false, "COM2:", ""},
         {"Ahora: Por el puerto COM2:", "Caja · por la red en 192.168.1.50:9100",
          "Barra · por la cola de Windows (USB002)", "Mesa · por la cola de Windows (USB003)",
          "Oficina · por la cola de Windows (WSD-1)",
          "Por el puerto COM1:", "Por el puerto LPT1:"}},
        // A printer named in the port box, or remembered for the driver: its own route.
        {{false, "mesa", ""},
         {"Ahora: Mesa · por la cola de Windows (USB003)", "Caja · por la red en 192.168.1.50:9100",
          "Barra · por la cola de Windows (USB002)", "Oficina · por la cola de Windows (WSD-1)",
          "Por el puerto COM1:", "Por el puerto COM2:", "Por el puerto LPT1:"}},
        {{true, "LPT1:", "Caja"},
         {"Ahora: Caja · por la red en 192.168.1.50:9100",
          "Barra · por la cola de Windows (USB002)", "Mesa · por la cola de Windows (USB003)",
          "Oficina · por la cola de Windows (WSD-1)",
          "Por el puerto COM1:", "Por el puerto COM2:", "Por el puerto LPT1:"}},
        {{false, "192.168.1.50:9100", ""},
         {"Ahora: Por la red en 192.168.1.50:9100", "Barra · por la cola de Windows (USB002)",
          "Mesa · por la cola de Windows (USB003)", "Oficina · por la cola de Windows (WSD-1)",
          "Por el puerto COM1:", "Por el puerto COM2:", "Por el puerto LPT1:"}},
    };
    for (const Fila& f : filas) {
        std::vector<std::string> textos;
        for (const auto& c : CandidatosCajon(inventario, f.ahora))
            textos.push_back(TextoCandidato(c));
        EXPECT_EQ(textos, f.textos) << f.ahora.puerto;
    }
}

std::string Codigos(const CandidatoCajon& c) {
    std::string texto;
    for (const auto& o : OrdenesPara(c)) {
        texto += (o.familia == FamiliaOrden::Controlador ? "driver" : std::string(o.codigos)) + "|";
    }
    return texto;
}

TEST(OrdenesPara, StarFirstForStarRealTimeOnlyDirectDriverOnlyForAPrinter) {
    struct Fila {
        CandidatoCajon candidato;
        std::string codigos;
    };
    const Fila filas[] = {
        {{"127.0.0.1:9100", "", "", RutaCajon::Red},
         "27 112 0 25 250|27 112 1 25 250|16 20 1 0 1|16 20 1 1 1|7|28|26|"},
        {{"COM1:", "", "", RutaCajon::Puerto, false, true},
         "7|28|26|27 112 0 25 250|27 112 1 25 250|16 20 1 0 1|16 20 1 1 1|"},
        {{"Caja", "Caja", "USB001", RutaCajon::Raw},
         "27 112 0 25 250|27 112 1 25 250|7|28|26|driver|"},
        {{"Star", "Star", "USB001", RutaCajon::Raw, true, true},
         "7|28|26|27 112 0 25 250|27 112 1 25 250|driver|"},
        {{"10.0.0.5:9100", "Caja", "IP_10.0.0.5", RutaCajon::Red, true, false},
         "27 112 0 25 250|27 112 1 25 250|16 20 1 0 1|16 20 1 1 1|7|28|26|driver|"},
    };
    for (const Fila& f : filas) EXPECT_EQ(Codigos(f.candidato), f.codigos) << f.candidato.puerto;
}

// A printer behind the fake clock: its drawer opens on one family of
// commands; pin 3 reads `abierto` while open and `cerrado` otherwise.
struct ImpresoraSimulada {
    std::string abre;  // the codes' start that opens it
    std::uint8_t cerrado = 0x12;
    std::uint8_t abierto = 0x16;
    bool contesta = true;
    bool ocupadaTrasPatada = false;  // busy with the kick's job meanwhile
    bool abiertoAhora = false;
    bool trasPatada = false;
    // Pin 3 reads the other way at every answer (a floating input), or at
    // this one answer alone (a stray reading); -1: never.
    bool flota = false;
    int extraviada = -1;
    int respuestas = 0;

    RespuestaEstado Responder() {
        if (!contesta || (trasPatada && ocupadaTrasPatada)) return {std::nullopt, true};
        const int n = respuestas++;
        const bool al_reves = (flota && n % 2 == 1) || n == extraviada;
        return {abiertoAhora != al_reves ? abierto : cerrado, false};
    }
};

struct Recorrido {
    std::vector<std::string> patadas;  // codes, in order
    std::vector<std::chrono::milliseconds> cuando;
    int preguntasAlCajero = 0;
    PruebasCajon::Paso fin = PruebasCajon::Paso::Esperar;
};

// Runs the tries to their end on a clock of 50 ms ticks; the cashier says
// `siAlCajero` at the question number given (0: always No); `ocupado` kicks
// find the coordinator busy first.
Recorrido Recorrer(PruebasCajon& pruebas, ImpresoraSimulada& impresora, int siAlCajero = 0,
                   int ocupado = 0) {
    Recorrido r;
    const Instante inicio{};
    Instante t = inicio;
    for (int i = 0; i < 2000; ++i, t += std::chrono::milliseconds(50)) {
        switch (pruebas.Tic(t)) {
            case PruebasCajon::Paso::Esperar:
                break;
            case PruebasCajon::Paso::Preguntar:
                pruebas.Respuesta(impresora.Responder());
                break;
            case PruebasCajon::Paso::Patear: {
                if (ocupado > 0) {
                    --ocupado;
                    pruebas.Pateado(std::nullopt, t);
                    break;
                }
                const std::string codigos(pruebas.Orden().codigos);
                r.patadas.push_back(codigos);
                r.cuando.push_back(
                    std::chrono::duration_cast<std::chrono::milliseconds>(t - inicio));
                impresora.trasPatada = true;
                if (!impresora.abre.empty() && codigos.starts_with(impresora.abre)) {
                    impresora.abiertoAhora = true;
                }
                pruebas.Pateado(ResultadoApertura{}, t);
                break;
            }
            case PruebasCajon::Paso::Cajero:
                if (pruebas.Contestar(r.preguntasAlCajero + 1 == siAlCajero, t)) {
                    ++r.preguntasAlCajero;
                }
                break;
            default:
                r.fin = pruebas.Tic(t);
                return r;
        }
    }
    return r;
}

DestinoEstado Red9100() {
    DestinoEstado d;
    d.red = true;
    d.host = "127.0.0.1";
    d.puerto = 9100;
    return d;
}

std::vector<OrdenCajon> Ordenes(bool star) {
    return OrdenesPara({"127.0.0.1:9100", "", "", RutaCajon::Red, star, star});
}

TEST(PruebasCajon, TheSensorDecidesOnAFakeClock) {
    using P = PruebasCajon::Paso;
    struct Fila {
        const char* caso;
        ImpresoraSimulada impresora;
        int siAlCajero;
        P fin;
        std::string ultima;  // the last command sent
        std::optional<ModoSensor> modo;
        int patadas;
        int preguntasAlCajero;
    };
    const Fila filas[] = {
        {"Star commands, pin 3 high when open",
         {"7"},
         0,
         P::Abierto,
         "7",
         ModoSensor::PinAlto,
         5,
         0},
        {"pin 5, pin 3 low when open",
         {"27 112 1", 0x16, 0x12},
         0,
         P::Abierto,
         "27 112 1 25 250",
         ModoSensor::PinBajo,
         2,
         0},
        {"nothing opens it: every try, then none", {""}, 0, P::Ninguna, "26", std::nullopt, 7, 0},
        // Busy during the try: never "opened", the cashier is asked; No goes on.
        {"busy while the kick prints",
         {"27 112 0", 0x12, 0x16, true, true},
         0,
         P::Ninguna,
         "26",
         std::nullopt,
         7,
         7},
        {"busy, and the cashier saw it open",
         {"27 112 0", 0x12, 0x16, true, true},
         1,
         P::Abierto,
         "27 112 0 25 250",
         std::nullopt,
         1,
         1},
        // A pin that floats gives no steady reading before the try, and a
        // reading that strays once is no opening: the sensor decides nothing.
        {"pin 3 floats",
         {"", 0x12, 0x16, true, false, false, false, true},
         0,
         P::Ninguna,
         "26",
         std::nullopt,
         7,
         7},
        {"one stray reading after the first try",
         {"", 0x12, 0x16, true, false, false, false, false, 2},
         0,
         P::Ninguna,
         "26",
         std::nullopt,
         7,
         0},
        {"no answer at all: the cashier says",
         {"16 20 1 0", 0x12, 0x16, false},
         3,
         P::Abierto,
         "16 20 1 0 1",
         std::nullopt,
         3,
         3},
    };
    for (const Fila& f : filas) {
        PruebasCajon pruebas(Ordenes(false), Red9100());
        ImpresoraSimulada impresora = f.impresora;
        const Recorrido r = Recorrer(pruebas, impresora, f.siAlCajero);
        EXPECT_EQ(r.fin, f.fin) << f.caso;
        ASSERT_FALSE(r.patadas.empty()) << f.caso;
        EXPECT_EQ(r.patadas.back(), f.ultima) << f.caso;
        EXPECT_EQ(pruebas.Modo(), f.modo) << f.caso;
        EXPECT_EQ(static_cast<int>(r.patadas.size()), f.patadas) << f.caso;
        EXPECT_EQ(r.preguntasAlCajero, f.preguntasAlCajero) << f.caso;
        for (std::size_t i = 1; i < r.cuando.size(); ++i) {
            EXPECT_GE(r.cuando[i] - r.cuando[i - 1], std::chrono::milliseconds(1500)) << f.caso;
        }
    }
}

TEST(PruebasCajon, WithoutARouteThatAnswersTheCashierIsAskedAfterEachTry) {
    PruebasCajon pruebas(Ordenes(true), std::nullopt);
    ImpresoraSimulada impresora{"27 112 0"};
    const Recorrido r = Recorrer(pruebas, impresora, 4, /*ocupado=*/2);
    EXPECT_EQ(r.fin, PruebasCajon::Paso::Abierto);
    EXPECT_EQ(r.patadas, (std::vector<std::string>{"7", "28", "26", "27 112 0 25 250"}))
        << "a kick the coordinator could not make now is made later, not skipped";
    EXPECT_EQ(pruebas.Modo(), std::nullopt);

    // An Enter queued behind the try that the last answer made: not this one's.
    PruebasCajon otra(Ordenes(false), std::nullopt);
    otra.Tic(Instante{});
    otra.Pateado(ResultadoApertura{}, Instante{});
    EXPECT_FALSE(otra.Contestar(false, Instante{} + std::chrono::milliseconds(100)));
    EXPECT_TRUE(otra.Contestar(false, Instante{} + std::chrono::milliseconds(500)));
}

// Another trigger's kick (F12, a page, the last round's try) keeps the tries
// 1.5 s off it, and what the sensor saw meanwhile is not the try's.
TEST(PruebasCajon, AnotherKickIsNotTakenForTheTrysOwn) {
    PruebasCajon pruebas(Ordenes(false), Red9100());
    ImpresoraSimulada impresora{"nada"};
    pruebas.Tic(Instante{});  // the drawer read closed
    pruebas.Respuesta(impresora.Responder());
    pruebas.Tic(Instante{});  // the kick
    pruebas.Pateado(ResultadoApertura{}, Instante{});
    pruebas.OtraPatada(Instante{} + std::chrono::seconds(1));  // F12, on the same drawer
    impresora.abiertoAhora = true;
    const Recorrido r = Recorrer(pruebas, impresora);
    EXPECT_NE(r.fin, PruebasCajon::Paso::Abierto) << "F12's opening is not the try's";
    EXPECT_EQ(r.cuando.at(0), std::chrono::milliseconds(2500)) << "the try again, 1.5 s after";
}

TEST(PruebasCajon, OnceMoreToBeSureAndAFailedKickStops) {
    PruebasCajon pruebas(Ordenes(false), Red9100());
    ImpresoraSimulada impresora{"27 112 1"};
    Recorrer(pruebas, impresora);
    ASSERT_EQ(pruebas.Numero(), 2);
    impresora.abiertoAhora = false;  // closed by the cashier
    pruebas.Repetir();
    Recorrido r = Recorrer(pruebas, impresora);
    EXPECT_EQ(r.patadas, std::vector<std::string>{"27 112 1 25 250"});
    EXPECT_TRUE(pruebas.Repetido() && pruebas.Confirmado());
    pruebas.Repetir();  // only once
    EXPECT_EQ(pruebas.Tic(Instante{} + std::chrono::hours(1)), PruebasCajon::Paso::Abierto);

    PruebasCajon otra(Ordenes(false), std::nullopt);
    ASSERT_EQ(otra.Tic(Instante{}), PruebasCajon::Paso::Patear);
    ResultadoApertura fallida{ViaApertura::Puerto, "COM7:", Fallo(2, "No se encuentra")};
    otra.Pateado(fallida, Instante{});
    EXPECT_EQ(otra.Tic(Instante{} + std::chrono::seconds(5)), PruebasCajon::Paso::Fallo)
        << "no other try on a route that failed";
}

struct GuardarTest : ::testing::Test {
    MemoryProfile perfil_;
    FakePorts puertos_;
    FakePrinting impresora_;
    FakeDialogs dialogs_;
    FakePoliticas politicas_;
    AperturaDePrueba apertura_{perfil_, puertos_, impresora_, dialogs_, "C:\\Caja", &politicas_};
};

TEST_F(GuardarTest, WhatWasFoundInWordsAndItsLinesWrittenUnlessLockedOrByPolicy) {
    const HallazgoCajon star{{"192.168.1.50:9100", "", "", RutaCajon::Red, true, true},
                             Ordenes(true)[0],
                             ModoSensor::PinAlto};
    EXPECT_EQ(TextoHallazgo(star),
              "Impresora Star por la red en 192.168.1.50:9100 · orden Star (BEL) · cajón 1 · "
              "sensor: abierto con el pin 3 alto");
    const HallazgoCajon driver{{"Caja", "Caja", "USB001", RutaCajon::Raw},
                               OrdenesPara({"Caja", "Caja", "USB001", RutaCajon::Raw}).back(),
                               std::nullopt};
    EXPECT_EQ(TextoHallazgo(driver),
              "Impresora «Caja» por la cola de Windows (USB001) · con el controlador de la "
              "impresora");
    struct Fila {
        const char* caso;
        HallazgoCajon hallazgo;
        std::map<std::string, std::string> antes;
        const char* politica;
        std::vector<std::string> escrituras;
    };
    const Fila filas[] = {
        {"network, sensor read",
         star,
         {},
         nullptr,
         {"KovraTipo=0", "KovraPuerto=192.168.1.50:9100", "KovraASCII=7", "KovraSensor=1"}},
        {"driver", driver, {}, nullptr, {"KovraTipo=1", "PrinterDeviceName=Caja"}},
        {"KovraBloqueado", star, {{"KovraBloqueado", "1"}}, nullptr, {}},
        {"KovraSensor by policy", star, {}, "KovraSensor", {}},
        {"a policy on a key it does not write",
         driver,
         {},
         "KovraASCII",
         {"KovraTipo=1", "PrinterDeviceName=Caja"}},
    };
    for (const Fila& f : filas) {
        perfil_.valores = f.antes;
        perfil_.escrituras.clear();
        politicas_.valores.clear();
        if (f.politica != nullptr) politicas_.Equipo(f.politica, FakePoliticas::Texto("2"));
        EXPECT_EQ(GuardarHallazgo(apertura_.parametros, f.hallazgo), !f.escrituras.empty())
            << f.caso;
        EXPECT_EQ(perfil_.escrituras, f.escrituras) << f.caso;
    }
}

TEST_F(GuardarTest, EveryTryIsTheAssistantsKickThroughTheCoordinator) {
    impresora_.instaladas = {"Oficina", "Caja"};
    const CandidatoCajon com{"COM1:"};
    EXPECT_TRUE(
        PatearPrueba(apertura_.coordinador, impresora_, com, OrdenesPara(com)[4], dialogs_));
    ASSERT_EQ(puertos_.registros.size(), 1u);
    EXPECT_EQ(puertos_.registros[0].escrituras, std::vector<std::string>{"\x07"});

    const CandidatoCajon caja{"Caja", "caja", "USB001", RutaCajon::Raw};
    const auto driver =
        PatearPrueba(apertura_.coordinador, impresora_, caja, OrdenesPara(caja).back(), dialogs_);
    ASSERT_TRUE(driver && !driver->fallo);
    EXPECT_EQ(driver->via, ViaApertura::Impresora);
    EXPECT_EQ(impresora_.actual, 1) << "the driver's job goes to that printer";

    const CandidatoCajon quitada{"Quitada", "Quitada", "USB009", RutaCajon::Raw};
    impresora_.llamadas.clear();
    const auto fallida = PatearPrueba(apertura_.coordinador, impresora_, quitada,
                                      OrdenesPara(quitada).back(), dialogs_);
    ASSERT_TRUE(fallida && fallida->fallo);
    EXPECT_EQ(fallida->fallo->numero, 1801);
    EXPECT_EQ(std::ranges::count(impresora_.llamadas, std::string("EndDoc")), 0)
        << "never another printer's job";
    EXPECT_EQ(dialogs_.cajas.back().tipo, "stop");
}

}  // namespace
