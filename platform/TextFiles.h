#pragma once
// Text files that only grow: opened to append a few lines and closed again,
// so that nothing keeps them open between two uses.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class AppendedFile {
  public:
    // Destroying the object closes the file.
    virtual ~AppendedFile() = default;

    // The file's size in bytes.
    virtual std::uint64_t Tamano() = 0;

    // Appends `texto` (UTF-8) at the end, in the system's 8-bit code page.
    // All of it or nothing: a write cut short is undone. Throws Fallo.
    virtual void Anadir(std::string_view texto) = 0;
};

class TextFiles {
  public:
    virtual ~TextFiles() = default;

    // Opens `ruta` to append, creating it when missing; never creates a
    // folder. Throws Fallo with the system's number (missing folder,
    // read-only file, the file held by another program).
    virtual std::unique_ptr<AppendedFile> Abrir(const std::string& ruta) = 0;

    // Renames `desde` to `hacia`, replacing a file of that name. False when
    // the system refuses.
    virtual bool Reemplazar(const std::string& desde, const std::string& hacia) = 0;
};
