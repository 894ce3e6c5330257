#include "platform/win32/ErroresWin32.h"

namespace {

struct Descripcion {
    DWORD error;
    const char* texto;
};

// The errors a port, a file or a printer can give at a till.
constexpr Descripcion kDescripciones[] = {
    {ERROR_FILE_NOT_FOUND, "No se encuentra el dispositivo o el archivo"},
    {ERROR_PATH_NOT_FOUND, "No se encuentra la ruta de acceso"},
    {ERROR_TOO_MANY_OPEN_FILES, "Demasiados archivos abiertos"},
    {ERROR_ACCESS_DENIED, "Acceso denegado"},
    {ERROR_INVALID_HANDLE, "Identificador no válido"},
    {ERROR_NOT_ENOUGH_MEMORY, "Memoria insuficiente"},
    {ERROR_OUTOFMEMORY, "Memoria insuficiente"},
    {ERROR_INVALID_DRIVE, "No se encuentra la unidad"},
    {ERROR_WRITE_PROTECT, "El medio está protegido contra escritura"},
    {ERROR_NOT_READY, "El dispositivo no está preparado"},
    {ERROR_WRITE_FAULT, "Error de escritura en el dispositivo"},
    {ERROR_GEN_FAILURE, "El dispositivo no funciona"},
    {ERROR_SHARING_VIOLATION, "El dispositivo o el archivo está en uso por otro programa"},
    {ERROR_LOCK_VIOLATION, "El archivo está bloqueado por otro programa"},
    {ERROR_HANDLE_DISK_FULL, "El disco está lleno"},
    {ERROR_NOT_SUPPORTED, "Operación no admitida por el dispositivo"},
    {ERROR_BAD_NETPATH, "No se encuentra la ruta de red"},
    {ERROR_NETWORK_ACCESS_DENIED, "Acceso a la red denegado"},
    {ERROR_BAD_NET_NAME, "No se encuentra el nombre de red"},
    {ERROR_INVALID_PARAMETER, "Parámetro no válido"},
    {ERROR_BROKEN_PIPE, "La conexión con el dispositivo se ha cerrado"},
    {ERROR_DISK_FULL, "El disco está lleno"},
    {ERROR_INVALID_NAME, "El nombre del dispositivo o archivo no es válido"},
    {ERROR_FILENAME_EXCED_RANGE, "El nombre es demasiado largo"},
    {ERROR_DIRECTORY, "El nombre de directorio no es válido"},
    {ERROR_SEM_TIMEOUT, "Tiempo de espera agotado en el dispositivo"},
    // A serial port that takes no bytes within 2 s (printer off, handshake).
    {ERROR_TIMEOUT, "Tiempo de espera agotado: el puerto no acepta los datos"},
    {ERROR_NO_DATA, "La conexión con el dispositivo se está cerrando"},
    {ERROR_OPERATION_ABORTED, "La operación se ha cancelado"},
    {ERROR_IO_DEVICE, "Error de E/S en el dispositivo"},
    {ERROR_DEVICE_NOT_CONNECTED, "El dispositivo no está conectado"},
    {ERROR_INVALID_PRINTER_NAME, errores::kTextoNombreImpresoraNoValido},
    {ERROR_PRINTER_ALREADY_EXISTS, "La impresora ya existe"},
    {ERROR_INVALID_PRINTER_COMMAND, "La impresora no admite la orden"},
    {ERROR_PRINTER_DELETED, "La impresora se ha eliminado"},
    {ERROR_INVALID_PRINTER_STATE, errores::kTextoImpresoraNoDisponible},
    {ERROR_PRINT_CANCELLED, "Se ha cancelado el trabajo de impresión"},
    {ERROR_PRINTQ_FULL, "La cola de impresión está llena"},
    {ERROR_NO_SPOOL_SPACE, "No queda espacio para el trabajo de impresión"},
    {ERROR_PRINTER_NOT_FOUND, "No se encuentra la impresora"},
    {ERROR_SPL_NO_STARTDOC, "No se ha iniciado el documento"},
    // A RAW job on a printer whose driver takes only XPS.
    {ERROR_INVALID_DATATYPE, "La impresora no admite el tipo de datos RAW"},
    // The Winsock errors a till meets on its network (network printers).
    {WSAHOST_NOT_FOUND, "No se encuentra el equipo en la red"},
    {WSATRY_AGAIN, "No se puede buscar el nombre del equipo ahora (servidor DNS sin respuesta)"},
    {WSANO_RECOVERY, "Error en la búsqueda del nombre del equipo"},
    {WSANO_DATA, "El nombre del equipo no tiene dirección"},
    {WSAECONNREFUSED, "Conexión rechazada: el equipo no admite conexiones en ese puerto"},
    {WSAETIMEDOUT, "Tiempo de espera agotado: el equipo no responde"},
    {WSAENETUNREACH, "No se puede llegar a la red del equipo"},
    {WSAEHOSTUNREACH, "No se puede llegar al equipo"},
    {WSAECONNRESET, "La conexión fue restablecida por la impresora"},
    {WSAECONNABORTED, "Se ha anulado la conexión"},
    {WSAENETDOWN, "La red no funciona"},
    {WSAEADDRNOTAVAIL, "La dirección no es válida para conectar"},
    {WSAEAFNOSUPPORT, "Este equipo no admite ese tipo de dirección"},
    {WSASYSNOTREADY, "La red del sistema no está preparada"},
    // The browser bridge's port, as Windows words them.
    {WSAEADDRINUSE,
     "Solo se permite un uso de cada dirección de socket (protocolo/dirección de red/puerto)"},
    {WSAEACCES,
     "Se intentó obtener acceso a un socket de una manera prohibida por sus permisos de acceso"},
};

}  // namespace

std::string DescripcionErrorWin32(DWORD error) {
    for (const auto& d : kDescripciones) {
        if (d.error == error) return d.texto;
    }
    return "Error del sistema " + std::to_string(error);
}

Fallo FalloWin32(DWORD error) {
    return Fallo(static_cast<std::int32_t>(error), DescripcionErrorWin32(error));
}
