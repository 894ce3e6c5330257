// Runs the drawer kick on the port path with the real port and printing
// functions, as the window would, for the end-to-end tests:
//   kick_driver ASCII PORT TODOJUNTO PUNTOYCOMA [REPETICIONES [PORT...] [ini=INI]]
// PORT may name an installed printer (a RAW job) or a network printer.
// ASCII "@file" reads the sequence from a file, for texts longer than a
// command line may be.
// Prints each failure message (CR LF shown as \r\n) or "ok", and with
// REPETICIONES, per port, the median and 90th-percentile time of one kick in
// microseconds. With several ports their kicks take turns, so that both
// figures see the same load on the machine.
// With ini=INI, the path of a parameter file, every round also makes one kick
// on the first port recorded as the window records a click of "F12", with the
// record's writer thread running (APERTURAS.CSV beside INI, KovraRegistro read
// from INI); a line "recorded_..." gives their times, and one the lines lost.
// Then each kick comes 2 ms after the one before, as kicks at a till come
// apart, so that the writer has written the last line.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "drawer/EnviarApertura.h"
#include "drawer/RegistroAperturas.h"
#include "platform/win32/Texto.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Port.h"
#include "platform/win32/Win32Printing.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Red.h"
#include "platform/win32/Win32Session.h"
#include "platform/win32/Win32TextFiles.h"

namespace {

struct ConsoleDialogs : Dialogs {
    void Report(const std::string& t) override { Mostrar("report", t); }
    void Stop(const std::string& t) override { Mostrar("stop", t); }
    void Information(const std::string& t) override { Mostrar("info", t); }
    bool AskYesNo(const std::string& t) override {
        Mostrar("question", t);
        return false;
    }
    std::string InputBox(const std::string& p, const std::string&, const std::string&) override {
        Mostrar("input", p);
        return {};
    }
    void Mostrar(const char* tipo, const std::string& t) {
        std::string s;
        for (char c : t)
            s += c == '\r'   ? std::string("\\r")
                 : c == '\n' ? std::string("\\n")
                             : std::string(1, c);
        std::printf("%s: %s\n", tipo, s.c_str());
        ++mostrados;
    }
    int mostrados = 0;
};

struct SinPerfil : PrivateProfile {
    void GetString(std::u16string_view, std::u16string_view, std::u16string_view d,
                   std::span<char16_t> b, const std::u16string&) override {
        const std::size_t n = std::min(d.size(), b.size() - 1);
        std::copy_n(d.begin(), n, b.begin());
        b[n] = u'\0';
    }
    bool WriteString(std::u16string_view, std::u16string_view, std::u16string_view,
                     const std::u16string&) override {
        return false;
    }
};

struct Controles : ControlesApertura {
    std::string TextoAscii() const override { return ascii; }
    std::string TextoPuerto() const override { return puerto; }
    bool CheckPrinter() const override { return false; }
    bool CheckTodoJunto() const override { return todoJunto; }
    bool CheckConPuntoyComa() const override { return conPuntoyComa; }
    std::string ascii, puerto;
    bool todoJunto = true, conPuntoyComa = true;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5) return 2;
    Controles controles;
    controles.ascii = Utf8(argv[1]);
    if (controles.ascii.starts_with("@")) {
        std::FILE* f = _wfopen(argv[1] + 1, L"rb");
        if (f == nullptr) return 2;
        controles.ascii.clear();
        char bloque[4096];
        for (std::size_t n; (n = std::fread(bloque, 1, sizeof bloque, f)) > 0;)
            controles.ascii.append(bloque, n);
        std::fclose(f);
    }
    controles.todoJunto = Utf8(argv[3]) == "1";
    controles.conPuntoyComa = Utf8(argv[4]) == "1";
    const int repeticiones = argc > 5 ? std::max(1, std::atoi(Utf8(argv[5]).c_str())) : 1;
    std::vector<std::string> puertos{Utf8(argv[2])};
    std::string ini;
    for (int i = 6; i < argc; ++i) {
        std::string arg = Utf8(argv[i]);
        if (arg.starts_with("ini=")) {
            ini = arg.substr(4);
        } else {
            puertos.push_back(std::move(arg));
        }
    }
    const bool registrar = !ini.empty();

    Win32PortOpener abridor;
    Win32NetworkOpener red;
    Win32Printing impresora;
    SinPerfil sinPerfil;
    Win32Profile perfil;
    ConsoleDialogs dialogs;
    Parametros parametros(registrar ? static_cast<PrivateProfile&>(perfil) : sinPerfil, dialogs);
    if (registrar) parametros.FijarRuta(ini);
    Win32Clock reloj;
    Win32Session sesion;
    Win32TextFiles archivos;
    RegistroAperturas aperturas(reloj, sesion, archivos, perfil);
    std::optional<std::jthread> escritor;
    if (registrar) {
        escritor.emplace([&aperturas](std::stop_token parar) { aperturas.Atender(parar); });
    }

    LARGE_INTEGER frecuencia;
    QueryPerformanceFrequency(&frecuencia);
    const auto Cronometrar = [&](ServiciosApertura servicios) {
        servicios.red = &red;
        if (registrar) Sleep(2);
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        EnviarApertura(controles, servicios);
        QueryPerformanceCounter(&b);
        return 1e6 * static_cast<double>(b.QuadPart - a.QuadPart) /
               static_cast<double>(frecuencia.QuadPart);
    };
    std::vector<std::vector<double>> tiempos(puertos.size());
    std::vector<double> tiemposRegistrados;
    for (int i = 0; i < repeticiones; ++i) {
        for (std::size_t p = 0; p < puertos.size(); ++p) {
            controles.puerto = puertos[p];
            tiempos[p].push_back(Cronometrar({abridor, impresora, parametros, dialogs}));
        }
        if (registrar) {
            controles.puerto = puertos[0];
            tiemposRegistrados.push_back(Cronometrar(
                {abridor, impresora, parametros, dialogs, [&](const ResultadoApertura& r) {
                     aperturas.Anotar(parametros.Ruta(), OrigenApertura::Boton, "F12", r);
                 }}));
        }
    }
    if (dialogs.mostrados == 0) std::printf("ok\n");
    const auto Mediana = [](const char* prefijo, std::vector<double> t, const std::string& puerto) {
        std::sort(t.begin(), t.end());
        std::printf("%smedian_us=%.1f p90_us=%.1f kicks=%zu port=%s\n", prefijo, t[t.size() / 2],
                    t[t.size() * 9 / 10], t.size(), puerto.c_str());
    };
    if (argc > 5) {
        for (std::size_t p = 0; p < puertos.size(); ++p) Mediana("", tiempos[p], puertos[p]);
    }
    if (registrar) {
        escritor.reset();  // every line written
        Mediana("recorded_", tiemposRegistrados, puertos[0]);
        std::printf("lost=%llu\n", static_cast<unsigned long long>(aperturas.Perdidas()));
    }
    return 0;
}
