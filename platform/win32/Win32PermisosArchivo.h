#pragma once
// The file's rights as the system keeps them: its owner and the allowing
// entries of its list, and those of its folder.

#include "platform/PermisosArchivo.h"

class Win32PermisosArchivo final : public PermisosArchivo {
  public:
    bool OtrosPuedenCambiar(const std::string& ruta) override;
    bool PuedoEscribir(const std::string& ruta) override;
};

// Whether this copy is the one installed for every user of the machine: the
// machine-wide package records its folder under HKEY_LOCAL_MACHINE, where no
// user but an administrator writes.
bool EsInstalacionDelEquipo(const std::string& carpetaPrograma);

// %LOCALAPPDATA%\AbrirCajon, made when missing: the user's own folder; empty
// when there is none.
std::string CarpetaDelUsuario();
