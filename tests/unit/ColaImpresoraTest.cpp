#include <gtest/gtest.h>

#include "drawer/ColaImpresora.h"

namespace {

using namespace estado_trabajo;
using enum DestinoTrabajo;

TEST(DecidirTrabajo, AStuckKickJobIsDeletedEvenWhilePrintingAndRefusesTheKick) {
    const std::string kick = "AbrirCajon: apertura del cajón";
    for (const auto atasco :
         {kPausado, kError, kSinConexion, kSinPapel, kColaBloqueada, kIntervencionUsuario}) {
        for (const auto curso : {0u, kImprimiendose}) {
            EXPECT_EQ(DecidirTrabajo({7, kick, atasco | curso}, kick), BorrarYRechazar) << atasco;
            EXPECT_EQ(DecidirTrabajo({7, "Factura 7", atasco | curso}, kick), Dejar) << atasco;
        }
    }
    const std::pair<std::uint32_t, DestinoTrabajo> sinAtasco[] = {
        {0, Borrar},       {0x8 /* spooling */, Borrar}, {kImprimiendose, Dejar},
        {kImpreso, Dejar}, {kBorrandose, Dejar},         {kCompleto, Dejar}};
    for (const auto& [status, destino] : sinAtasco) {
        EXPECT_EQ(DecidirTrabajo({7, kick, status}, kick), destino) << status;
    }
}

// What each look at the job finds (nothing: it has left the queue, the last
// one repeats), the waits before the time is up, and what follows.
TEST(SeguirTrabajo, AJobThatGetsStuckWhileFollowedFailsOneStillWaitingIsSent) {
    using Estados = std::vector<std::optional<std::uint32_t>>;
    const std::tuple<Estados, int, FinTrabajo, std::size_t> casos[] = {
        {{std::nullopt}, 20, FinTrabajo::Enviado, 1},
        {{0, kImprimiendose, std::nullopt}, 20, FinTrabajo::Enviado, 3},
        {{0, kImpreso}, 20, FinTrabajo::Enviado, 2},
        {{kImprimiendose | kCompleto}, 20, FinTrabajo::Enviado, 1},
        {{0, 0, kImprimiendose | kSinConexion}, 20, FinTrabajo::Atascado, 3},
        {{kSinPapel}, 20, FinTrabajo::Atascado, 1},
        {{0, 0, 0, 0, kError}, 3, FinTrabajo::Enviado, 4},  // time up before the error
    };
    for (const auto& [estados, esperas, fin, miradas] : casos) {
        std::size_t mirada = 0;
        int quedan = esperas;
        EXPECT_EQ(SeguirTrabajo([&] { return estados[std::min(mirada++, estados.size() - 1)]; },
                                [&] { return quedan-- > 0; }),
                  fin)
            << miradas;
        EXPECT_EQ(mirada, miradas);
    }
}

}  // namespace
