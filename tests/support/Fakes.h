#pragma once
// In-memory stand-ins for the platform, recording what the program does.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "drawer/EnviarApertura.h"
#include "platform/Cp1252.h"
#include "platform/Fallo.h"
#include "platform/OutputPort.h"
#include "platform/Printing.h"
#include "platform/PrivateProfile.h"
#include "platform/Utf16.h"

// A parameter file held in memory, section "Parametros" only, its keys and
// values in UTF-8 as the tests write them.
struct MemoryProfile : PrivateProfile {
    void GetString(std::u16string_view, std::u16string_view key, std::u16string_view defecto,
                   std::span<char16_t> buffer, const std::u16string&) override {
        const std::string clave = Utf16ToUtf8(key);
        lecturas.push_back(clave);
        const auto it = valores.find(clave);
        const std::u16string valor =
            it != valores.end() ? Utf8ToUtf16(it->second) : std::u16string(defecto);
        const std::size_t n = std::min(valor.size(), buffer.size() - 1);
        std::copy_n(valor.begin(), n, buffer.begin());
        buffer[n] = u'\0';
    }
    bool WriteString(std::u16string_view, std::u16string_view key, std::u16string_view value,
                     const std::u16string&) override {
        escrituras.push_back(Utf16ToUtf8(key) + "=" + Utf16ToUtf8(value));
        valores[Utf16ToUtf8(key)] = Utf16ToUtf8(value);
        return true;
    }
    // As on a Western European system: the file is in Windows-1252.
    std::u16string AsStored(std::u16string_view v) override {
        return Utf8ToUtf16(Cp1252ToUtf8(Utf8ToCp1252(Utf16ToUtf8(v))));
    }
    int Lecturas(const std::string& key) const {
        return static_cast<int>(std::count(lecturas.begin(), lecturas.end(), key));
    }

    std::map<std::string, std::string> valores;
    std::vector<std::string> lecturas;
    std::vector<std::string> escrituras;
};

// Ports that record every write; failures can be injected.
struct FakePorts : PortOpener {
    struct Registro {
        std::string nombre;
        std::vector<std::string> escrituras;
        bool cerrado = false;    // Close() succeeded
        bool destruido = false;  // the object is gone, whatever the path
    };

    struct Puerto : OutputPort {
        Puerto(FakePorts& p, std::size_t i) : padre(p), indice(i) {}
        ~Puerto() override { padre.registros[indice].destruido = true; }
        void Write(std::string_view bytes) override {
            auto& r = padre.registros[indice];
            if (padre.fallarEnEscritura &&
                static_cast<int>(r.escrituras.size()) == *padre.fallarEnEscritura) {
                throw Fallo(29, "Error de escritura en el dispositivo");
            }
            r.escrituras.emplace_back(bytes);
            if (padre.alEscribir) padre.alEscribir();
        }
        void Close() override {
            if (padre.fallarAlCerrar) throw Fallo(31, "El dispositivo no funciona");
            padre.registros[indice].cerrado = true;
        }
        FakePorts& padre;
        std::size_t indice;
    };

    std::unique_ptr<OutputPort> Open(const std::string& name) override {
        if (fallarAlAbrir) throw Fallo(2, "No se encuentra el dispositivo o el archivo");
        registros.push_back({name, {}, false, false});
        return std::make_unique<Puerto>(*this, registros.size() - 1);
    }
    // Recorded as "device|settings".
    std::unique_ptr<OutputPort> OpenSerial(const std::string& device,
                                           const std::string& settings) override {
        return Open(device + "|" + settings);
    }

    std::vector<Registro> registros;
    std::optional<int> fallarEnEscritura;  // index of the write that fails
    bool fallarAlCerrar = false;
    bool fallarAlAbrir = false;
    std::function<void()> alEscribir;  // what else happens meanwhile
};

// A printing service that records its calls as text, e.g. "Print(|1)"; the
// call named in fallarEn fails after it is recorded.
struct FakePrinting : Printing {
    std::vector<std::string> InstalledPrinters() override {
        llamadas.push_back("InstalledPrinters");
        if (fallarAlListar) throw Fallo(1722, "El servidor RPC no está disponible");
        return instaladas;
    }
    // Case folded for ASCII only: enough for the tests' names.
    bool SameName(std::string_view a, std::string_view b) override {
        return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) {
            return std::tolower(x) == std::tolower(y);
        });
    }
    // A queue records its calls with the printer's name, e.g. "State(Caja)".
    struct Cola : PrinterQueue {
        Cola(FakePrinting& p, std::string n) : padre(p), nombre(std::move(n)) {}
        void Anotar(const std::string& c, const std::string& mas = "") {
            padre.llamadas.push_back(c + "(" + nombre + mas + ")");
        }
        std::optional<EstadoImpresora> State() noexcept override {
            Anotar("State");
            return padre.estado;
        }
        std::vector<TrabajoEnCola> OwnJobs() noexcept override {
            Anotar("OwnJobs");
            return padre.cola;
        }
        void DeleteJob(std::uint32_t id) noexcept override {
            Anotar("DeleteJob", "|" + std::to_string(id));
        }
        FakePrinting& padre;
        std::string nombre;
    };
    std::unique_ptr<PrinterQueue> OpenQueue(const std::string& printer) noexcept override {
        ++aperturasCola;
        return std::make_unique<Cola>(*this, printer);
    }
    std::string CurrentDeviceName() override {
        if (!actual) throw Fallo(482, "No hay ninguna impresora instalada");
        return instaladas.at(static_cast<std::size_t>(*actual));
    }
    void MakeCurrent(int index) override {
        llamadas.push_back("MakeCurrent(" + std::to_string(index) + ")");
        if (index < 0 || index >= static_cast<int>(instaladas.size())) throw Fallo(5, "argumento");
        actual = index;
    }
    void SetFontSize(float points) override {
        Registrar("FontSize(" + std::to_string(points) + ")");
        if (!(points > 0 && points < 1639))
            throw Fallo(380, "El valor de la propiedad no es válido");
    }
    void SetFontName(const std::string& face) override { Registrar("FontName(" + face + ")"); }
    void Print(std::string_view text, bool lineEnd) override {
        if (fallarAlImprimir) throw Fallo(1801, "El nombre de la impresora no es válido");
        Registrar("Print(" + std::string(text) + "|" + (lineEnd ? "1" : "0") + ")");
    }
    void EndDoc() override { Registrar("EndDoc"); }
    void KillDoc() noexcept override { llamadas.push_back("KillDoc"); }

    void Registrar(const std::string& llamada) {
        llamadas.push_back(llamada);
        if (llamada == fallarEn) throw Fallo(482, "Error de impresora");
    }
    // A RAW job records like a port named after the printer.
    std::unique_ptr<OutputPort> OpenRawJob(const std::string& printer,
                                           const std::string& document) override {
        llamadas.push_back("OpenRawJob(" + printer + ")");
        documentosRaw.push_back(document);
        return trabajosRaw.Open(printer);
    }

    std::vector<std::string> instaladas;
    std::optional<int> actual;
    std::optional<EstadoImpresora> estado = EstadoImpresora{};
    std::vector<TrabajoEnCola> cola;
    int aperturasCola = 0;
    std::vector<std::string> llamadas;
    bool fallarAlImprimir = false;
    bool fallarAlListar = false;
    FakePorts trabajosRaw;
    std::vector<std::string> documentosRaw;
    std::string fallarEn;
};

struct FakeControles : ControlesApertura {
    std::string TextoAscii() const override { return ascii; }
    std::string TextoPuerto() const override { return puerto; }
    bool CheckPrinter() const override { return printer; }
    bool CheckTodoJunto() const override { return todoJunto; }
    bool CheckConPuntoyComa() const override { return conPuntoyComa; }

    std::string ascii = "27 112 0 10 100";
    std::string puerto = "LPT1:";
    bool printer = false;
    bool todoJunto = true;
    bool conPuntoyComa = true;
};

#include "platform/KeyState.h"
#include "platform/NotificationArea.h"

// Key states to answer, and the order in which they were asked for.
struct FakeKeys : KeyState {
    std::int16_t GetAsyncKeyState(int tecla) override {
        consultas.push_back(tecla);
        const auto it = estados.find(tecla);
        return it != estados.end() ? it->second : 0;
    }
    std::map<int, std::int16_t> estados;
    std::vector<int> consultas;
};

// A notification area on a Western European system: tips in Windows-1252.
struct FakeTray : NotificationArea {
    std::uint32_t TamanoRegistro() const override { return 88; }
    std::string TextoDeTip(const std::string& utf8, std::size_t maximo) const override {
        return Utf8ToCp1252(utf8).substr(0, maximo);
    }
    bool Agregar(const RegistroIcono& r) override {
        acciones.push_back("add");
        if (!acepta) return false;
        presente = true;
        ultimo = r;
        return true;
    }
    bool Quitar(const RegistroIcono& r) override {
        acciones.push_back("delete");
        ultimo = r;
        const bool habia = presente;
        presente = false;
        return habia;
    }
    bool acepta = true;
    bool presente = false;
    RegistroIcono ultimo{};
    std::vector<std::string> acciones;
};
