#pragma once
// Who can change a settings file. On a till that every user shares, a file
// that another user can change must not make this user's copy write where
// that user said, nor stop the audit.

#include <string>

class PermisosArchivo {
  public:
    virtual ~PermisosArchivo() = default;
    // True when someone other than the administrators, the system and the
    // user running the program can change the file at `ruta`, or replace it
    // in its folder; also when that cannot be told.
    virtual bool OtrosPuedenCambiar(const std::string& ruta) = 0;
    // True when the user running the program can write the file (or, when
    // it is missing, create it in its folder).
    virtual bool PuedoEscribir(const std::string& ruta) = 0;
};
