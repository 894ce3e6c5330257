#pragma once
// The program's title: the caption of every message box it shows.

inline constexpr const char* kTituloPrograma = "AbrirCajon";
