#include <gtest/gtest.h>

#include "tests/support/AperturaDePrueba.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakePoliticas.h"
#include "tests/support/FakeRegistro.h"
#include "tests/support/Fakes.h"
#include "ui/Ordenes.h"

namespace {

struct SensorAnotado : SensorDePatadas {
    void AntesDePatada() override { pasos += "antes;"; }
    void TrasPatada(const ResultadoApertura& r) override {
        pasos += r.fallo ? "fallo;" : "enviado;";
    }
    std::string pasos;
};

struct CoordinadorAperturaTest : ::testing::Test {
    MemoryProfile perfil_;
    FakePorts puertos_;
    FakePrinting impresora_;
    FakeDialogs dialogs_;
    FakePoliticas politicas_;
    FakeClock reloj_;
    FakeSession sesion_;
    FakeTextFiles archivos_;
    RegistroAperturas registro_{reloj_, sesion_, archivos_, perfil_, &politicas_};
    AperturaDePrueba apertura_{perfil_,    puertos_,    impresora_, dialogs_,
                               "C:\\Caja", &politicas_, &registro_};
    std::string Registro() {
        registro_.EscribirPendientes();
        return archivos_.archivos["C:\\Caja\\INIS\\APERTURAS.CSV"];
    }
};

// /abrir with no copy running reads what the window would: the
// administrator's values before the file's, and writes nothing back.
TEST_F(CoordinadorAperturaTest, AnOpeningWithNoWindowKicksThePolicysPortAndRecordsIt) {
    perfil_.valores = {{"KovraPuerto", "LPT1:"}, {"KovraTipo", "1"}, {"KovraASCII", "7"}};
    politicas_.Equipo("KovraPuerto", FakePoliticas::Texto("LPT2:"));
    politicas_.Usuario("KovraTipo", FakePoliticas::Numero(0));
    EXPECT_EQ(AbrirSinVentana(apertura_.coordinador), 0);
    ASSERT_EQ(puertos_.registros.size(), 1u);
    EXPECT_EQ(puertos_.registros[0].nombre, "LPT2:");
    EXPECT_EQ(puertos_.registros[0].escrituras, std::vector<std::string>{"\x07"});
    EXPECT_TRUE(perfil_.escrituras.empty());
    EXPECT_NE(Registro().find(";Orden /abrir;Puerto;LPT2:;"), std::string::npos) << Registro();

    puertos_.fallarAlAbrir = true;
    EXPECT_EQ(AbrirSinVentana(apertura_.coordinador), 2);
    ASSERT_EQ(dialogs_.cajas.size(), 1u) << "a failure reaches the cashier";
    EXPECT_EQ(dialogs_.cajas[0].tipo, "stop");
}

// One kick at a time, whoever asks; the sensor hears of each kick around
// its output, and a box asked for elsewhere gets the failure.
TEST_F(CoordinadorAperturaTest, OneKickAtATimeWithTheSensorAroundIt) {
    perfil_.valores = {{"KovraTipo", "0"}};
    SensorAnotado sensor;
    apertura_.coordinador.FijarSensor(&sensor);
    FakeDialogs otrasCajas;
    std::optional<ResultadoApertura> anidada;
    int oidos = 0;
    puertos_.alEscribir = [&] {
        EXPECT_TRUE(apertura_.coordinador.Ocupado());
        anidada = apertura_.coordinador.Patear({OrigenApertura::Web, "https://otra"});
    };
    const auto resultado = apertura_.coordinador.Patear(
        {OrigenApertura::Asistente, {}, nullptr, [&](const ResultadoApertura&) { ++oidos; }});
    ASSERT_TRUE(resultado);
    EXPECT_FALSE(resultado->fallo);
    EXPECT_FALSE(anidada) << "a kick asked for during another is not made";
    EXPECT_EQ(oidos, 1);
    EXPECT_FALSE(apertura_.coordinador.Ocupado());
    EXPECT_NE(Registro().find(";Asistente;Puerto;LPT1:;"), std::string::npos) << Registro();

    puertos_.alEscribir = {};
    puertos_.fallarAlAbrir = true;
    ASSERT_TRUE(
        apertura_.coordinador.Patear({OrigenApertura::Boton, "F12", nullptr, {}, &otrasCajas}));
    EXPECT_EQ(otrasCajas.cajas.size(), 1u);
    EXPECT_TRUE(dialogs_.cajas.empty());
    EXPECT_EQ(sensor.pasos, "antes;enviado;antes;fallo;");
    EXPECT_EQ(apertura_.coordinador.Patadas(), 2u) << "the refused one is not counted";
    apertura_.coordinador.FijarSensor(nullptr);
}

// Another user's settings file: a policy lets only its own port be written,
// not what a window started before it still shows from the file.
TEST_F(CoordinadorAperturaTest, APolicysPortExemptsOnlyItselfFromAnotherUsersFile) {
    struct Ajeno : PermisosArchivo {
        bool OtrosPuedenCambiar(const std::string&) override { return true; }
        bool PuedoEscribir(const std::string&) override { return true; }
    } ajeno;
    apertura_.parametros.FijarInstalacionDelEquipo(&ajeno);
    politicas_.Equipo("KovraPuerto", FakePoliticas::Texto("C:\\Caja\\puerto.txt"));
    const AjustesApertura viejo("C:\\Otro\\plantado.cmd", "7", false);
    const AjustesApertura fijado("C:\\Caja\\puerto.txt", "7", false);
    const auto r = apertura_.coordinador.Patear({OrigenApertura::Tecla, "F12", &viejo});
    ASSERT_TRUE(r && r->fallo);
    EXPECT_EQ(r->fallo->numero, 5);
    EXPECT_TRUE(puertos_.registros.empty());
    ASSERT_TRUE(apertura_.coordinador.Patear({OrigenApertura::Tecla, "F12", &fijado}));
    ASSERT_EQ(puertos_.registros.size(), 1u);
    EXPECT_EQ(puertos_.registros[0].nombre, "C:\\Caja\\puerto.txt");
}

}  // namespace
