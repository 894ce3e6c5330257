#pragma once
// An administrator's value that the program cannot use (a QWORD where a text
// was meant, a lock written "sí") is an event for IT, once a run for each
// value as it stands: the program reads policies at every use.

#include <mutex>
#include <string>
#include <vector>

#include "drawer/RegistroAperturas.h"
#include "platform/AlmacenPoliticas.h"

class AvisoPoliticasInservibles final : public AvisoPoliticas {
  public:
    AvisoPoliticasInservibles(RegistroAperturas& registro, std::string rutaParametros)
        : registro_(registro), rutaParametros_(std::move(rutaParametros)) {}

    // On any thread. %1 the value's name, %2 the branch, %3 the type, %4 the value.
    void Inservible(std::string_view nombre, RamaPoliticas rama, std::string_view tipo,
                    std::string_view valor) override;

  private:
    RegistroAperturas& registro_;
    std::string rutaParametros_;
    std::mutex mutex_;
    std::vector<std::string> contados_;
};
