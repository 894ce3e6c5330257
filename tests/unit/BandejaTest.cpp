#include <gtest/gtest.h>

#include "tests/support/AperturaDePrueba.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeVista.h"
#include "tests/support/Fakes.h"
#include "ui/frmAbrirCajon.h"

namespace {

TEST(CampoTip, CaptionThenNulThenBlanksOrCutTo64) {
    const auto tip = CampoTip("Apertura caj\xF3n");
    EXPECT_EQ(std::string(tip.data(), 14), "Apertura caj\xF3n");
    EXPECT_EQ(tip[14], '\0');
    EXPECT_EQ(std::string(tip.data() + 15, 49), std::string(49, ' '));

    const auto largo = CampoTip(std::string(70, 'x'));
    EXPECT_EQ(std::string(largo.data(), 64), std::string(64, 'x'));
    const auto justo = CampoTip(std::string(64, 'y'));
    EXPECT_EQ(std::string(justo.data(), 64), std::string(64, 'y')) << "64 characters carry no NUL";
    const auto casi = CampoTip(std::string(63, 'z'));
    EXPECT_EQ(casi[63], '\0');
}

TEST(CodigoDeEvento, ReadsPixelsOrTwipsRoundingHalfToEven) {
    EXPECT_EQ(CodigoDeEvento(515, true, 15), 515);
    EXPECT_EQ(CodigoDeEvento(515 * 15, false, 15), 515);
    EXPECT_EQ(CodigoDeEvento(517 * 10, false, 10), 517);
    EXPECT_EQ(CodigoDeEvento(7.5, false, 15), 0);   // 0.5 -> 0
    EXPECT_EQ(CodigoDeEvento(22.5, false, 15), 2);  // 1.5 -> 2
    EXPECT_EQ(CodigoDeEvento(37.5, false, 15), 2);  // 2.5 -> 2
    EXPECT_EQ(CodigoDeEvento(1e300, true, 15), -1);
}

class BandejaTest : public ::testing::Test {
  protected:
    BandejaTest() {
        vista_.alRedimensionar = [this] { form_.Form_Resize(); };
        form_.FijarIdentidad(0xABCD, 0x77, false, 15);
    }
    void Evento(int codigo) { form_.Form_MouseMove(codigo * 15.0); }

    FakeVista vista_;
    MemoryProfile perfil_;
    FakePorts puertos_;
    FakePrinting impresora_;
    FakeDialogs dialogs_;
    struct : SelectorImpresora {
        void Mostrar(std::string&) override {}
    } selector_;
    FakeKeys teclas_;
    FakeTray bandeja_;
    AperturaDePrueba apertura_{perfil_, puertos_, impresora_, dialogs_, "C:"};
    frmAbrirCajon form_{vista_,
                        {perfil_, apertura_.coordinador, impresora_, dialogs_, selector_, teclas_,
                         bandeja_, "C:", "."}};
};

TEST_F(BandejaTest, MinimizingHidesTheWindowAndAddsTheIcon) {
    form_.Command1_Click();
    EXPECT_FALSE(vista_.visible);
    EXPECT_TRUE(bandeja_.presente);
    const RegistroIcono& r = bandeja_.ultimo;
    EXPECT_EQ(r.cbSize, 88u);
    EXPECT_EQ(r.hWnd, 0xABCDu);
    EXPECT_EQ(r.uID, 1u);
    EXPECT_EQ(r.uFlags, 7u);
    EXPECT_EQ(r.uCallbackMessage, 512u);
    EXPECT_EQ(r.hIcon, 0x77u);
    EXPECT_EQ(std::string(r.szTip.data()), "Apertura caj\xF3n");
    EXPECT_TRUE(dialogs_.cajas.empty());
}

TEST_F(BandejaTest, DoubleClickOrRightReleaseBringsTheWindowBack) {
    for (int codigo : {515, 517}) {
        form_.Command1_Click();
        vista_.eventos.clear();
        bandeja_.acciones.clear();
        Evento(codigo);
        EXPECT_EQ(vista_.eventos, (std::vector<std::string>{"estado=0", "frente", "mostrar"}))
            << codigo;
        EXPECT_EQ(bandeja_.acciones, std::vector<std::string>{"delete"})
            << "the resize removes the icon";
        EXPECT_FALSE(bandeja_.presente);
        EXPECT_TRUE(vista_.visible);
    }
}

TEST_F(BandejaTest, OtherMouseCodesDoNothing) {
    form_.Command1_Click();
    vista_.eventos.clear();
    for (int codigo : {512, 513, 514, 516, 518, 0, 1000}) Evento(codigo);
    EXPECT_TRUE(vista_.eventos.empty());
    EXPECT_TRUE(bandeja_.presente);
}

TEST_F(BandejaTest, WithNoIconA515Or517IsOnlyTheMousePassingOver) {
    Evento(515);  // shown; then minimized on the taskbar, the icon refused
    bandeja_.acepta = false;
    form_.Command1_Click();
    Evento(517);
    EXPECT_EQ(vista_.eventos, (std::vector<std::string>{"estado=1", "ocultar", "mostrar"}))
        << "the minimize only: nothing brought to the front";
}

TEST_F(BandejaTest, WhenTheIconCannotBeAddedTheWindowStaysOnTheTaskbar) {
    bandeja_.acepta = false;
    form_.Command1_Click();
    EXPECT_EQ(vista_.estado, kVentanaMinimizada);
    EXPECT_TRUE(vista_.visible) << "never hidden with no icon";
    vista_.FijarWindowState(kVentanaNormal);
    bandeja_.acepta = true;
    form_.Command1_Click();
    EXPECT_FALSE(vista_.visible);
    EXPECT_TRUE(bandeja_.presente);
}

TEST_F(BandejaTest, ARestartedShellGetsTheIconBackOnlyWhileMinimized) {
    form_.TaskbarCreated();
    EXPECT_TRUE(bandeja_.acciones.empty()) << "shown: no icon to re-add";
    form_.Command1_Click();
    bandeja_.presente = false;  // the shell lost it
    form_.TaskbarCreated();
    EXPECT_TRUE(bandeja_.presente);
    EXPECT_EQ(bandeja_.acciones, (std::vector<std::string>{"add", "add"}));
}

TEST_F(BandejaTest, ARestartedShellThatRefusesTheIconLeavesTheWindowOnTheTaskbar) {
    form_.Command1_Click();
    ASSERT_FALSE(vista_.visible);
    bandeja_.presente = false;  // the shell lost it, and its new area refuses it
    bandeja_.acepta = false;
    form_.TaskbarCreated();
    EXPECT_TRUE(vista_.visible) << "never hidden with no icon";
    EXPECT_EQ(vista_.estado, kVentanaMinimizada);
    // A later area that takes the icon takes the window back into it.
    bandeja_.acepta = true;
    form_.TaskbarCreated();
    EXPECT_FALSE(vista_.visible);
    EXPECT_TRUE(bandeja_.presente);
    EXPECT_TRUE(dialogs_.cajas.empty());
}

TEST_F(BandejaTest, ASecondCopyBringsTheWindowBackFromTheIcon) {
    form_.Command1_Click();
    vista_.eventos.clear();
    form_.MostrarVentana();
    EXPECT_EQ(vista_.eventos, (std::vector<std::string>{"estado=0", "frente", "mostrar"}));
    EXPECT_FALSE(bandeja_.presente);
    EXPECT_TRUE(vista_.visible);
}

TEST_F(BandejaTest, AFailureWhileAddingIsReportedWithItsStep) {
    struct VistaSinCaption : FakeVista {
        std::string Caption() const override {
            throw Fallo(91, "Variable de objeto no establecida");
        }
    } vista;
    frmAbrirCajon form(vista, {perfil_, apertura_.coordinador, impresora_, dialogs_, selector_,
                               teclas_, bandeja_, "C:", "."});
    vista.alRedimensionar = [&] { form.Form_Resize(); };
    form.Command1_Click();
    ASSERT_EQ(dialogs_.cajas.size(), 1u);
    EXPECT_EQ(dialogs_.cajas[0].texto,
              "Excepción Controlada: 91 (Variable de objeto no establecida) en procedimiento "
              "PonerSystray de "
              "Formulario Form1 Linea:80");
    EXPECT_FALSE(bandeja_.presente);
    EXPECT_TRUE(vista.visible) << "no icon: the window stays reachable";
}

}  // namespace
