#include <gtest/gtest.h>

#include <windows.h>

#include "platform/Fallo.h"
#include "platform/win32/Texto.h"
#include "platform/win32/Win32TextFiles.h"
#include "tests/support/TempDir.h"

namespace {

// What the end-to-end test of the record cannot reach: a file set aside over
// an older one, and a missing folder, which is never created.
TEST(Win32TextFiles, AppendsRenamesOverAnOlderFileAndCreatesNoFolder) {
    TempDir dir;
    Win32TextFiles archivos;
    const std::string ruta = dir.Texto("A.CSV");
    archivos.Abrir(ruta)->Anadir("uno\r\n");
    {
        auto archivo = archivos.Abrir(ruta);
        EXPECT_EQ(archivo->Tamano(), 5u);
        archivo->Anadir("Vía\r\n");
    }
    const std::string contenido = "uno\r\n" + EnCodigoSistema("Vía\r\n");
    EXPECT_EQ(dir.Leer("A.CSV"), contenido);
    if (GetACP() == 1252) {
        EXPECT_EQ(EnCodigoSistema("Vía;€"),
                  "V\xED"
                  "a;\x80");
        // Fullwidth ';' '"' '=' and 'A' have no best fit: they add no column.
        EXPECT_EQ(EnCodigoSistema("a\uFF1B\uFF02\uFF1D\uFF21"), "a????");
    }

    dir.Escribir("B.CSV", "older");
    EXPECT_TRUE(archivos.Reemplazar(ruta, dir.Texto("B.CSV")));
    EXPECT_EQ(dir.Leer("B.CSV"), contenido);
    EXPECT_FALSE(archivos.Reemplazar(ruta, dir.Texto("B.CSV"))) << "nothing left to rename";

    try {
        archivos.Abrir(dir.Texto("no\\A.CSV"));
        ADD_FAILURE() << "opened a file in a missing folder";
    } catch (const Fallo& fallo) {
        EXPECT_EQ(fallo.numero, ERROR_PATH_NOT_FOUND);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "no"));
}

}  // namespace
