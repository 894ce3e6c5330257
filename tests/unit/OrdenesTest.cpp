#include <gtest/gtest.h>

#include "tests/support/FakeDialogs.h"
#include "tests/support/Fakes.h"
#include "ui/Ordenes.h"

namespace {

TEST(OrdenesTest, TheCommandLineGivesOneOrder) {
    const std::pair<std::vector<std::string>, Orden> casos[] = {
        {{}, Orden::Ninguna},         {{"/abrir"}, Orden::Abrir},
        {{"-AbRiR"}, Orden::Abrir},   {{"/SALIR"}, Orden::Salir},
        {{"-salir"}, Orden::Salir},   {{"/nada"}, Orden::NoValida},
        {{"abrir"}, Orden::NoValida}, {{"//abrir"}, Orden::NoValida},
        {{""}, Orden::NoValida},      {{"/abrir", "/salir"}, Orden::NoValida},
    };
    for (const auto& [argumentos, orden] : casos) {
        EXPECT_EQ(LeerOrden(argumentos), orden) << ::testing::PrintToString(argumentos);
    }
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
    };
    for (const auto& [orden, hay, respuesta, termina, codigo] : casos) {
        FakeCopia copia(hay, respuesta, termina);
        FakeDialogs dialogs;
        // 482: the opening made here, by this process.
        EXPECT_EQ(CumplirOrden(orden, copia, dialogs, [] { return 482; }), codigo);
        EXPECT_EQ(dialogs.cajas.size(), orden == Orden::NoValida ? 1u : 0u);
    }
}

}  // namespace
