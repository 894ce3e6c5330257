// Every box the program shows opens above all other windows: a failed kick
// while the window sits in the notification area must not hide behind the
// till program. Each box is read and answered from a second thread, as the
// user would, while the first waits in it.

#include "platform/win32/Win32Dialogs.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

namespace {

struct Visto {
    bool encontrado = false;
    bool encima = false;
};

// Waits for the box captioned `caption`, notes whether it is topmost, and
// answers it with `respuesta`. The first box in a new Wine prefix can take
// many seconds to appear; one that appears is always answered, or the test
// would wait in it for ever.
std::thread Contestar(const wchar_t* caption, int respuesta, Visto& visto) {
    return std::thread([caption, respuesta, &visto] {
        const ULONGLONG limite = GetTickCount64() + 90'000;
        while (!visto.encontrado && GetTickCount64() < limite) {
            const HWND caja = FindWindowW(L"#32770", caption);
            if (caja != nullptr && IsWindowVisible(caja)) {
                visto.encontrado = true;
                visto.encima = (GetWindowLongPtrW(caja, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
                PostMessageW(caja, WM_COMMAND, static_cast<WPARAM>(respuesta), 0);
            }
            Sleep(25);
        }
    });
}

TEST(Win32Dialogs, EveryBoxIsTopmost) {
    Win32Dialogs dialogs;
    struct Caso {
        const char* nombre;
        const wchar_t* caption;
        int respuesta;
        std::function<void()> mostrar;
    };
    const Caso casos[] = {
        {"Report", L"AbrirCajon", IDOK, [&] { dialogs.Report("Informe"); }},
        {"Stop", L"AbrirCajon", IDOK, [&] { dialogs.Stop("Fallo"); }},
        {"Information", L"AbrirCajon", IDOK, [&] { dialogs.Information("Truco"); }},
        {"AskYesNo", L"AbrirCajon", IDNO, [&] { dialogs.AskYesNo("¿Cerrar programa?"); }},
        {"InputBox", L"INI", IDCANCEL, [&] { dialogs.InputBox("INI", "INI", "C:\\x"); }},
    };
    for (const auto& c : casos) {
        Visto visto;
        std::thread contestador = Contestar(c.caption, c.respuesta, visto);
        c.mostrar();
        contestador.join();
        EXPECT_TRUE(visto.encontrado) << c.nombre;
        EXPECT_TRUE(visto.encima) << c.nombre << ": not above other windows";
    }
}

}  // namespace
