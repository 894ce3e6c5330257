#pragma once
// What one process of the program says to the copy that runs in the session:
// the names of the copy's main window class, of its single-copy mutex and of
// every registered message another process sends it. Named here alone, so
// the sender and the receiver cannot drift apart.

// The window class, by which another process finds the running copy.
inline constexpr wchar_t kClaseVentanaPrincipal[] = L"AbrirCajon.frmAbrirCajon";
// Owned by the running copy for the whole of its life.
inline constexpr wchar_t kMutexUnaCopia[] = L"Local\\AbrirCajon.UnaInstancia";

// Posted by a second start: show the window, also from the notification area.
inline constexpr wchar_t kMensajeMostrarVentana[] = L"AbrirCajon.MostrarVentana";
// Sent by AbrirCajon.exe /abrir: one opening; the answer is the exit code.
inline constexpr wchar_t kMensajeAbrir[] = L"AbrirCajon.Abrir";
// Sent by AbrirCajon.exe /salir: the program ends, without a question.
inline constexpr wchar_t kMensajeSalir[] = L"AbrirCajon.Salir";
// Sent by /abrir /esperar: the drawer in one number (EmpaquetarCajon).
inline constexpr wchar_t kMensajeEstadoCajon[] = L"AbrirCajon.EstadoCajon";
// Posted by AbrirCajon.exe /asistente, and by the system menu's item: the
// drawer assistant opens.
inline constexpr wchar_t kMensajeAsistente[] = L"AbrirCajon.Asistente";
