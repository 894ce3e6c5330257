#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <thread>

#include "tests/support/AperturaDePrueba.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakePoliticas.h"
#include "tests/support/FakeSensor.h"
#include "tests/support/FakeVista.h"
#include "tests/support/Fakes.h"
#include "ui/Ordenes.h"
#include "ui/frmAbrirCajon.h"

namespace {

struct SensorPrincipalTest : ::testing::Test {
    frmAbrirCajon Form(const std::string& sensor, AlmacenPoliticas* politicas = nullptr) {
        perfil_.valores["KovraSensor"] = sensor;
        perfil_.valores["KovraPuerto"] = "COM3:";
        perfil_.valores["KovraTipo"] = "0";
        perfil_.valores["PrinterDeviceName"] = "Caja";
        impresora_.instaladas = {"Caja"};
        apertura_.emplace_back(perfil_, puertos_, impresora_, dialogs_, "C:\\Caja", politicas);
        ServiciosPrincipal s{perfil_,    apertura_.back().coordinador,
                             impresora_, dialogs_,
                             selector_,  teclas_,
                             bandeja_,   "C:\\Caja",
                             ","};
        s.sensor = &vigilante_;
        s.politicas = politicas;
        return frmAbrirCajon(vista_, s);
    }
    FakeVista vista_;
    MemoryProfile perfil_;
    FakePorts puertos_;
    FakePrinting impresora_;
    FakeDialogs dialogs_;
    SinSelector selector_;
    FakeKeys teclas_;
    FakeTray bandeja_;
    std::deque<AperturaDePrueba> apertura_;  // one for each window made
    ImpresoraGuion estado_;                  // silent: the watcher's questions find nothing
    AvisosAnotados avisos_;
    VigilanteCajon vigilante_{estado_, avisos_, [](const ResultadoApertura&) {}};
};

TEST_F(SensorPrincipalTest, ABadKovraSensorGivesOneBoxAtStartNamingTheValue) {
    estado_.muda = {{0, 1}};
    Form("3").Form_Load();
    ASSERT_EQ(dialogs_.cajas.size(), 1u);
    EXPECT_EQ(dialogs_.cajas[0].texto, TextoSensorNoValido("3"));
    dialogs_.cajas.clear();
    Form("2").Form_Load();
    EXPECT_TRUE(dialogs_.cajas.empty());
}

TEST_F(SensorPrincipalTest, TheCheckKicksWhenTheWatcherSaysAndWritesWhatItFound) {
    estado_.muda = {{0, 1}};
    auto form = Form("0");
    form.Form_Load();
    SensorPrincipal& sensor = form.Sensor();
    ASSERT_TRUE(sensor.Comprobable());
    form.ComprobarSensor();
    EXPECT_EQ(dialogs_.cajas.back().texto,
              "Cierre el cajón y pulse Aceptar. Se abrirá una vez para comprobar el sensor.");
    EXPECT_FALSE(sensor.Comprobable()) << "greyed while it runs";
    sensor.PatadaDeComprobacion();  // the watcher's turn, on the window's thread
    ASSERT_EQ(puertos_.registros.size(), 1u);
    EXPECT_EQ(puertos_.registros[0].nombre, "\\\\.\\COM3|");
    sensor.Comprobado(ModoSensor::PinBajo, true);
    EXPECT_EQ(perfil_.valores["KovraSensor"], "2");
    EXPECT_EQ(dialogs_.cajas.back().texto,
              "Este cajón necesita KovraSensor=2. Guardado en el archivo de parámetros.");
    EXPECT_TRUE(sensor.Comprobable());

    perfil_.valores["KovraBloqueado"] = "1";
    const auto cajas = dialogs_.cajas.size();
    EXPECT_FALSE(sensor.Comprobable());
    form.ComprobarSensor();
    EXPECT_EQ(dialogs_.cajas.size(), cajas) << "greyed with KovraBloqueado";
}

TEST_F(SensorPrincipalTest, TheProgramsIconTipIsTheCaptionWithoutTheSensorsSuffix) {
    auto form = Form("1");
    form.Form_Load();
    for (const char* sufijo : {kSufijoCajonAbierto, kSufijoComprobando}) {
        vista_.caption = std::string(kCaptionPrincipal) + sufijo;
        vista_.FijarWindowState(kVentanaMinimizada);
        form.Form_Resize();
        EXPECT_STREQ(bandeja_.ultimo.szTip.data(), "Apertura caj\xF3n") << sufijo;
        vista_.FijarWindowState(kVentanaNormal);
        form.Form_Resize();
    }
}

TEST_F(SensorPrincipalTest, AKickWaitsForAPortOpeningThatAQuestionLeftBehind) {
    using namespace std::chrono_literals;
    auto form = Form("1");
    form.Form_Load();
    estado_.abriendo = true;
    std::thread abierta([&] {
        std::this_thread::sleep_for(200ms);
        estado_.abriendo = false;
    });
    bool libre = false;
    puertos_.alEscribir = [&] { libre = !estado_.abriendo; };
    form.Command_Click();
    abierta.join();
    EXPECT_TRUE(libre) << "the kick went out while the port was still held";

    // An opening that never ends holds the kick back 1.5 s, no more.
    estado_.abriendo = true;
    const auto antes = std::chrono::steady_clock::now();
    form.Command_Click();
    EXPECT_LT(std::chrono::steady_clock::now() - antes, 3s);
    EXPECT_EQ(puertos_.registros.size(), 2u);
    estado_.abriendo = false;
}

TEST_F(SensorPrincipalTest, NoCheckWhenThePolicySetsTheSensor) {
    FakePoliticas politicas;
    politicas.Equipo("KovraSensor", FakePoliticas::Numero(1));
    estado_.muda = {{0, 1}};
    auto form = Form("0", &politicas);
    form.Form_Load();
    EXPECT_FALSE(form.Sensor().Comprobable());
    form.ComprobarSensor();
    EXPECT_TRUE(dialogs_.cajas.empty());
    EXPECT_TRUE(puertos_.registros.empty());
}

}  // namespace
