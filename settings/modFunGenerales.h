#pragma once
// Everything the rest of the program needs from the parameter file and the
// handled-error report, in one include.

#include "platform/Fallo.h"
#include "settings/Conversiones.h"
#include "settings/InformeError.h"
#include "settings/Parametros.h"
