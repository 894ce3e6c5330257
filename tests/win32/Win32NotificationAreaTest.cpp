#include <gtest/gtest.h>

#include <windows.h>

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

}  // namespace
