#include <gtest/gtest.h>

#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeRegistro.h"
#include "tests/support/FakeVista.h"
#include "tests/support/Fakes.h"
#include "ui/Ordenes.h"

namespace {

using namespace std::string_literals;

TEST(OrdenesTest, TheCommandLineGivesOneOrder) {
    const std::pair<std::vector<std::string>, Orden> casos[] = {
        {{}, Orden::Ninguna},
        {{"/abrir"}, Orden::Abrir},
        {{"-abrir"}, Orden::Abrir},
        {{"/ABRIR"}, Orden::Abrir},
        {{"-AbRiR"}, Orden::Abrir},
        {{"/salir"}, Orden::Salir},
        {{"-SALIR"}, Orden::Salir},
        {{"/nada"}, Orden::NoValida},
        {{"abrir"}, Orden::NoValida},
        {{"//abrir"}, Orden::NoValida},
        {{"/abrir "}, Orden::NoValida},
        {{""}, Orden::NoValida},
        {{"/"}, Orden::NoValida},
        {{"/abrir", "/salir"}, Orden::NoValida},
        {{"/abrir", "/abrir"}, Orden::NoValida},
    };
    for (const auto& [argumentos, orden] : casos) {
        EXPECT_EQ(LeerOrden(argumentos), orden) << ::testing::PrintToString(argumentos);
    }
}

TEST(OrdenesTest, TheExitCodeIsTheStopMessagesNumber) {
    const std::pair<std::optional<Fallo>, int> casos[] = {
        {std::nullopt, 0},  {Fallo(2, "x"), 2},     {Fallo(482, "x"), 482},
        {Fallo(0, "x"), 1}, {Fallo(-2147, "x"), 1},
    };
    for (const auto& [fallo, codigo] : casos) {
        EXPECT_EQ(CodigoDeSalida({ViaApertura::Puerto, "LPT1:", fallo}), codigo);
    }
}

struct FakeCopia : CopiaAbierta {
    bool Hay() override { return hay; }
    std::optional<int> Abrir() override {
        llamadas += "abrir ";
        return respuesta;
    }
    bool Salir() override {
        llamadas += "salir ";
        return termina;
    }
    bool hay = true, termina = true;
    std::optional<int> respuesta;
    std::string llamadas;
};

TEST(OrdenesTest, EachOrderGoesToTheRunningCopyOrIsCarriedOutHere) {
    struct Caso {
        Orden orden;
        bool hay, termina;
        std::optional<int> respuesta, codigo;
        std::string llamadas;
    };
    const Caso casos[] = {
        {Orden::Ninguna, true, true, 0, std::nullopt, ""},
        {Orden::NoValida, true, true, 0, 87, "uso "},
        {Orden::Abrir, true, true, 0, 0, "abrir "},
        {Orden::Abrir, true, true, 170, 170, "abrir "},
        {Orden::Abrir, true, true, std::nullopt, 1460, "abrir "},
        {Orden::Abrir, false, true, 0, 482, "aqui "},
        {Orden::Salir, true, true, 0, 0, "salir "},
        {Orden::Salir, true, false, 0, 1460, "salir "},
        {Orden::Salir, false, true, 0, 1, ""},
    };
    for (const auto& c : casos) {
        FakeCopia copia;
        copia.hay = c.hay, copia.termina = c.termina, copia.respuesta = c.respuesta;
        FakeDialogs dialogs;
        const auto codigo = CumplirOrden(c.orden, copia, dialogs, [&] {
            copia.llamadas += "aqui ";
            return 482;
        });
        for (const auto& caja : dialogs.cajas)
            copia.llamadas += caja.texto == kTextoUso ? "uso " : "?";
        EXPECT_EQ(codigo, c.codigo) << c.llamadas;
        EXPECT_EQ(copia.llamadas, c.llamadas);
    }
}

// The opening of a process started with /abrir and no copy running, and the
// order as a running copy takes it.
class AbrirPorOrdenTest : public ::testing::Test {
  protected:
    AbrirPorOrdenTest() {
        perfil_.valores = {
            {"KovraTipo", "2"}, {"KovraPuerto", "COM3:"}, {"PrinterDeviceName", "Ida"}};
        impresora_.instaladas = {"Caja"};
        impresora_.actual = 0;
    }
    ServiciosPrincipal Servicios(Dialogs& dialogs) {
        return {perfil_, puertos_, impresora_, dialogs, selector_,
                teclas_, bandeja_, "C:\\Caja", ",",     &aperturas_};
    }
    std::string Registro() {
        aperturas_.EscribirPendientes();
        return archivos_.archivos["C:\\Caja\\INIS\\APERTURAS.CSV"];
    }
    MemoryProfile perfil_;
    FakePorts puertos_;
    FakePrinting impresora_;
    FakeKeys teclas_;
    FakeTray bandeja_;
    FakeClock reloj_;
    FakeSession sesion_;
    FakeTextFiles archivos_;
    RegistroAperturas aperturas_{reloj_, sesion_, archivos_, perfil_};
    struct : SelectorImpresora {
        void Mostrar(std::string&) override { ++mostrado; }
        int mostrado = 0;
    } selector_;
};

TEST_F(AbrirPorOrdenTest, WithoutACopyTheStartUpsKickGoesOutAndNothingIsShownOrWritten) {
    FakeDialogs dialogs;
    FakeVista vista;
    EXPECT_EQ(AbrirSinVentana(vista, Servicios(dialogs)), 0);
    ASSERT_EQ(puertos_.registros.size(), 1u);
    EXPECT_EQ(puertos_.registros[0].nombre, "COM3:");
    EXPECT_EQ(puertos_.registros[0].escrituras, std::vector<std::string>{"\x1b\x70\x00\x0a\x64"s});
    EXPECT_EQ(selector_.mostrado, 0);
    EXPECT_TRUE(perfil_.escrituras.empty());
    EXPECT_TRUE(dialogs.cajas.empty());
    EXPECT_EQ(vista.eventos, std::vector<std::string>{});
    EXPECT_NE(Registro().find(";cajera;Orden /abrir;Puerto;COM3:;Enviado;"), std::string::npos);

    puertos_.fallarAlAbrir = true;
    EXPECT_EQ(AbrirSinVentana(vista, Servicios(dialogs)), 2);
    ASSERT_EQ(dialogs.cajas.size(), 1u);
    EXPECT_EQ(dialogs.cajas[0].tipo, "stop");
}

TEST_F(AbrirPorOrdenTest, TheRunningCopyAnswersBeforeTheBoxAndIsBusyWhileItIsOpen) {
    struct : FakeDialogs {
        void Stop(const std::string& t) override {
            FakeDialogs::Stop(t);
            if (alAbrirCaja) alAbrirCaja();
        }
        std::function<void()> alAbrirCaja;
    } dialogs;
    FakeVista vista;
    frmAbrirCajon form(vista, Servicios(dialogs));
    form.Form_Load();
    puertos_.fallarAlAbrir = true;
    std::vector<std::string> respuestas;
    const auto responder = [&](int c) {
        respuestas.push_back(std::to_string(c) + "/" + std::to_string(dialogs.cajas.size()));
    };
    dialogs.alAbrirCaja = [&] { respuestas.push_back(std::to_string(form.OrdenAbrir(responder))); };
    EXPECT_EQ(form.OrdenAbrir(responder), 2);
    EXPECT_EQ(respuestas, (std::vector<std::string>{"2/0", "170/1", "170"}));
    EXPECT_EQ(dialogs.cajas.size(), 1u) << "the busy order sends nothing and shows no box";
    EXPECT_EQ(vista.eventos, std::vector<std::string>{}) << "the window stays as it was";
}

}  // namespace
