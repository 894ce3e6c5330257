#include "platform/win32/Win32Clock.h"

#include <windows.h>

MomentoLocal Win32Clock::Ahora() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}
