#pragma once
// Appending to text files with the system's file functions.

#include "platform/TextFiles.h"

class Win32TextFiles : public TextFiles {
  public:
    std::unique_ptr<AppendedFile> Abrir(const std::string& ruta) override;
    bool Reemplazar(const std::string& desde, const std::string& hacia) override;
};

// UTF-8 text in the system's 8-bit (ANSI) code page; characters it lacks
// become the code page's default character.
std::string EnCodigoSistema(std::string_view utf8);
