#pragma once
// The coordinator of kicks over fakes, as the program builds it: the
// parameter file (and policies) at the program's path, and the record when
// one is given.

#include <string>

#include "drawer/CoordinadorApertura.h"

struct AperturaDePrueba {
    AperturaDePrueba(PrivateProfile& perfil, PortOpener& puertos, Printing& impresora,
                     Dialogs& dialogs, const std::string& carpeta,
                     AlmacenPoliticas* politicas = nullptr, RegistroAperturas* registro = nullptr,
                     NetworkOpener* red = nullptr)
        : parametros(perfil, dialogs, politicas),
          coordinador({puertos, impresora, parametros, dialogs, red, registro}) {
        parametros.FijarRuta(RutaParametros(carpeta));
    }
    Parametros parametros;
    CoordinadorApertura coordinador;
};
