#include <gtest/gtest.h>

#include <windows.h>

#include "platform/Fallo.h"
#include "ui/win32/VentanaPrincipal.h"

namespace {

// The F12 poll's timer: a refusal is a failure the program can report, not
// a silent return.
TEST(IniciarTimer, ARefusedTimerIsAFailureWithTheSystemsNumber) {
    // A window handle that names no window: the system refuses the timer.
    const HWND ninguna = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF0));
    try {
        IniciarTimer(ninguna, 1, 50);
        ADD_FAILURE() << "no failure for a window that does not exist";
    } catch (const Fallo& fallo) {
        EXPECT_NE(fallo.numero, 0);
        EXPECT_FALSE(fallo.descripcion.empty());
    }
}

TEST(IniciarTimer, StartsTheTimerOfARealWindow) {
    const HWND ventana = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr,
                                         GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(ventana, nullptr);
    EXPECT_NO_THROW(IniciarTimer(ventana, 1, 50));
    MSG msg{};
    // The first tick arrives as WM_TIMER with the timer's id.
    const DWORD fin = GetTickCount() + 2000;
    bool tic = false;
    while (!tic && GetTickCount() < fin) {
        if (PeekMessageW(&msg, ventana, WM_TIMER, WM_TIMER, PM_REMOVE)) tic = msg.wParam == 1;
        Sleep(10);
    }
    EXPECT_TRUE(tic);
    KillTimer(ventana, 1);
    DestroyWindow(ventana);
}

}  // namespace
