#pragma once
// One copy of the program per session: two would both poll F12 and open the
// drawer twice per press. The running copy owns a mutex for the whole of its
// life; another program reaches that copy through its main window, found by
// its class: AbrirCajon.exe /abrir and /salir.

#include <windows.h>

#include <optional>
#include <utility>

#include "platform/win32/Unico.h"
#include "ui/Ordenes.h"
#include "ui/win32/OrdenesEntreProcesos.h"

// The running copy's claim, held from start to end.
class CopiaUnica {
  public:
    // The claim, once no other copy runs. A copy that is ending (its window
    // gone, its mutex still owned) is waited for, up to 10 s. None when
    // another copy runs: it has been asked to show its window, and this
    // process should end without touching anything.
    static std::optional<CopiaUnica> Tomar();

    CopiaUnica(CopiaUnica&&) noexcept = default;
    CopiaUnica& operator=(CopiaUnica&&) = delete;
    ~CopiaUnica() { Soltar(); }
    // At the very end of the run, once everything else is done: a new start
    // waiting for it goes ahead.
    void Soltar();

  private:
    explicit CopiaUnica(ObjetoUnico mutex) : mutex_(std::move(mutex)) {}
    ObjetoUnico mutex_;
};

// The copy that runs in this session, for a process started with an order.
// Such a process never takes the copy's place: it owns no mutex and makes no
// window of its class.
class Win32CopiaAbierta : public CopiaAbierta {
  public:
    // A copy that is ending is waited for: then there is none.
    bool Hay() override;
    std::optional<int> Abrir() override;
    bool Salir() override;
    std::optional<std::optional<EstadoCajon>> Cajon() override;
    bool Asistente() override;
};
