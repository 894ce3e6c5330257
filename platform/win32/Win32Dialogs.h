#pragma once
// Message boxes and the input box, owned by the main window once it exists.

#include <windows.h>

#include "platform/Dialogs.h"

class Win32Dialogs : public Dialogs {
  public:
    void SetOwner(HWND owner) { owner_ = owner; }

    void Report(const std::string& text) override;
    void Stop(const std::string& text) override;
    void Information(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defecto) override;

    // True while one of these boxes is open; the F12 poll waits meanwhile.
    bool Abierto() const { return abiertos_ > 0; }

  private:
    int Mostrar(const std::string& text, UINT estilo);

    HWND owner_ = nullptr;
    int abiertos_ = 0;
};
