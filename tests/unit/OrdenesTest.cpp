#include <gtest/gtest.h>

#include "tests/support/FakeDialogs.h"
#include "tests/support/Fakes.h"
#include "ui/Ordenes.h"

namespace {

TEST(OrdenesTest, TheCommandLineGivesOneOrder) {
    const std::pair<std::vector<std::string>, Orden> casos[] = {
        {{}, Orden::Ninguna},
        {{"/abrir"}, Orden::Abrir},
        {{"-AbRiR"}, Orden::Abrir},
        {{"/SALIR"}, Orden::Salir},
        {{"-salir"}, Orden::Salir},
        {{"/nada"}, Orden::NoValida},
        {{"abrir"}, Orden::NoValida},
        {{"//abrir"}, Orden::NoValida},
        {{""}, Orden::NoValida},
        {{"/abrir", "/salir"}, Orden::NoValida},
        {{"/abrir", "/esperar"}, Orden::AbrirYEsperar},
        {{"-ABRIR", "-Esperar:3600"}, Orden::AbrirYEsperar},
        {{"/abrir", "/esperar:0"}, Orden::NoValida},
        {{"/abrir", "/esperar:3601"}, Orden::NoValida},
        {{"/abrir", "/esperar:"}, Orden::NoValida},
        {{"/abrir", "/esperar:1x"}, Orden::NoValida},
        {{"/esperar", "/abrir"}, Orden::NoValida},
        {{"/salir", "/esperar"}, Orden::NoValida},
        {{"/asistente"}, Orden::Asistente},
        {{"-ASISTENTE"}, Orden::Asistente},
        {{"/asistente", "/abrir"}, Orden::NoValida},
    };
    for (const auto& [argumentos, orden] : casos) {
        EXPECT_EQ(LeerOrden(argumentos), orden) << ::testing::PrintToString(argumentos);
    }
    const std::vector<std::string> espera{"/abrir", "/esperar:45"};
    EXPECT_EQ(SegundosDeEspera(espera), 45);
    EXPECT_EQ(SegundosDeEspera(std::vector<std::string>{"/abrir", "/ESPERAR"}), 60);
    EXPECT_EQ(CodigoDeSalida({ViaApertura::Puerto, "LPT1:", std::nullopt}), 0);
    for (const auto& [numero, codigo] : {std::pair{482, 482}, {0, 1}, {-5, 1}}) {
        EXPECT_EQ(CodigoDeSalida({ViaApertura::Puerto, "", Fallo(numero, "")}), codigo);
    }
}

struct FakeCopia : CopiaAbierta {
    FakeCopia(bool h, std::optional<int> r, bool t) : hay(h), respuesta(r), termina(t) {}
    bool Hay() override { return hay; }
    std::optional<int> Abrir() override { return respuesta; }
    bool Salir() override { return termina; }
    // Told to open its assistant: as it would take /salir.
    bool Asistente() override { return termina; }
    // The copy's drawer, one look after another; the last one stays.
    std::optional<std::optional<EstadoCajon>> Cajon() override {
        ++miradas;
        if (cajones.size() > 1) {
            const auto e = cajones.front();
            cajones.erase(cajones.begin());
            return e;
        }
        return cajones.empty() ? std::nullopt : cajones.front();
    }
    std::vector<std::optional<std::optional<EstadoCajon>>> cajones;
    int miradas = 0;
    bool hay;
    std::optional<int> respuesta;
    bool termina;
};

TEST(OrdenesTest, EachOrderGoesToTheRunningCopyOrIsCarriedOutHere) {
    // order, a copy runs, its answer to /abrir, it ends on /salir, exit code
    using Caso = std::tuple<Orden, bool, std::optional<int>, bool, std::optional<int>>;
    const Caso casos[] = {
        {Orden::Ninguna, true, 0, true, std::nullopt},
        {Orden::NoValida, true, 0, true, 87},
        {Orden::Abrir, true, 0, true, 0},
        {Orden::Abrir, true, 170, true, 170},
        {Orden::Abrir, true, std::nullopt, true, 1460},
        {Orden::Abrir, false, 0, true, 482},
        {Orden::Salir, true, 0, true, 0},
        {Orden::Salir, true, 0, false, 1460},
        {Orden::Salir, false, 0, true, 1},
        {Orden::Asistente, true, 0, true, 0},
        {Orden::Asistente, true, 0, false, 1460},
        // No copy: this process starts as the program, its assistant open.
        {Orden::Asistente, false, 0, true, std::nullopt},
    };
    for (const auto& [orden, hay, respuesta, termina, codigo] : casos) {
        FakeCopia copia(hay, respuesta, termina);
        FakeDialogs dialogs;
        // 482: the opening made here, by this process.
        EXPECT_EQ(CumplirOrden(orden, copia, dialogs, [] { return 482; }), codigo);
        EXPECT_EQ(dialogs.cajas.size(), orden == Orden::NoValida ? 1u : 0u);
    }
}

TEST(OrdenesTest, WaitingForTheCloseEndsAsTheCopysWatchEnds) {
    using C = EstadoCajon::Cajon;
    using Visto = std::optional<std::optional<EstadoCajon>>;
    const auto estado = [](C cajon, bool vigilando, FinSensor fin, std::uint32_t n) -> Visto {
        return std::optional<EstadoCajon>(EstadoCajon{cajon, 0, vigilando, fin, n});
    };
    const auto antes = estado(C::Cerrado, false, FinSensor::Cerrado, 4);
    const auto abierto = estado(C::Abierto, true, FinSensor::Cerrado, 5);
    const Visto sinSensor(std::optional<EstadoCajon>{});
    // what the copy shows, look by look after the kick; the exit code
    using Caso = std::tuple<const char*, std::vector<Visto>, int>;
    const Caso casos[] = {
        {"closed", {antes, abierto, abierto, estado(C::Cerrado, false, FinSensor::Cerrado, 5)}, 0},
        {"never opened: closed all the same",
         {antes, estado(C::Cerrado, false, FinSensor::NoSeVioAbrirse, 5)},
         0},
        {"still open at the end", {antes, abierto}, 1460},
        {"no answer from the sensor",
         {antes, estado(C::Desconocido, false, FinSensor::SinRespuesta, 5)},
         1},
        {"a route that cannot answer: no watch began", {antes, antes}, 1},
        {"the sensor off", {sinSensor, sinSensor}, 1},
        {"the copy gone", {antes, std::nullopt}, 1},
    };
    for (const auto& [que, cajones, codigo] : casos) {
        FakeCopia copia(true, 0, true);
        copia.cajones = cajones;
        FakeDialogs dialogs;
        std::chrono::milliseconds dormido{0};
        EXPECT_EQ(CumplirOrden(
                      Orden::AbrirYEsperar, copia, dialogs, [] { return 482; }, 3,
                      [&](std::chrono::milliseconds ms) { dormido += ms; }),
                  codigo)
            << que;
        EXPECT_LE(dormido, std::chrono::seconds(3)) << que;
    }
    FakeCopia falla(true, 170, true);
    FakeDialogs dialogs;
    EXPECT_EQ(CumplirOrden(Orden::AbrirYEsperar, falla, dialogs, [] { return 0; }, 3, {}), 170);
    FakeCopia ninguna(false, 0, true);
    EXPECT_EQ(CumplirOrden(Orden::AbrirYEsperar, ninguna, dialogs, [] { return 0; }, 3, {}), 1);
    EXPECT_EQ(CumplirOrden(Orden::AbrirYEsperar, ninguna, dialogs, [] { return 2; }, 3, {}), 2);
    for (const Visto& e : {antes, abierto, sinSensor}) {
        const std::uint32_t n = EmpaquetarCajon(*e);
        EXPECT_EQ(DesempaquetarCajon(n).has_value(), e->has_value());
        EXPECT_EQ(EmpaquetarCajon(DesempaquetarCajon(n)), n);
    }
}

}  // namespace
