#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/win32/Win32NotificationArea.h"

namespace {

TEST(Win32NotificationArea, UsesTheFirstRecordForm) {
    // The first form holds 32-bit fields and pointer-sized handles.
    EXPECT_EQ(Win32NotificationArea().TamanoRegistro(), sizeof(void*) == 4 ? 88u : 104u);
}

TEST(Win32NotificationArea, AnEmptyRecordIsRefusedQuietly) {
    Win32NotificationArea bandeja;
    RegistroIcono vacio{};
    EXPECT_FALSE(bandeja.Quitar(vacio));
}

// The tip goes to the shell through the ANSI call: in the system's code page,
// whole characters only, never more than the field holds.
TEST(Win32NotificationArea, TheTipIsInTheSystemsCodePageCutAtAWholeCharacter) {
    const Win32NotificationArea bandeja;
    if (GetACP() == 1252) {
        EXPECT_EQ(bandeja.TextoDeTip("Apertura cajón", 64), "Apertura caj\xF3n");
    }
    for (const std::string& caption : {std::string("Apertura cajón"), std::string(70, 'x'),
                                       std::string("x") + "ó€Łź" + "ó€Łź"}) {
        for (std::size_t maximo : {64u, 3u}) {
            const std::string tip = bandeja.TextoDeTip(caption, maximo);
            EXPECT_LE(tip.size(), maximo) << caption;
            wchar_t ancho[128] = {};
            const int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, tip.data(),
                                              static_cast<int>(tip.size()), ancho, 128);
            EXPECT_EQ(n > 0 || tip.empty(), true) << "a split character in [" << tip << "]";
        }
    }
}

}  // namespace
