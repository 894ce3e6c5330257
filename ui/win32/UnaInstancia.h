#pragma once
// One copy of the program per session: two would both poll F12 and open the
// drawer twice per press. Another program reaches that copy through its main
// window, found by its class: AbrirCajon.exe /abrir and /salir.

#include "ui/Ordenes.h"

// The running copy's answer: its drawer in one number (EmpaquetarCajon).
inline constexpr wchar_t kMensajeEstadoCajon[] = L"AbrirCajon.EstadoCajon";

// Posted by AbrirCajon.exe /asistente, and by the system menu's item: the
// drawer assistant opens.
inline constexpr wchar_t kMensajeAsistente[] = L"AbrirCajon.Asistente";

// True when another copy already runs; it has then been asked to show its
// window, and this copy should end without touching anything.
bool HayOtraInstancia();

// The copy that runs in this session, for a process started with an order.
// Such a process never takes the copy's place: it holds no mutex and makes
// no window of its class.
class Win32CopiaAbierta : public CopiaAbierta {
  public:
    bool Hay() override;
    std::optional<int> Abrir() override;
    bool Salir() override;
    std::optional<std::optional<EstadoCajon>> Cajon() override;
    bool Asistente() override;
};
