#include <gtest/gtest.h>

#include "drawer/ElegirImpresora.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/Fakes.h"

namespace {

// Stands in for the chooser: optionally accepts a row, and records each showing.
struct FakeSelector : SelectorImpresora {
    explicit FakeSelector(FakePrinting& p) : impresora(p) {}
    void Mostrar(std::string& SelectedPrinterName) override {
        recibidos.push_back(SelectedPrinterName);
        if (aceptar) {
            impresora.MakeCurrent(*aceptar);
            SelectedPrinterName = impresora.CurrentDeviceName();
        }
    }
    FakePrinting& impresora;
    std::optional<int> aceptar;
    std::vector<std::string> recibidos;
};

class ElegirImpresoraTest : public ::testing::Test {
  protected:
    ElegirImpresoraTest() {
        impresora_.instaladas = {"Caja_PS", "Tickets", "caja_ps"};
        impresora_.actual = 1;  // the system default
    }
    void Elegir(bool seleccionar) {
        ElegirImpresora(seleccionar, parametros_, impresora_, selector_,
                        [this](const std::string& t) { titulo_ = t; });
    }

    FakePrinting impresora_;
    FakeSelector selector_{impresora_};
    MemoryProfile perfil_;
    FakeDialogs dialogs_;
    Parametros parametros_{perfil_, dialogs_};
    std::string titulo_ = "Enviar a printer";
};

TEST_F(ElegirImpresoraTest, ARememberedPrinterIsMadeCurrentSilently) {
    perfil_.valores["PrinterDeviceName"] = "caja_ps";
    Elegir(false);
    EXPECT_TRUE(selector_.recibidos.empty());
    EXPECT_EQ(impresora_.actual, 2);
    EXPECT_EQ(titulo_, "Enviar a: caja_ps");
    EXPECT_EQ(perfil_.escrituras, std::vector<std::string>{"PrinterDeviceName=caja_ps"});
}

TEST_F(ElegirImpresoraTest, AMissingOrDifferentlyCasedNameAsksTheUser) {
    for (const std::string nombre : {"", "CAJA_PS", "Borrada"}) {
        perfil_.valores["PrinterDeviceName"] = nombre;
        selector_.recibidos.clear();
        selector_.aceptar = 0;
        Elegir(false);
        EXPECT_EQ(selector_.recibidos, std::vector<std::string>{nombre});
        EXPECT_EQ(perfil_.valores["PrinterDeviceName"], "Caja_PS");
        EXPECT_EQ(titulo_, "Enviar a: Caja_PS");
    }
}

TEST_F(ElegirImpresoraTest, ClosingTheChooserKeepsAndSavesTheCurrentPrinter) {
    Elegir(false);
    EXPECT_EQ(selector_.recibidos.size(), 1u);
    EXPECT_EQ(perfil_.valores["PrinterDeviceName"], "Tickets");
    EXPECT_EQ(titulo_, "Enviar a: Tickets");
}

TEST_F(ElegirImpresoraTest, SeleccionarAlwaysShowsTheChooser) {
    perfil_.valores["PrinterDeviceName"] = "Tickets";
    selector_.aceptar = 2;
    Elegir(true);
    EXPECT_EQ(selector_.recibidos, std::vector<std::string>{"Tickets"});
    EXPECT_EQ(titulo_, "Enviar a: caja_ps");
}

TEST_F(ElegirImpresoraTest, ALockedFileKeepsTheOldNameButTheChoiceHolds) {
    perfil_.valores = {{"PrinterDeviceName", "Vieja"}, {"KovraBloqueado", "1"}};
    selector_.aceptar = 0;
    Elegir(false);
    EXPECT_EQ(perfil_.valores["PrinterDeviceName"], "Vieja");
    EXPECT_EQ(titulo_, "Enviar a: Caja_PS");
}

TEST_F(ElegirImpresoraTest, NoPrinterAtAllPassesTheFailureOn) {
    impresora_.instaladas.clear();
    impresora_.actual.reset();
    EXPECT_THROW(Elegir(false), Fallo);
    EXPECT_EQ(titulo_, "Enviar a printer");
}

TEST_F(ElegirImpresoraTest, ANameTheFileCouldNotHoldFindsItsPrinter) {
    const auto cp1252 = [](std::string_view n) { return Cp1252ToUtf8(Utf8ToCp1252(n)); };
    using Caso =
        std::tuple<std::string, std::vector<std::string>, int>;  // remembered, installed, found
    for (const auto& [nombre, instaladas, indice] :
         {Caso{"Caja ?-80", {"Tickets", "Caja Ж-80"}, 1},
          Caso{"Caja ?-80", {"Caja Ж-80", "Caja ?-80"}, 1}, Caso{"caja ?-80", {"Caja Ж-80"}, -1},
          Caso{"", {"Caja Ж-80"}, -1}}) {
        EXPECT_EQ(BuscarImpresora(instaladas, nombre, cp1252), indice) << nombre;
    }
    impresora_.instaladas = {"Tickets", "Caja Ж-80"};
    perfil_.valores["PrinterDeviceName"] = "Caja ?-80";
    Elegir(false);
    EXPECT_TRUE(selector_.recibidos.empty()) << "no chooser at every start";
    EXPECT_EQ(titulo_, "Enviar a: Caja Ж-80");
}

TEST(A_GetPrinter, HandsBackWhatTheChooserLeft) {
    FakePrinting impresora;
    impresora.instaladas = {"A", "B"};
    impresora.actual = 0;
    FakeSelector selector(impresora);
    std::string nombre = "A";
    A_GetPrinter(nombre, false, impresora, selector);
    EXPECT_EQ(nombre, "A");
    EXPECT_TRUE(selector.recibidos.empty());
    selector.aceptar = 1;
    A_GetPrinter(nombre, true, impresora, selector);
    EXPECT_EQ(nombre, "B");
    selector.aceptar.reset();
    nombre = "";
    A_GetPrinter(nombre, false, impresora, selector);
    EXPECT_EQ(nombre, "") << "closed without accepting: the name comes back as it went in";
}

}  // namespace
