#pragma once
// The parameter file INIS\PARAMETROS.INI beside the program, section
// "Parametros". Every read and write goes to the file at once: no cache, and
// the lock key is read again before every write. A value the administrator
// sets by policy (settings/Politicas.h) wins over the file's and is read just
// as afresh; the file is never written with it.

#include <optional>
#include <string>
#include <string_view>

#include "platform/AlmacenPoliticas.h"
#include "platform/Dialogs.h"
#include "platform/PermisosArchivo.h"
#include "platform/PrivateProfile.h"

inline constexpr std::string_view kSeccionParametros = "Parametros";
inline constexpr std::string_view kSufijoRutaParametros = "\\INIS\\PARAMETROS.INI";

// The keys, spelled as they stand in the file.
namespace claves {
inline constexpr std::string_view KovraPuerto = "KovraPuerto";
inline constexpr std::string_view KovraASCII = "KovraASCII";
inline constexpr std::string_view KovraTipo = "KovraTipo";
inline constexpr std::string_view KovraBloqueado = "KovraBloqueado";
inline constexpr std::string_view PrinterDeviceName = "PrinterDeviceName";
inline constexpr std::string_view AC_BIXOLON_Char = "AC_BIXOLON_Char";
inline constexpr std::string_view AC_BIXOLON_FontSize = "AC_BIXOLON_FontSize";
inline constexpr std::string_view AC_PC = "AC_PC";
inline constexpr std::string_view KovraRegistro = "KovraRegistro";
inline constexpr std::string_view KovraTecla = "KovraTecla";
inline constexpr std::string_view KovraSensor = "KovraSensor";
inline constexpr std::string_view KovraAvisoSegundos = "KovraAvisoSegundos";
inline constexpr std::string_view KovraEventos = "KovraEventos";
inline constexpr std::string_view KovraWebOrigenes = "KovraWebOrigenes";
}  // namespace claves

// The full path: the program's folder plus "\INIS\PARAMETROS.INI", joined as
// they stand (a folder that already ends in '\' gives a doubled separator,
// which the system accepts).
std::string RutaParametros(std::string_view carpetaPrograma);

class Parametros {
  public:
    // Without `politicas` only the file counts.
    Parametros(PrivateProfile& perfil, Dialogs& dialogs, AlmacenPoliticas* politicas = nullptr)
        : perfil_(perfil), dialogs_(dialogs), politicas_(politicas) {}

    void FijarRuta(std::string ruta) { ruta_ = std::move(ruta); }
    const std::string& Ruta() const { return ruta_; }

    // The stored value, or Defecto when the file, section or key is missing,
    // whole, however long, and without surrounding blanks. A failure is
    // reported in the short form and gives the empty text. The
    // administrator's value, when there is one, comes before the file's.
    std::string VRXGetParametro(std::string_view VarDeLaQueRecuperar, std::string_view Defecto);

    // VRXGetParametro, and whether the value is the administrator's: read
    // once, so that what a control shows and whether it is greyed agree.
    struct Lectura {
        std::string valor;
        bool porPolitica = false;
    };
    Lectura Leer(std::string_view clave, std::string_view Defecto);
    // The administrator's value alone, without reading the file.
    std::optional<std::string> Politica(std::string_view clave);
    bool PorPolitica(std::string_view clave) { return Politica(clave).has_value(); }

    // The copy installed for every user of the machine: the file counts as
    // the administrators' only while no other user can change it (see
    // DelAdministrador). None: a copy of one user's own, where the file is
    // theirs.
    void FijarInstalacionDelEquipo(PermisosArchivo* permisos) { permisos_ = permisos; }
    // True in the machine's copy when another user can change the file.
    bool ArchivoAjeno();
    // The setting as the administrator left it: the policy's value, else the
    // file's unless another user can change it (ArchivoAjeno), else Defecto.
    // For what a user must not decide for the others: where bytes are
    // written, and whether the opening is recorded.
    Lectura DelAdministrador(std::string_view clave, std::string_view Defecto);
    // False in the machine's copy when this user cannot write the file: an
    // edit would be lost without a word.
    bool SePuedeEscribir();

    // Stores the value unchanged unless KovraBloqueado holds a number other
    // than 0, or the administrator set the key. A write the system refuses is
    // not reported: it is not kept.
    void VRXSetParametro(std::string_view clave, std::string_view valor);

    // `valor` as it reads back once stored: the file is in the system's
    // 8-bit code page, so "Caja Ж-80" comes back as "Caja ?-80".
    std::string ComoSeGuarda(std::string_view valor);

  private:
    PrivateProfile& perfil_;
    Dialogs& dialogs_;
    AlmacenPoliticas* politicas_;
    PermisosArchivo* permisos_ = nullptr;
    std::string ruta_;
};
