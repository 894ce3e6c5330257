#pragma once
// Failures from the system's error numbers, described in Spanish whatever the
// language of the Windows installation.

#include <windows.h>

#include <string>

#include "platform/Fallo.h"

// A one-line Spanish description of a system error number.
std::string DescripcionErrorWin32(DWORD error);

// The failure for `error` (GetLastError() by default).
Fallo FalloWin32(DWORD error = GetLastError());
