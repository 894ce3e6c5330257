#pragma once
// The whole program: one copy per session, the main window with its logic
// and services, and the message loop until the program ends; or, started
// with an order on its command line (/abrir, /salir), that order alone.

#include <windows.h>

#include "platform/NotificationArea.h"

// The notification area comes from the caller, so a test build can run the
// real program against one that refuses the icon.
int EjecutarPrograma(HINSTANCE instancia, NotificationArea& bandeja);
