#include <gtest/gtest.h>

#include <deque>

#include "drawer/ColaImpresora.h"

namespace {

using namespace estado_trabajo;

TEST(DecidirTrabajo, AStuckKickJobIsDeletedEvenWhilePrintingAndRefusesTheKick) {
    const std::string kick = "AbrirCajon: apertura del cajón";
    for (const std::uint32_t atasco :
         {kPausado, kError, kSinConexion, kSinPapel, kColaBloqueada, kIntervencionUsuario}) {
        for (const std::uint32_t curso : {0u, kImprimiendose}) {
            EXPECT_EQ(DecidirTrabajo({7, kick, atasco | curso}, kick),
                      DestinoTrabajo::BorrarYRechazar)
                << atasco << " " << curso;
            EXPECT_EQ(DecidirTrabajo({7, "Factura 7", atasco | curso}, kick),
                      DestinoTrabajo::Dejar);
        }
    }
    const std::pair<std::uint32_t, DestinoTrabajo> sinAtasco[] = {
        {0, DestinoTrabajo::Borrar},
        {0x8 /* spooling */, DestinoTrabajo::Borrar},
        {kImprimiendose, DestinoTrabajo::Dejar},
        {kImpreso, DestinoTrabajo::Dejar},
        {kBorrandose, DestinoTrabajo::Dejar},
        {kCompleto, DestinoTrabajo::Dejar}};
    for (const auto& [status, destino] : sinAtasco) {
        EXPECT_EQ(DecidirTrabajo({7, kick, status}, kick), destino) << status;
    }
}

// `estados` is what each look at the job finds (nothing: it has left the
// queue); the time is up after `pasos` waits.
struct Seguimiento {
    std::deque<std::optional<std::uint32_t>> estados;
    int pasos;
    FinTrabajo fin;
    int miradas;
};

TEST(SeguirTrabajo, AJobThatGetsStuckWhileFollowedFailsOneStillWaitingIsSent) {
    const Seguimiento casos[] = {
        {{std::nullopt}, 20, FinTrabajo::Enviado, 1},
        {{0, kImprimiendose, std::nullopt}, 20, FinTrabajo::Enviado, 3},
        {{0, kImpreso}, 20, FinTrabajo::Enviado, 2},
        {{kImprimiendose | kCompleto}, 20, FinTrabajo::Enviado, 1},
        {{0, 0, kImprimiendose | kSinConexion}, 20, FinTrabajo::Atascado, 3},
        {{kSinPapel}, 20, FinTrabajo::Atascado, 1},
        {{0, 0, 0, 0, kError}, 3, FinTrabajo::Enviado, 4},  // time up before the error
    };
    for (auto c : casos) {
        int miradas = 0;
        int pasos = c.pasos;
        const auto fin = SeguirTrabajo(
            [&]() -> std::optional<std::uint32_t> {
                ++miradas;
                auto s = c.estados.front();
                if (c.estados.size() > 1) c.estados.pop_front();
                return s;
            },
            [&] { return pasos-- > 0; });
        EXPECT_EQ(fin, c.fin) << c.miradas;
        EXPECT_EQ(miradas, c.miradas);
    }
}

}  // namespace
