#pragma once
// Appending to text files with the system's file functions.

#include "platform/TextFiles.h"

class Win32TextFiles : public TextFiles {
  public:
    std::unique_ptr<AppendedFile> Abrir(const std::string& ruta) override;
    bool Reemplazar(const std::string& desde, const std::string& hacia) override;
};
