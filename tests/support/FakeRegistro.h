#pragma once
// In-memory clock, session and text files for the record of kicks.

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Fallo.h"
#include "platform/Session.h"
#include "platform/TextFiles.h"

struct FakeClock : Clock {
    MomentoLocal Ahora() override { return momento; }
    MomentoLocal momento{2026, 3, 5, 9, 7, 3, 45};
};

struct FakeSession : Session {
    std::string NombreUsuario() override { return nombre; }
    std::string nombre = "cajera";
};

// Files as texts by path (UTF-8, as the program hands them over).
struct FakeTextFiles : TextFiles {
    struct Archivo : AppendedFile {
        Archivo(FakeTextFiles& p, std::string r) : padre(p), ruta(std::move(r)) {}
        std::uint64_t Tamano() override { return padre.archivos[ruta].size(); }
        void Anadir(std::string_view texto) override {
            if (padre.discoLleno) throw Fallo(112, "El disco está lleno");
            padre.archivos[ruta] += texto;
        }
        FakeTextFiles& padre;
        std::string ruta;
    };

    std::unique_ptr<AppendedFile> Abrir(const std::string& ruta) override {
        if (alAbrir) alAbrir();
        abiertos.push_back(ruta);
        if (retenidos.count(ruta)) {
            throw Fallo(32, "El dispositivo o el archivo está en uso por otro programa");
        }
        archivos[ruta];  // created when missing
        return std::make_unique<Archivo>(*this, ruta);
    }
    bool Reemplazar(const std::string& desde, const std::string& hacia) override {
        if (retenidos.count(hacia)) return false;
        archivos[hacia] = archivos[desde];
        archivos.erase(desde);
        return true;
    }

    std::map<std::string, std::string> archivos;
    std::set<std::string> retenidos;  // held open by another program
    std::vector<std::string> abiertos;
    bool discoLleno = false;
    std::function<void()> alAbrir;  // runs on the writer's thread
};
