#pragma once
// A receipt printer that answers DLE EOT 1 by a timeline, and the window's
// side of the sensor as a list of what it was told.

#include <atomic>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "drawer/Vigilancia.h"

// Milliseconds since the first kick, on the tests' clock.
struct ImpresoraGuion : ConsultaEstado {
    using Tramos = std::vector<std::pair<int, int>>;  // [from, to) in ms
    static bool En(const Tramos& tramos, int ms) {
        for (const auto& [desde, hasta] : tramos) {
            if (ms >= desde && ms < hasta) return true;
        }
        return false;
    }
    Contestacion Preguntar(const DestinoEstado&, std::string_view, std::chrono::milliseconds,
                           const std::function<bool(std::string_view)>&) noexcept override {
        preguntas.push_back(ahora);
        if (En(ocupada, ahora)) return {"", true};
        if (En(muda, ahora)) return {};
        // ASB ahead of the answer, as a printer with it on sends it.
        return {std::string("\x14\x00\x00\x0f", 4) + (En(abierto, ahora) ? "\x16" : "\x12"), false};
    }
    bool AbriendoAun() noexcept override { return abriendo; }
    Tramos abierto, ocupada, muda;
    std::atomic<bool> abriendo{false};  // a port opening a question left behind
    int ahora = 0;
    std::vector<int> preguntas;
};

struct AvisosAnotados : AvisosCajon {
    void Abierto() override { Anotar("abierto"); }
    void Aviso(int s) override { Anotar("aviso " + std::to_string(s)); }
    void Cerrado() override { Anotar("cerrado"); }
    void NoSeAbrio() override { Anotar("no abierto"); }
    void Comprobando() override { Anotar("comprobando"); }
    void PatadaDeComprobacion() override { Anotar("patada"); }
    void Comprobado(std::optional<ModoSensor> modo, bool pateado) override {
        Anotar("comprobado " + std::to_string(modo ? static_cast<int>(*modo) : 0) +
               (pateado ? "" : " sin patada"));
    }
    void Anotar(const std::string& que) {
        std::lock_guard bloqueo(mutex);
        avisos.push_back(que);
    }
    std::mutex mutex;
    std::vector<std::string> avisos;
};
