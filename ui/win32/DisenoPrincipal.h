#pragma once
// The design of the main window: its frame and its seventeen controls with
// kind, text, place in twips, font and tab order. The window is built from
// this table and nothing moves a control afterwards.

#include <optional>
#include <span>
#include <string_view>

#include "ui/VistaPrincipal.h"

inline constexpr int kTwipsPorPulgada = 1440;
inline constexpr int kAnchoClienteTwips = 10215;
inline constexpr int kAltoClienteTwips = 7920;

enum class Clase {
    Boton,          // plain push button
    BotonConIcono,  // owner-drawn: a 32 x 32 icon centred above the caption
    Casilla,        // check box that toggles itself
    Texto,          // single-line edit
    TextoVarias,    // multi-line, read-only edit
    Etiqueta,       // static text, transparent background
    Imagen,         // the picture, drawn by the window
    Rectangulo,     // outline drawn by the window; no child window
    Temporizador,   // the polling timer; no child window
};

enum class Letra { Ventana, Negrita12, Negrita975 };

enum class Icono { Ninguno, A, B };

inline constexpr unsigned kColorDelSistema = 0xFFFFFFFFu;
inline constexpr unsigned kRojo = 0x0000FFu;  // RGB(255, 0, 0)

struct RectTwips {
    int left, top, width, height;
};

struct Elemento {
    std::string_view nombre;
    Clase clase;
    int id;                          // child-window id; 0 for the outlines and the timer
    std::optional<Control> control;  // as the logic names it, where it does
    std::string_view texto;          // UTF-8
    RectTwips pos;
    Letra letra;
    bool tabStop;
    bool marcada;  // design check state of a check box
    Icono icono;
    bool notificaClic = false;  // a click on a static reaches the logic
    bool centrado = false;
    unsigned colorTexto = kColorDelSistema;  // COLORREF
};

// Ids of the child windows that are not in the logic's Control list.
inline constexpr int kIdImageInfo = 120;
// The timer's id and interval.
inline constexpr unsigned kIdTimer = 1;
inline constexpr unsigned kIntervaloTimerMs = 50;

// The seventeen elements, in the order of their tab indexes (the windows are
// created in this order, so dialog navigation follows it), then those that
// have none.
std::span<const Elemento> DisenoPrincipal();

// The element of a control, and of a child-window id (nullptr if none).
const Elemento& ElementoDe(Control control);
const Elemento* ElementoPorId(int id);

// Twips to pixels at `dpi`, rounded to the nearest pixel (halves up), each of
// left, top, width and height on its own as the design gives them.
int Pixeles(int twips, int dpi);

struct RectPixeles {
    int left, top, width, height;
};
RectPixeles APixeles(const RectTwips& r, int dpi);
