// Runs the drawer kick on the port path with the real port and printing
// functions, as the window would, for the end-to-end tests:
//   kick_driver ASCII PORT TODOJUNTO PUNTOYCOMA [REPETICIONES [PORT...]]
// PORT may name an installed printer: the kick then goes as a RAW job.
// ASCII "@file" reads the sequence from a file, for texts longer than a
// command line may be.
// Prints each failure message (CR LF shown as \r\n) or "ok", and with
// REPETICIONES, per port, the median and 90th-percentile time of one kick in
// microseconds. With several ports their kicks take turns, so that both
// figures see the same load on the machine.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "drawer/EnviarApertura.h"
#include "platform/win32/Texto.h"
#include "platform/win32/Win32Port.h"
#include "platform/win32/Win32Printing.h"

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
    void GetString(std::string_view, std::string_view, std::string_view d, std::span<char> b,
                   const std::string&) override {
        const std::size_t n = std::min(d.size(), b.size() - 1);
        std::copy_n(d.begin(), n, b.begin());
        b[n] = '\0';
    }
    bool WriteString(std::string_view, std::string_view, std::string_view,
                     const std::string&) override {
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
    for (int i = 6; i < argc; ++i) puertos.push_back(Utf8(argv[i]));

    Win32PortOpener abridor;
    Win32Printing impresora;
    SinPerfil perfil;
    ConsoleDialogs dialogs;
    Parametros parametros(perfil, dialogs);

    LARGE_INTEGER frecuencia;
    QueryPerformanceFrequency(&frecuencia);
    std::vector<std::vector<double>> tiempos(puertos.size());
    for (int i = 0; i < repeticiones; ++i) {
        for (std::size_t p = 0; p < puertos.size(); ++p) {
            controles.puerto = puertos[p];
            LARGE_INTEGER a, b;
            QueryPerformanceCounter(&a);
            EnviarApertura(controles, {abridor, impresora, parametros, dialogs});
            QueryPerformanceCounter(&b);
            tiempos[p].push_back(1e6 * static_cast<double>(b.QuadPart - a.QuadPart) /
                                 static_cast<double>(frecuencia.QuadPart));
        }
    }
    if (dialogs.mostrados == 0) std::printf("ok\n");
    if (argc > 5) {
        for (std::size_t p = 0; p < puertos.size(); ++p) {
            auto& t = tiempos[p];
            std::sort(t.begin(), t.end());
            std::printf("median_us=%.1f p90_us=%.1f kicks=%d port=%s\n", t[t.size() / 2],
                        t[t.size() * 9 / 10], repeticiones, puertos[p].c_str());
        }
    }
    return 0;
}
