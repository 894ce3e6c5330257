#include <gtest/gtest.h>

#include <deque>

#include "tests/support/FakeDialogs.h"
#include "tests/support/FakePoliticas.h"
#include "tests/support/FakeVista.h"
#include "tests/support/Fakes.h"
#include "ui/Ordenes.h"
#include "ui/frmAbrirCajon.h"

namespace {

// A printer that gives its answers in turn, then none.
struct FakeEstado : ConsultaEstado {
    std::optional<std::uint8_t> Preguntar(const DestinoEstado&, std::string_view,
                                          std::chrono::milliseconds) noexcept override {
        if (respuestas.empty()) return std::nullopt;
        const auto r = respuestas.front();
        respuestas.pop_front();
        return r;
    }
    std::deque<std::optional<std::uint8_t>> respuestas;
};
struct SinAvisos : AvisosCajon {
    void Abierto() override {}
    void Aviso(int) override {}
    void Cerrado() override {}
};

struct SensorPrincipalTest : ::testing::Test {
    frmAbrirCajon Form(const std::string& sensor, AlmacenPoliticas* politicas = nullptr) {
        perfil_.valores["KovraSensor"] = sensor;
        perfil_.valores["KovraPuerto"] = "COM3:";
        perfil_.valores["KovraTipo"] = "0";
        perfil_.valores["PrinterDeviceName"] = "Caja";
        impresora_.instaladas = {"Caja"};
        ServiciosPrincipal s{perfil_, puertos_, impresora_, dialogs_, selector_,
                             teclas_, bandeja_, "C:\\Caja", ","};
        s.sensor = &vigilante_;
        s.estado = &estado_;
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
    FakeEstado estado_;
    SinAvisos avisos_;
    VigilanteCajon vigilante_{estado_, avisos_, [](const ResultadoApertura&) {}};
};

TEST_F(SensorPrincipalTest, ABadKovraSensorGivesOneBoxAtStartNamingTheValue) {
    Form("3").Form_Load();
    ASSERT_EQ(dialogs_.cajas.size(), 1u);
    EXPECT_EQ(dialogs_.cajas[0].texto, TextoSensorNoValido("3"));
    dialogs_.cajas.clear();
    Form("2").Form_Load();
    EXPECT_TRUE(dialogs_.cajas.empty());
}

TEST_F(SensorPrincipalTest, TheCheckWritesTheValueThatTheChangeShows) {
    auto form = Form("0");
    form.Form_Load();
    estado_.respuestas = {0x16, 0x12};  // pin 3 high while closed, low once open
    form.ComprobarSensor();
    EXPECT_EQ(perfil_.valores["KovraSensor"], "2");
    ASSERT_EQ(puertos_.registros.size(), 1u);
    EXPECT_EQ(puertos_.registros[0].nombre, "\\\\.\\COM3|");
    EXPECT_EQ(dialogs_.cajas.back().texto,
              "Este cajón necesita KovraSensor=2. Guardado en el archivo de parámetros.");
}

TEST_F(SensorPrincipalTest, NoCheckWhenThePolicySetsTheSensor) {
    FakePoliticas politicas;
    politicas.Equipo("KovraSensor", FakePoliticas::Numero(1));
    auto form = Form("0", &politicas);
    form.Form_Load();
    estado_.respuestas = {0x16, 0x12};
    form.ComprobarSensor();
    EXPECT_TRUE(dialogs_.cajas.empty());
    EXPECT_TRUE(puertos_.registros.empty());
}

}  // namespace
