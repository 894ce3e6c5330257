#include <gtest/gtest.h>

#include "drawer/EnviarApertura.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/Fakes.h"

namespace {

using Escrituras = std::vector<std::string>;

class EnviarAperturaTest : public ::testing::Test {
  protected:
    void Kick() { EnviarApertura(controles_, {puertos_, impresora_, parametros_, dialogs_}); }
    const FakePorts::Registro& Unico() {
        EXPECT_EQ(puertos_.registros.size(), 1u);
        return puertos_.registros.at(0);
    }
    std::string MensajeUnico() {
        EXPECT_EQ(dialogs_.cajas.size(), 1u);
        if (dialogs_.cajas.empty()) return {};
        EXPECT_EQ(dialogs_.cajas[0].tipo, "stop");
        return dialogs_.cajas[0].texto;
    }

    FakeControles controles_;
    FakePorts puertos_;
    FakePrinting impresora_;
    MemoryProfile perfil_;
    FakeDialogs dialogs_;
    Parametros parametros_{perfil_, dialogs_};
};

struct Modo {
    bool todoJunto;
    bool conPuntoyComa;
    Escrituras esperadas;
};

TEST_F(EnviarAperturaTest, WritesTheDefaultSequenceInEachOfTheFourModes) {
    const Modo modos[] = {
        {true, true, {std::string("\x1B\x70\x00\x0A\x64", 5)}},
        {true, false, {std::string("\x1B\x70\x00\x0A\x64\r\n", 7)}},
        {false, true, {"\x1B", "\x70", std::string(1, '\0'), "\x0A", "\x64"}},
        {false, false, {"\x1B\r\n", "\x70\r\n", std::string("\0\r\n", 3), "\x0A\r\n", "\x64\r\n"}},
    };
    for (const auto& m : modos) {
        puertos_.registros.clear();
        controles_.todoJunto = m.todoJunto;
        controles_.conPuntoyComa = m.conPuntoyComa;
        Kick();
        ASSERT_EQ(puertos_.registros.size(), 1u);
        const auto& r = puertos_.registros[0];
        EXPECT_EQ(r.nombre, "LPT1:");
        EXPECT_EQ(r.escrituras, m.esperadas)
            << "todoJunto=" << m.todoJunto << " ;=" << m.conPuntoyComa;
        EXPECT_TRUE(r.cerrado);
    }
    EXPECT_TRUE(dialogs_.cajas.empty());
}

TEST_F(EnviarAperturaTest, SendsAnyByteValueAsItIs) {
    controles_.ascii = "0 255 128 10 13";
    Kick();
    EXPECT_EQ(Unico().escrituras, Escrituras{std::string("\x00\xFF\x80\x0A\x0D", 5)});
}

TEST_F(EnviarAperturaTest, AnEmptySequenceOpensAndClosesThePort) {
    controles_.ascii = "";
    const Modo modos[] = {
        {true, true, {""}}, {true, false, {"\r\n"}}, {false, true, {}}, {false, false, {}}};
    for (const auto& m : modos) {
        puertos_.registros.clear();
        controles_.todoJunto = m.todoJunto;
        controles_.conPuntoyComa = m.conPuntoyComa;
        Kick();
        EXPECT_EQ(Unico().escrituras, m.esperadas);
        EXPECT_TRUE(Unico().cerrado);
    }
    EXPECT_TRUE(dialogs_.cajas.empty());
}

struct CasoFallo {
    std::string ascii;
    bool todoJunto;
    bool conPuntoyComa;
    Escrituras antes;  // what reached the port before the failure
    std::string primeraLinea;
};

TEST_F(EnviarAperturaTest, ABadItemStopsTheKickAfterWhatTheModeHadWritten) {
    const std::string tipos = "13.No coinciden los tipos";
    const CasoFallo casos[] = {
        {"27 112  0 10 100", false, true, {"\x1B", "\x70"}, tipos},
        {"27 112  0 10 100", false, false, {"\x1B\r\n", "\x70\r\n"}, tipos},
        {"27 112  0 10 100", true, true, {}, tipos},
        {"27 112  0 10 100", true, false, {}, tipos},
        {"27 112 0 10 100 ",
         false,
         true,
         {"\x1B", "\x70", std::string(1, '\0'), "\x0A", "\x64"},
         tipos},
        {"27 112 0 10 100 ", true, true, {}, tipos},
        {"27 256", false, true, {"\x1B"}, "5.Llamada a procedimiento o argumento no válidos"},
        {"-1", false, true, {}, "5.Llamada a procedimiento o argumento no válidos"},
        {"27 A", false, true, {"\x1B"}, tipos},
        {"27 99999999999", false, true, {"\x1B"}, "6.Desbordamiento"},
        {"27 99999999999", true, false, {}, "6.Desbordamiento"},
        {std::string(100000, ' '), true, true, {}, tipos},
        {"27 " + std::string(4000, '9'), false, true, {"\x1B"}, "6.Desbordamiento"},
    };
    for (const auto& c : casos) {
        puertos_.registros.clear();
        dialogs_.cajas.clear();
        controles_.ascii = c.ascii;
        controles_.todoJunto = c.todoJunto;
        controles_.conPuntoyComa = c.conPuntoyComa;
        Kick();
        const auto& r = Unico();
        EXPECT_EQ(r.escrituras, c.antes) << c.ascii.substr(0, 20);
        EXPECT_FALSE(r.cerrado);
        EXPECT_TRUE(r.destruido) << "the port must be released before the message";
        EXPECT_EQ(MensajeUnico(), c.primeraLinea + "\r\nPuerto:LPT1:\r\nLínea: 0");
    }
}

TEST_F(EnviarAperturaTest, PortFailuresCarryTheirNumberAndThePortName) {
    controles_.puerto = "COM7:";
    puertos_.fallarAlAbrir = true;
    Kick();
    EXPECT_TRUE(puertos_.registros.empty());
    EXPECT_EQ(MensajeUnico(),
              "2.No se encuentra el dispositivo o el archivo\r\nPuerto:COM7:\r\nLínea: 0");

    dialogs_.cajas.clear();
    puertos_.fallarAlAbrir = false;
    puertos_.fallarEnEscritura = 2;
    controles_.todoJunto = false;
    Kick();
    EXPECT_EQ(Unico().escrituras, (Escrituras{"\x1B", "\x70"}));
    EXPECT_TRUE(Unico().destruido);
    EXPECT_EQ(MensajeUnico(),
              "29.Error de escritura en el dispositivo\r\nPuerto:COM7:\r\nLínea: 0");

    dialogs_.cajas.clear();
    puertos_.registros.clear();
    puertos_.fallarEnEscritura.reset();
    puertos_.fallarAlCerrar = true;
    Kick();
    EXPECT_EQ(Unico().escrituras.size(), 5u);
    EXPECT_EQ(MensajeUnico(), "31.El dispositivo no funciona\r\nPuerto:COM7:\r\nLínea: 0");
}

TEST_F(EnviarAperturaTest, ThePrinterPathIgnoresTheSequenceAndThePort) {
    controles_.printer = true;
    controles_.ascii = "27  basura 999999999999";
    controles_.todoJunto = false;
    impresora_.instaladas = {"Caja"};
    impresora_.actual = 0;
    Kick();
    EXPECT_TRUE(puertos_.registros.empty());
    EXPECT_TRUE(dialogs_.cajas.empty());
    EXPECT_EQ(impresora_.llamadas, (Escrituras{"Print(|1)", "Print(|1)", "EndDoc"}));
}

TEST_F(EnviarAperturaTest, APrinterFailureShowsTheKickMessageWithThePortLine) {
    controles_.printer = true;
    impresora_.fallarAlImprimir = true;
    Kick();
    EXPECT_EQ(MensajeUnico(),
              "1801.El nombre de la impresora no es válido\r\nPuerto:LPT1:\r\nLínea: 0");
    EXPECT_EQ(impresora_.llamadas, Escrituras{"KillDoc"})
        << "the job is dropped; EndDoc is not called after a failure";
}

}  // namespace
