#pragma once
// The folder of the program file, without a trailing separator, in UTF-8.

#include <string>

std::string CarpetaPrograma();
