// Drives Win32Printing for the end-to-end printing test: each argument is one
// step on a single printing object, run in order, and each step writes one
// line to stdout (UTF-8):
//   list             "printer NAME" per installed printer, then "list ok COUNT"
//   current          "current ok NAME"
//   use=N            MakeCurrent(N)
//   size=POINTS      SetFontSize(POINTS)       font=FACE  SetFontName(FACE)
//   line=TEXT        Print(TEXT, true)         text=TEXT  Print(TEXT, false)
//   end              EndDoc()
//   say=WORD         writes "say WORD" (tells the test how far the probe is)
//   wait=PATH        waits, up to 30 s, until the file PATH exists
// A step that fails writes "STEP fallo NUMBER DESCRIPTION" and the next step
// runs: the object must stay usable after any failure.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "platform/Fallo.h"
#include "platform/win32/Texto.h"
#include "platform/win32/Win32Printing.h"

namespace {

void Linea(const std::string& texto) {
    std::fputs((texto + "\n").c_str(), stdout);
    std::fflush(stdout);
}

bool Esperar(const std::wstring& archivo) {
    for (int i = 0; i < 600; ++i) {
        if (GetFileAttributesW(archivo.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        Sleep(50);
    }
    return false;
}

// Runs one step; returns what follows "ok" in its line.
std::string Paso(Win32Printing& impresion, const std::string& orden, const std::string& valor) {
    if (orden == "list") {
        const auto nombres = impresion.InstalledPrinters();
        for (const auto& nombre : nombres) Linea("printer " + nombre);
        return std::to_string(nombres.size());
    }
    if (orden == "current") return impresion.CurrentDeviceName();
    if (orden == "use") {
        impresion.MakeCurrent(std::atoi(valor.c_str()));
    } else if (orden == "size") {
        impresion.SetFontSize(std::strtof(valor.c_str(), nullptr));
    } else if (orden == "font") {
        impresion.SetFontName(valor);
    } else if (orden == "line" || orden == "text") {
        impresion.Print(valor, orden == "line");
    } else if (orden == "end") {
        impresion.EndDoc();
    } else if (orden == "say") {
        return valor;
    } else if (orden == "wait") {
        if (!Esperar(Ancho(valor))) return "timeout";
    } else {
        Linea("unknown step " + orden);
        std::exit(2);
    }
    return {};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Win32Printing impresion;
    for (int i = 1; i < argc; ++i) {
        const std::string paso = Utf8(argv[i]);
        const auto igual = paso.find('=');
        const std::string orden = paso.substr(0, igual);
        const std::string valor = igual == std::string::npos ? "" : paso.substr(igual + 1);
        try {
            const std::string resultado = Paso(impresion, orden, valor);
            Linea(paso + " ok" + (resultado.empty() ? "" : " " + resultado));
        } catch (const Fallo& fallo) {
            Linea(paso + " fallo " + std::to_string(fallo.numero) + " " + fallo.descripcion);
        } catch (const std::exception& e) {
            Linea(paso + " exception " + e.what());
            return 3;
        }
    }
    return 0;
}
