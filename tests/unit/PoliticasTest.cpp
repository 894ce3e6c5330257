#include <gtest/gtest.h>

#include "settings/Politicas.h"
#include "settings/modFunGenerales.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakePoliticas.h"
#include "tests/support/Fakes.h"

namespace {

using P = FakePoliticas;

ValorPolitica Binario() {
    return {ValorPolitica::Tipo::Otro, {'C', 0, 'O', 0, 'M', 0, '1', 0, 0, 0}, false};
}

TEST(ValorDePoliticaTest, TheMachineBeforeTheUserAndOnlyUsableValuesCount) {
    struct Caso {
        const char* nombre;
        std::optional<ValorPolitica> equipo, usuario;
        std::optional<std::string> valor;
    };
    const std::u16string nul = std::u16string(u"LPT2:") + u'\0' + u"basura";
    const Caso casos[] = {
        {"none", {}, {}, std::nullopt},
        {"machine", P::Texto("COM2:"), {}, "COM2:"},
        {"user", {}, P::Texto("COM3:"), "COM3:"},
        {"machine first", P::Texto("COM2:"), P::Texto("COM3:"), "COM2:"},
        {"dword as text", P::Numero(1), P::Texto("0"), "1"},
        {"dword whole", P::Numero(4294967295u), {}, "4294967295"},
        {"short dword", ValorPolitica{ValorPolitica::Tipo::Numero, {1, 0}, false}, {}, {}},
        {"binary is not set", Binario(), P::Texto("COM3:"), "COM3:"},
        {"too long is not set", ValorPolitica{ValorPolitica::Tipo::Texto, {}, true},
         P::Texto("COM3:"), "COM3:"},
        {"line break is not set", P::Texto("LPT1:\r\nCOM1:"), {}, std::nullopt},
        {"escape is not set",
         P::Texto("\x1b"
                  "p"),
         {},
         std::nullopt},
        {"tab kept", P::Texto("a\tb"), {}, "a\tb"},
        {"blanks around", P::Texto("  COM1:  "), {}, "COM1:"},
        {"empty is set", P::Texto(""), P::Texto("COM3:"), ""},
        {"ends at its NUL", P::Texto(nul), {}, "LPT2:"},
        {"no NUL, odd size",
         ValorPolitica{ValorPolitica::Tipo::Texto, {'L', 0, 'P', 0, 'T'}, false},
         {},
         "LP"},
        {"Spanish letters", P::Texto("Caja señora Ж"), {}, "Caja señora Ж"},
    };
    for (const auto& c : casos) {
        FakePoliticas politicas;
        if (c.equipo) politicas.Equipo("KovraPuerto", *c.equipo);
        if (c.usuario) politicas.Usuario("KovraPuerto", *c.usuario);
        EXPECT_EQ(ValorDePolitica(politicas, "KovraPuerto"), c.valor) << c.nombre;
    }
    // Read with a limit: a value of 100 KB is refused by the store, not cut.
    FakePoliticas politicas;
    politicas.Equipo("KovraWebOrigenes", P::Texto(std::string(50 * 1024, 'a')));
    EXPECT_EQ(ValorDePolitica(politicas, "KovraWebOrigenes"), std::nullopt);
    politicas.Equipo("KovraWebOrigenes", P::Texto(std::string(kLimitePolitica / 2 - 1, 'a')));
    EXPECT_EQ(ValorDePolitica(politicas, "KovraWebOrigenes")->size(), kLimitePolitica / 2 - 1);
}

class ParametrosPoliticaTest : public ::testing::Test {
  protected:
    ParametrosPoliticaTest() {
        parametros_.FijarRuta("C:\\Caja\\INIS\\PARAMETROS.INI");
        perfil_.valores = {{"KovraPuerto", "LPT1:"}, {"KovraBloqueado", "0"}};
    }
    MemoryProfile perfil_;
    FakeDialogs dialogs_;
    FakePoliticas politicas_;
    Parametros parametros_{perfil_, dialogs_, &politicas_};
};

TEST_F(ParametrosPoliticaTest, WithNoPolicyEveryReadAndWriteIsTheFilesAsWithoutAStore) {
    MemoryProfile solo;
    solo.valores = perfil_.valores;
    Parametros sinAlmacen(solo, dialogs_);
    sinAlmacen.FijarRuta(parametros_.Ruta());
    for (Parametros* p : {&parametros_, &sinAlmacen}) {
        EXPECT_EQ(p->VRXGetParametro("KovraPuerto", "x"), "LPT1:");
        EXPECT_EQ(p->VRXGetParametro("KovraASCII", "27 112"), "27 112");
        p->VRXSetParametro("KovraPuerto", " COM1: ");
        EXPECT_FALSE(p->PorPolitica("KovraPuerto"));
    }
    EXPECT_EQ(perfil_.lecturas, solo.lecturas);
    EXPECT_EQ(perfil_.escrituras, solo.escrituras);
    EXPECT_TRUE(dialogs_.cajas.empty());
}

TEST_F(ParametrosPoliticaTest, APolicyWinsAtEachReadIsNeverWrittenAndGoingGivesTheFileBack) {
    politicas_.Usuario("KovraPuerto", P::Texto("LPT3:"));
    EXPECT_EQ(parametros_.VRXGetParametro("KovraPuerto", "x"), "LPT3:");
    EXPECT_TRUE(parametros_.Leer("KovraPuerto", "x").porPolitica);
    EXPECT_EQ(perfil_.Lecturas("KovraPuerto"), 0) << "the file is not read for it";
    // Pushed while the program runs: the next read has it.
    politicas_.Equipo("KovraPuerto", P::Texto("LPT2:"));
    EXPECT_EQ(parametros_.VRXGetParametro("KovraPuerto", "x"), "LPT2:");
    parametros_.VRXSetParametro("KovraPuerto", "LPT2:");
    parametros_.VRXSetParametro("KovraASCII", "7");
    EXPECT_EQ(perfil_.escrituras, std::vector<std::string>{"KovraASCII=7"});
    politicas_.valores.clear();
    EXPECT_EQ(parametros_.VRXGetParametro("KovraPuerto", "x"), "LPT1:");
    EXPECT_FALSE(parametros_.Leer("KovraPuerto", "x").porPolitica);
}

TEST_F(ParametrosPoliticaTest, ALockByPolicyDropsEveryWriteAndAnUnlockByPolicyWinsTheFile) {
    politicas_.Equipo("KovraBloqueado", P::Numero(1));
    parametros_.VRXSetParametro("KovraASCII", "7");
    EXPECT_TRUE(perfil_.escrituras.empty());
    // The file locks; the administrator's 0 wins.
    perfil_.valores["KovraBloqueado"] = "1";
    politicas_.Equipo("KovraBloqueado", P::Numero(0));
    parametros_.VRXSetParametro("KovraASCII", "7");
    EXPECT_EQ(perfil_.escrituras, std::vector<std::string>{"KovraASCII=7"});
    EXPECT_EQ(perfil_.valores["KovraBloqueado"], "1");
}

}  // namespace
