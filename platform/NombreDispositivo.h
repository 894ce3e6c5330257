#pragma once
// The names under which Windows reaches a device instead of a file.

#include <string_view>

// True for "LPT1".."LPT9", "COM1".."COM9", "PRN", "AUX" and "NUL", in any
// case, with or without the colon ("LPT1:", "com3"), and for the "\\.\" names
// ("\\.\COM10"). Such a name is opened as it is, never created or emptied, and
// never taken for a printer's name.
bool EsNombreDeDispositivo(std::string_view name);

// True also for the other names Windows keeps for devices: "CON", and "COM"
// or "LPT" followed by any number ("COM10", "lpt0:"). Such a name is never a
// computer on the network: looking it up would ask the whole shop's network.
bool EsNombreReservado(std::string_view name);

// True only for a port of this computer: the names of EsNombreDeDispositivo
// without "\\.\", and "\\.\" followed by "COM" or "LPT" and a number. Never
// a path, a share, a pipe or another device the "\\.\" form reaches
// ("\\.\C:\file", "\\.\UNC\host\share", "\\.\pipe\name").
bool EsPuertoDelEquipo(std::string_view name);
