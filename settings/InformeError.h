#pragma once
// The one report of a handled failure, and the guard that every guarded
// procedure of the program runs its body in.

#include <functional>
#include <string>
#include <string_view>

#include "platform/Dialogs.h"
#include "platform/Fallo.h"

// "Excepción Controlada: N (D) en procedimiento P de Formulario Form1 Linea:S"
std::string TextoExcepcionControlada(const Fallo& fallo, std::string_view procedimiento, int linea);

// "N (D) en procedimiento VRXGetPrivateProfileString of Módulo modFunGenerales"
std::string TextoFalloModulo(const Fallo& fallo);

// The step a guarded procedure is in; a body sets it as each numbered step
// begins (`linea = 20;`), and the report shows the last one set.
class Linea {
  public:
    Linea& operator=(int paso) {
        paso_ = paso;
        return *this;
    }
    int Paso() const { return paso_; }

  private:
    int paso_ = 0;
};

// Runs `cuerpo`. A failure inside it, or passed up from anything it calls,
// stops it and is shown once in the long form under `procedimiento`, with the
// step it arose in; then the call returns normally. Returns false after a
// failure. The report itself is not guarded.
bool ProcedimientoGuardado(Dialogs& dialogs, std::string_view procedimiento,
                           const std::function<void(Linea&)>& cuerpo);
