#include <gtest/gtest.h>

#include "settings/InformeError.h"
#include "tests/support/FakeDialogs.h"

namespace {

TEST(InformeError, LongAndShortFormsAreExact) {
    EXPECT_EQ(TextoExcepcionControlada(Fallo(5, "D"), "EstadoControles", 20),
              "Excepción Controlada: 5 (D) en procedimiento EstadoControles de Formulario Form1 "
              "Linea:20");
    EXPECT_EQ(TextoExcepcionControlada(Fallo(-2147024891, "Acceso denegado"), "Form_Load", 14),
              "Excepción Controlada: -2147024891 (Acceso denegado) en procedimiento Form_Load de "
              "Formulario Form1 Linea:14");
    EXPECT_EQ(TextoFalloModulo(Fallo(7, "Memoria insuficiente")),
              "7 (Memoria insuficiente) en procedimiento VRXGetPrivateProfileString of Módulo "
              "modFunGenerales");
}

TEST(ProcedimientoGuardado, AFailureStopsTheBodyAndIsReportedOnceWithItsStep) {
    FakeDialogs dialogs;
    std::vector<int> pasos;
    const bool ok = ProcedimientoGuardado(dialogs, "EstadoControles", [&](Linea& linea) {
        linea = 10;
        pasos.push_back(10);
        linea = 20;
        throw Fallo(5, "D");
        pasos.push_back(20);  // NOLINT: must not run
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(pasos, std::vector<int>{10});
    ASSERT_EQ(dialogs.cajas.size(), 1u);
    EXPECT_EQ(dialogs.cajas[0].tipo, "report");
    EXPECT_EQ(dialogs.cajas[0].texto,
              "Excepción Controlada: 5 (D) en procedimiento EstadoControles de Formulario Form1 "
              "Linea:20");
}

TEST(ProcedimientoGuardado, ABodyThatSucceedsShowsNothing) {
    FakeDialogs dialogs;
    EXPECT_TRUE(ProcedimientoGuardado(dialogs, "Form_Load", [](Linea& linea) { linea = 10; }));
    EXPECT_TRUE(dialogs.cajas.empty());
}

TEST(ProcedimientoGuardado, ForeignExceptionsBecomeNumberedFailures) {
    FakeDialogs dialogs;
    ProcedimientoGuardado(dialogs, "Form_Resize", [](Linea&) { throw std::bad_alloc(); });
    ProcedimientoGuardado(dialogs, "Form_Resize", [](Linea& linea) {
        linea = 30;
        throw std::out_of_range("vector");
    });
    ASSERT_EQ(dialogs.cajas.size(), 2u);
    EXPECT_EQ(dialogs.cajas[0].texto,
              "Excepción Controlada: 7 (Memoria insuficiente) en procedimiento Form_Resize de "
              "Formulario Form1 Linea:0");
    EXPECT_EQ(dialogs.cajas[1].texto,
              "Excepción Controlada: 51 (Error interno: vector) en procedimiento Form_Resize de "
              "Formulario Form1 Linea:30");
}

TEST(ProcedimientoGuardado, AFailureOfTheReportReachesTheCaller) {
    struct DialogsRotos : FakeDialogs {
        void Report(const std::string&) override { throw Fallo(1, "sin caja"); }
    } dialogs;
    EXPECT_THROW(
        ProcedimientoGuardado(dialogs, "PonerSystray", [](Linea&) { throw Fallo(2, "x"); }), Fallo);
}

}  // namespace
