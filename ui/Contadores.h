#pragma once
// Boxes and the chooser, counted while they are open, so the F12 poll can
// wait: a held F12 on a failing port must not pile up a box every tick.

#include "drawer/ElegirImpresora.h"
#include "platform/Dialogs.h"
#include "platform/ModalAbierto.h"

class DialogsContados : public Dialogs {
  public:
    DialogsContados(Dialogs& dialogs, int& abiertos) : dialogs_(dialogs), abiertos_(abiertos) {}

    void Report(const std::string& t) override {
        ModalAbierto m(abiertos_);
        dialogs_.Report(t);
    }
    void Stop(const std::string& t) override {
        ModalAbierto m(abiertos_);
        dialogs_.Stop(t);
    }
    void Information(const std::string& t) override {
        ModalAbierto m(abiertos_);
        dialogs_.Information(t);
    }
    bool AskYesNo(const std::string& t) override {
        ModalAbierto m(abiertos_);
        return dialogs_.AskYesNo(t);
    }
    std::string InputBox(const std::string& p, const std::string& t,
                         const std::string& d) override {
        ModalAbierto m(abiertos_);
        return dialogs_.InputBox(p, t, d);
    }

  private:
    Dialogs& dialogs_;
    int& abiertos_;
};

class SelectorContado : public SelectorImpresora {
  public:
    SelectorContado(SelectorImpresora& selector, int& abiertos)
        : selector_(selector), abiertos_(abiertos) {}
    void Mostrar(std::string& SelectedPrinterName) override {
        ModalAbierto m(abiertos_);
        selector_.Mostrar(SelectedPrinterName);
    }

  private:
    SelectorImpresora& selector_;
    int& abiertos_;
};
