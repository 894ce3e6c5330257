#pragma once
// The controls whose setting the administrator fixes by policy: greyed, with
// the tip "Configurado por el administrador". A lock by policy fixes every
// setting the file holds.

#include "ui/VistaPrincipal.h"

// The tip of a control that a policy set.
inline constexpr const char* kTextoPorPolitica = "Configurado por el administrador";

struct PoliticaControles {
    bool puerto = false;
    bool ascii = false;
    bool tipo = false;
    bool impresora = false;
    bool sensor = false;
    bool bloqueo = false;

    // Greys out, with the tip, each control whose setting a policy fixes.
    void Mostrar(VistaPrincipal& vista) const;
};
