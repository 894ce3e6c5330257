// Win32Printing against the system's spooler without printing anything: the
// checks made before a printer is touched, and the printer list as the
// spooler gives it. Printing itself is checked end to end on CUPS queues
// (tests/e2e/test_printing.sh).

#include "platform/win32/Win32Printing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "platform/Fallo.h"

namespace {

constexpr float kInfinito = std::numeric_limits<float>::infinity();
constexpr float kNoNumero = std::numeric_limits<float>::quiet_NaN();

// Sizes a printer cannot take, for AlturaFuente and SetFontSize alike.
constexpr float kTamanosNoValidos[] = {kNoNumero, kInfinito, -kInfinito, 0.0f,    -0.0f,
                                       -1.0f,     -12.0f,    1638.01f,   1639.0f, 1.0e9f};

void EsperarFallo380(float puntos, auto&& llamada) {
    try {
        llamada();
        ADD_FAILURE() << "no failure for " << puntos << " points";
    } catch (const Fallo& fallo) {
        EXPECT_EQ(fallo.numero, errores::kValorPropiedadNoValido) << puntos;
        EXPECT_EQ(fallo.descripcion, "El valor de la propiedad no es válido") << puntos;
    }
}

TEST(AlturaFuente, PointsBecomeCharacterHeightInDevicePixels) {
    struct Caso {
        float puntos;
        int ppp;
        int altura;
    };
    constexpr Caso kCasos[] = {
        {12.0f, 72, -12},  {10.0f, 96, -13}, {10.0f, 300, -42},    {9.5f, 600, -79},
        {24.0f, 203, -68}, {8.0f, 180, -20}, {1638.0f, 72, -1638}, {1638.0f, 600, -13650},
        {0.01f, 300, -1},  {0.2f, 72, -1},   {1.0f, 1, -1},
    };
    for (const auto& c : kCasos) {
        EXPECT_EQ(AlturaFuente(c.puntos, c.ppp), c.altura) << c.puntos << " pt at " << c.ppp;
    }
}

TEST(AlturaFuente, SizesAPrinterCannotTakeFailWith380) {
    for (float puntos : kTamanosNoValidos) {
        EsperarFallo380(puntos, [&] { AlturaFuente(puntos, 300); });
    }
}

TEST(Win32Printing, FontSizeIsCheckedBeforeAnyDocument) {
    Win32Printing impresion;
    for (float puntos : kTamanosNoValidos) {
        EsperarFallo380(puntos, [&] { impresion.SetFontSize(puntos); });
    }
    // Valid sizes and any face are only remembered for the next document.
    for (float puntos : {0.01f, 1.0f, 12.5f, kTamanoFuenteMaximo}) {
        EXPECT_NO_THROW(impresion.SetFontSize(puntos)) << puntos;
    }
    EXPECT_NO_THROW(impresion.SetFontName("FontControl"));
    EXPECT_NO_THROW(impresion.SetFontName(""));
}

TEST(Win32Printing, EndDocWithoutDocumentDoesNothing) {
    Win32Printing impresion;
    EXPECT_NO_THROW(impresion.EndDoc());
    EXPECT_NO_THROW(impresion.EndDoc());
}

TEST(Win32Printing, IndexOutsideTheInstalledPrintersFailsWith5) {
    Win32Printing impresion;
    const int instaladas = static_cast<int>(impresion.InstalledPrinters().size());
    for (int indice : {-1, -100, instaladas, instaladas + 1, std::numeric_limits<int>::max(),
                       std::numeric_limits<int>::min()}) {
        try {
            impresion.MakeCurrent(indice);
            ADD_FAILURE() << "no failure for index " << indice << " of " << instaladas;
        } catch (const Fallo& fallo) {
            EXPECT_EQ(fallo.numero, errores::kArgumentoNoValido) << indice;
            EXPECT_EQ(fallo.descripcion, "Llamada a procedimiento o argumento no válidos")
                << indice;
        }
    }
}

TEST(Win32Printing, CurrentPrinterIsAnInstalledOneOrAFailure) {
    Win32Printing impresion;
    const auto instaladas = impresion.InstalledPrinters();
    if (instaladas.empty()) {
        try {
            impresion.CurrentDeviceName();
            ADD_FAILURE() << "a current printer with none installed";
        } catch (const Fallo& fallo) {
            EXPECT_EQ(fallo.numero, errores::kImpresoraNoDisponible);
            EXPECT_EQ(fallo.descripcion, "No hay ninguna impresora instalada");
        }
        return;
    }
    const std::string predeterminada = impresion.CurrentDeviceName();
    EXPECT_NE(std::find(instaladas.begin(), instaladas.end(), predeterminada), instaladas.end())
        << predeterminada;
}

TEST(Win32Printing, MakeCurrentChoosesByPositionInTheList) {
    Win32Printing impresion;
    const auto instaladas = impresion.InstalledPrinters();
    if (instaladas.empty()) GTEST_SKIP() << "no printers installed";
    // Backwards, so that the last choice is not the default printer's place.
    for (int i = static_cast<int>(instaladas.size()) - 1; i >= 0; --i) {
        impresion.MakeCurrent(i);
        EXPECT_EQ(impresion.CurrentDeviceName(), instaladas[static_cast<std::size_t>(i)]);
    }
    // A failed choice keeps the printer that was current.
    EXPECT_THROW(impresion.MakeCurrent(-1), Fallo);
    EXPECT_EQ(impresion.CurrentDeviceName(), instaladas.front());
}

TEST(Win32Printing, ARawJobOnAPrinterThatIsNotInstalledFailsWithTheSystemsNumber) {
    Win32Printing impresion;
    for (const char* nombre : {"AbrirCajon_No_Existe", ""}) {
        try {
            impresion.OpenRawJob(nombre, "prueba");
            ADD_FAILURE() << "a RAW job on [" << nombre << "]";
        } catch (const Fallo& fallo) {
            EXPECT_GT(fallo.numero, 0) << nombre;
            EXPECT_FALSE(fallo.descripcion.empty()) << nombre;
        }
    }
}

// A printer's name in the port box is found whatever its case, as the
// system compares names: every script's letters, not Latin-1's alone.
TEST(Win32Printing, SameNameIgnoresCaseAsTheSystemDoes) {
    Win32Printing impresora;
    for (const auto& [a, b] : {std::pair{"Tickets_RAW", "tickets_raw"},
                               {"Cañón Ñandú ÁÉÍÓÚÜ", "CAÑÓN ñANDÚ áéíóúü"},
                               {"Łódź Kasa", "łÓDŹ KASA"},
                               {"Κουτί", "κουτί"}}) {
        EXPECT_TRUE(impresora.SameName(a, b)) << a << " / " << b;
    }
    for (const auto& [a, b] :
         {std::pair{"Caja", "Caja "}, {"Caja_1", "Caja-1"}, {"×", "÷"}, {"Cañon", "Canon"}}) {
        EXPECT_FALSE(impresora.SameName(a, b)) << a << " / " << b;
    }
}

}  // namespace
