#include <gtest/gtest.h>

#include "tests/support/FakeDialogs.h"
#include "tests/support/Fakes.h"
#include "ui/frmPrinters.h"

namespace {

struct FakeLista : VistaPrinters {
    void AgregarFila(const std::string& t) override { filas.push_back(t); }
    void SeleccionarFila(int i) override { seleccionada = i; }
    int FilaSeleccionada() const override { return seleccionada; }
    void Cerrar() override { cerrada = true; }
    std::vector<std::string> filas;
    int seleccionada = -1;
    bool cerrada = false;
};

class frmPrintersTest : public ::testing::Test {
  protected:
    frmPrintersTest() {
        impresora_.instaladas = {"Zeta", "Caja", "caja", "Tickets"};
        impresora_.actual = 3;
    }
    frmPrinters Abrir(const std::string& nombre) {
        frmPrinters f(impresora_, dialogs_, lista_, nombre);
        f.Form_Load();
        return f;
    }

    FakePrinting impresora_;
    FakeDialogs dialogs_;
    FakeLista lista_;
};

TEST_F(frmPrintersTest, ListsEveryPrinterInTheSystemsOrderAndPreselectsByExactName) {
    const std::pair<std::string, int> casos[] = {
        {"Caja", 1}, {"caja", 2}, {"CAJA", -1}, {"", 3}, {"Borrada", -1}};
    for (const auto& [nombre, fila] : casos) {
        lista_ = FakeLista{};
        Abrir(nombre);
        EXPECT_EQ(lista_.filas, (std::vector<std::string>{"Zeta", "Caja", "caja", "Tickets"}));
        EXPECT_EQ(lista_.seleccionada, fila) << '"' << nombre << '"';
    }
}

TEST_F(frmPrintersTest, AceptarMakesTheSelectedRowCurrent) {
    auto f = Abrir("Caja");
    f.cmdAceptar_Click();
    EXPECT_EQ(impresora_.actual, 1);
    EXPECT_EQ(f.SelectedPrinterName(), "Caja");
    EXPECT_TRUE(lista_.cerrada);
}

TEST_F(frmPrintersTest, AceptarWithNoRowKeepsEverythingAndCloses) {
    auto f = Abrir("Nadie");
    f.cmdAceptar_Click();
    EXPECT_EQ(impresora_.actual, 3);
    EXPECT_EQ(f.SelectedPrinterName(), "Nadie");
    EXPECT_TRUE(lista_.cerrada);
    EXPECT_TRUE(dialogs_.cajas.empty());
}

TEST_F(frmPrintersTest, APrinterRemovedMeanwhileIsReportedAndTheChooserStays) {
    auto f = Abrir("Tickets");
    impresora_.instaladas.pop_back();
    f.cmdAceptar_Click();
    ASSERT_EQ(dialogs_.cajas.size(), 1u);
    EXPECT_EQ(dialogs_.cajas[0].texto,
              "Excepción Controlada: 5 (argumento) en procedimiento cmdAceptar_Click de Formulario "
              "Form1 Linea:10");
    EXPECT_FALSE(lista_.cerrada);
    EXPECT_EQ(f.SelectedPrinterName(), "Tickets");
}

TEST_F(frmPrintersTest, NoPrinterAtAllFailsTheLoad) {
    impresora_.instaladas.clear();
    impresora_.actual.reset();
    frmPrinters f(impresora_, dialogs_, lista_, "");
    EXPECT_THROW(f.Form_Load(), Fallo);
}

}  // namespace
