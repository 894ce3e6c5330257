#include "ui/win32/GuiaDeUso.h"

#include <shellapi.h>

#include <string>

#include "platform/win32/CarpetaPrograma.h"
#include "platform/win32/Texto.h"

namespace {
constexpr char kMenuGuia[] = "Guía de uso…";
constexpr char kNombreGuia[] = "\\guia.html";
}  // namespace

void AnadirGuiaDeUso(HWND principal) {
    HMENU menu = GetSystemMenu(principal, FALSE);
    if (menu == nullptr) return;
    AppendMenuW(menu, MF_STRING, kComandoGuiaDeUso, Ancho(kMenuGuia).c_str());
}

void AbrirGuiaDeUso(HWND principal, Dialogs& dialogs) {
    const std::string ruta = CarpetaPrograma() + kNombreGuia;
    const auto hecho = reinterpret_cast<INT_PTR>(
        ShellExecuteW(principal, L"open", Ancho(ruta).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (hecho > 32) return;
    dialogs.Information("No se puede abrir la guía de uso: " + ruta);
}
