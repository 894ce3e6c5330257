#pragma once
// The program's message boxes and input box. All of them carry the program's
// title as caption and are modal to the calling procedure.

#include <string>

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // OK only, no icon: the handled-error report.
    virtual void Report(const std::string& text) = 0;
    // OK only, stop icon: a failed drawer kick.
    virtual void Stop(const std::string& text) = 0;
    // OK only, information icon.
    virtual void Information(const std::string& text) = 0;
    // Yes/No with the question icon, No as default. True for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // Editable text with OK and Cancel. Returns the text on OK, empty otherwise.
    virtual std::string InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defecto) = 0;
};
