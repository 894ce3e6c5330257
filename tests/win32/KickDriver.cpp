// Runs the drawer kick on the port path with the real port functions, as the
// window would, for the end-to-end tests:
//   kick_driver ASCII PORT TODOJUNTO PUNTOYCOMA [REPETICIONES]
// ASCII "@file" reads the sequence from a file, for texts longer than a
// command line may be.
// Prints each failure message (CR LF shown as \r\n) or "ok", and with
// REPETICIONES the median time of one kick in microseconds.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "drawer/EnviarApertura.h"
#include "platform/win32/Texto.h"
#include "platform/win32/Win32Port.h"

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

struct SinImpresora : Printing {
    [[noreturn]] static void Falla() { throw Fallo(482, "No hay ninguna impresora instalada"); }
    std::vector<std::string> InstalledPrinters() override { return {}; }
    std::string CurrentDeviceName() override { Falla(); }
    void MakeCurrent(int) override { Falla(); }
    void SetFontSize(float) override { Falla(); }
    void SetFontName(const std::string&) override { Falla(); }
    void Print(std::string_view, bool) override { Falla(); }
    void EndDoc() override { Falla(); }
    void KillDoc() noexcept override {}
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
    controles.puerto = Utf8(argv[2]);
    controles.todoJunto = Utf8(argv[3]) == "1";
    controles.conPuntoyComa = Utf8(argv[4]) == "1";
    const int repeticiones = argc > 5 ? std::max(1, std::atoi(Utf8(argv[5]).c_str())) : 1;

    Win32PortOpener puertos;
    SinImpresora impresora;
    SinPerfil perfil;
    ConsoleDialogs dialogs;
    Parametros parametros(perfil, dialogs);

    LARGE_INTEGER frecuencia;
    QueryPerformanceFrequency(&frecuencia);
    std::vector<double> tiempos;
    for (int i = 0; i < repeticiones; ++i) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        EnviarApertura(controles, {puertos, impresora, parametros, dialogs});
        QueryPerformanceCounter(&b);
        tiempos.push_back(1e6 * static_cast<double>(b.QuadPart - a.QuadPart) /
                          static_cast<double>(frecuencia.QuadPart));
    }
    if (dialogs.mostrados == 0) std::printf("ok\n");
    if (argc > 5) {
        std::sort(tiempos.begin(), tiempos.end());
        std::printf("median_us=%.1f p90_us=%.1f kicks=%d\n", tiempos[tiempos.size() / 2],
                    tiempos[tiempos.size() * 9 / 10], repeticiones);
    }
    return 0;
}
