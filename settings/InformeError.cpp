#include "settings/InformeError.h"

std::string TextoExcepcionControlada(const Fallo& fallo, std::string_view procedimiento,
                                     int linea) {
    std::string texto = "Excepción Controlada: ";
    texto += std::to_string(fallo.numero);
    texto += " (";
    texto += fallo.descripcion;
    texto += ") en procedimiento ";
    texto += procedimiento;
    texto += " de Formulario Form1 Linea:";
    texto += std::to_string(linea);
    return texto;
}

std::string TextoFalloModulo(const Fallo& fallo) {
    return std::to_string(fallo.numero) + " (" + fallo.descripcion +
           ") en procedimiento VRXGetPrivateProfileString of Módulo modFunGenerales";
}

bool ProcedimientoGuardado(Dialogs& dialogs, std::string_view procedimiento,
                           const std::function<void(Linea&)>& cuerpo) {
    Linea linea;
    std::string informe;
    try {
        cuerpo(linea);
        return true;
    } catch (const std::exception& e) {
        // The box is shown after the handler: the report is not guarded, so a
        // failure while showing it goes to our caller, not back into this guard.
        informe = TextoExcepcionControlada(FalloDeExcepcion(e), procedimiento, linea.Paso());
    }
    dialogs.Report(informe);
    return false;
}
