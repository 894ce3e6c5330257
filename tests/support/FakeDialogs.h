#pragma once
// Records every box the program shows, and answers questions as told.

#include <string>
#include <vector>

#include "platform/Dialogs.h"

struct FakeDialogs : Dialogs {
    struct Caja {
        std::string tipo;  // "report", "stop", "info", "question", "input"
        std::string texto;
    };

    void Report(const std::string& text) override { cajas.push_back({"report", text}); }
    void Stop(const std::string& text) override { cajas.push_back({"stop", text}); }
    void Information(const std::string& text) override { cajas.push_back({"info", text}); }
    bool AskYesNo(const std::string& text) override {
        cajas.push_back({"question", text});
        return respuestaSi;
    }
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defecto) override {
        cajas.push_back({"input", prompt + "|" + title + "|" + defecto});
        return defecto;
    }

    std::vector<Caja> cajas;
    bool respuestaSi = false;
};
