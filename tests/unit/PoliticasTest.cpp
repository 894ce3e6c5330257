#include <gtest/gtest.h>

#include "settings/Politicas.h"
#include "settings/modFunGenerales.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakePoliticas.h"
#include "tests/support/Fakes.h"

namespace {

using P = FakePoliticas;

ValorPolitica Binario() {
    return P::Numero(0x31004D004F0043, 8, 3);  // REG_BINARY "COM1" in UTF-16
}

struct Aviso : AvisoPoliticas {
    void Inservible(std::string_view nombre, RamaPoliticas rama, std::string_view tipo,
                    std::string_view valor) override {
        oidos.push_back(std::string(nombre) +
                        (rama == RamaPoliticas::Equipo ? " HKLM " : " HKCU ") + std::string(tipo) +
                        " " + std::string(valor));
    }
    std::vector<std::string> oidos;
};

TEST(ValorDePoliticaTest, EveryTypeReadsByWhatItMeansAndAnUnusableValueFailsClosed) {
    struct Caso {
        const char* nombre;
        const char* clave;
        std::optional<ValorPolitica> equipo, usuario;
        std::optional<std::string> valor;
        const char* aviso = "";
    };
    const std::u16string nul = std::u16string(u"LPT2:") + u'\0' + u"basura";
    const std::u16string lineas = std::u16string(u"27") + u'\0' + u"112" + u'\0' + u"1" + u'\0';
    ValorPolitica impar = P::Texto("LP");
    impar.datos = {'L', 0, 'P', 0, 'T'};
    ValorPolitica largo;
    largo.tipo = ValorPolitica::Tipo::Texto;
    largo.tipoRegistro = 1;
    largo.demasiadoLargo = true;
    const Caso casos[] = {
        {"none", "KovraPuerto", {}, {}, std::nullopt},
        {"machine", "KovraPuerto", P::Texto("COM2:"), {}, "COM2:"},
        {"user", "KovraPuerto", {}, P::Texto("COM3:"), "COM3:"},
        {"machine first", "KovraPuerto", P::Texto("COM2:"), P::Texto("COM3:"), "COM2:"},
        {"dword as text", "KovraPuerto", P::Numero(1), P::Texto("0"), "1"},
        {"dword whole", "KovraPuerto", P::Numero(4294967295u), {}, "4294967295"},
        {"qword", "KovraBloqueado", P::Numero(1, 8), {}, "1"},
        {"qword whole", "KovraPuerto", P::Numero(~0ull, 8), {}, "18446744073709551615"},
        {"multi-string lines joined", "KovraASCII", P::Texto(lineas, 7), {}, "27 112 1"},
        {"true and false", "KovraBloqueado", P::Texto("TRUE"), {}, "1"},
        {"false", "KovraEventos", P::Texto(" false "), {}, "0"},
        {"tab kept", "KovraPuerto", P::Texto("a\tb"), {}, "a\tb"},
        {"expandable, as stored", "KovraPuerto", P::Texto(u"LPT2:", 2), {}, "LPT2:"},
        {"a variable is the user's to set",
         "KovraRegistro",
         P::Texto(u"%CAJA%", 2),
         {},
         std::nullopt,
         "KovraRegistro HKLM REG_EXPAND_SZ %CAJA%"},
        {"blanks around", "KovraPuerto", P::Texto("  COM1:  "), {}, "COM1:"},
        {"empty is set", "KovraPuerto", P::Texto(""), P::Texto("COM3:"), ""},
        {"ends at its NUL", "KovraPuerto", P::Texto(nul), {}, "LPT2:"},
        {"no NUL, odd size", "KovraPuerto", impar, {}, "LP"},
        {"Spanish letters", "KovraPuerto", P::Texto("Caja señora Ж"), {}, "Caja señora Ж"},
        // Unusable: told, and never the user's branch instead.
        {"binary", "KovraPuerto", Binario(), P::Texto("COM3:"), std::nullopt,
         "KovraPuerto HKLM REG_BINARY 43004F004D003100"},
        {"short dword",
         "KovraPuerto",
         P::Numero(1, 2),
         {},
         std::nullopt,
         "KovraPuerto HKLM REG_DWORD 0100"},
        {"too long", "KovraPuerto", largo, P::Texto("COM3:"), std::nullopt,
         "KovraPuerto HKLM REG_SZ (demasiado largo)"},
        {"escape",
         "KovraPuerto",
         P::Texto("\x1b"
                  "p"),
         {},
         std::nullopt,
         "KovraPuerto HKLM REG_SZ ?p"},
        {"line break",
         "KovraPuerto",
         P::Texto("LPT1:\r\nCOM1:"),
         {},
         std::nullopt,
         "KovraPuerto HKLM REG_SZ LPT1:??COM1:"},
        {"a lock is locked by any unusable value", "KovraBloqueado", Binario(), P::Numero(0), "1",
         "KovraBloqueado HKLM REG_BINARY 43004F004D003100"},
        {"a lock that is no number",
         "KovraBloqueado",
         {},
         P::Texto("sí"),
         "1",
         "KovraBloqueado HKCU REG_SZ sí"},
        {"origins: none",
         "KovraWebOrigenes",
         P::Texto("https://a.example\x1b"),
         {},
         "",
         "KovraWebOrigenes HKLM REG_SZ https://a.example?"},
    };
    for (const auto& c : casos) {
        FakePoliticas politicas;
        Aviso aviso;
        politicas.aviso = &aviso;
        if (c.equipo) politicas.Equipo(c.clave, *c.equipo);
        if (c.usuario) politicas.Usuario(c.clave, *c.usuario);
        EXPECT_EQ(ValorDePolitica(politicas, c.clave), c.valor) << c.nombre;
        EXPECT_EQ(aviso.oidos,
                  *c.aviso ? std::vector<std::string>{c.aviso} : std::vector<std::string>{})
            << c.nombre;
    }
    // Read with a limit: a list of 100 KB is refused by the store, not cut,
    // and lets no origin in.
    FakePoliticas politicas;
    politicas.Equipo("KovraWebOrigenes", P::Texto(std::string(50 * 1024, 'a')));
    EXPECT_EQ(ValorDePolitica(politicas, "KovraWebOrigenes"), "");
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

// The machine's copy: a settings file that another user can change decides
// nothing that this user's rights would carry out.
TEST_F(ParametrosPoliticaTest,
       TheMachinesCopyTakesWhereAndWhetherToRecordOnlyFromTheAdministrator) {
    struct Permisos : PermisosArchivo {
        bool OtrosPuedenCambiar(const std::string&) override { return ajeno; }
        bool PuedoEscribir(const std::string&) override { return escribe; }
        bool ajeno = false, escribe = true;
    } permisos;
    perfil_.valores["KovraRegistro"] = "0";
    // A copy of the user's own: the file is theirs.
    EXPECT_EQ(parametros_.DelAdministrador("KovraRegistro", "1").valor, "0");
    EXPECT_TRUE(parametros_.SePuedeEscribir());
    parametros_.FijarInstalacionDelEquipo(&permisos);
    EXPECT_EQ(parametros_.DelAdministrador("KovraRegistro", "1").valor, "0") << "admins' file";
    permisos.ajeno = true;
    EXPECT_EQ(parametros_.DelAdministrador("KovraRegistro", "1").valor, "1");
    politicas_.Equipo("KovraRegistro", P::Numero(0));
    EXPECT_TRUE(parametros_.DelAdministrador("KovraRegistro", "1").porPolitica);
    EXPECT_EQ(parametros_.DelAdministrador("KovraRegistro", "1").valor, "0");
    permisos.escribe = false;
    EXPECT_FALSE(parametros_.SePuedeEscribir());
}

}  // namespace
