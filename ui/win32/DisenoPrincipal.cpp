#include "ui/win32/DisenoPrincipal.h"

#include <array>

namespace {

constexpr std::string_view kRecuerde =
    "Recuerde: BIXOLON PRINTER CONFIG (Parám. KovraBloqueado bloquea INI)";

// Ids are 100 plus the tab index, so a listing of the children reads in tab
// order.
constexpr std::array<Elemento, 17> kDiseno{{
    {"Command",
     Clase::BotonConIcono,
     100,
     Control::Command,
     "F12",
     {150, 4950, 3915, 915},
     Letra::Negrita12,
     true,
     false,
     Icono::A},
    {"txtPuerto",
     Clase::Texto,
     101,
     Control::txtPuerto,
     "LPT1:",
     {570, 3810, 855, 315},
     Letra::Ventana,
     true,
     false,
     Icono::Ninguno},
    {"txtAscii",
     Clase::Texto,
     102,
     Control::txtAscii,
     "27 112 0 10 100",
     {1440, 3810, 2235, 285},
     Letra::Ventana,
     true,
     false,
     Icono::Ninguno},
    {"CheckTodoJunto",
     Clase::Casilla,
     103,
     Control::CheckTodoJunto,
     "Secuenda completa en un sólo paso",
     {630, 4140, 3135, 225},
     Letra::Ventana,
     true,
     true,
     Icono::Ninguno},
    {"CheckConPuntoyComa",
     Clase::Casilla,
     104,
     Control::CheckConPuntoyComa,
     "Con ; al imprimir",
     {600, 4380, 1815, 225},
     Letra::Ventana,
     true,
     true,
     Icono::Ninguno},
    {"CheckPrinter",
     Clase::Casilla,
     105,
     Control::CheckPrinter,
     "Enviar a printer",
     {60, 690, 4125, 435},
     Letra::Ventana,
     true,
     true,
     Icono::Ninguno},
    {"txtPrinter",
     Clase::TextoVarias,
     106,
     Control::txtPrinter,
     "Printer.Print \r\nPrint.EndDoc\r\n",
     {630, 1770, 3105, 1395},
     Letra::Ventana,
     true,
     false,
     Icono::Ninguno},
    {"lblInfo",
     Clase::Etiqueta,
     107,
     Control::lblInfo,
     kRecuerde,
     {630, 90, 9255, 315},
     Letra::Negrita975,
     false,
     false,
     Icono::Ninguno,
     true},
    {"cmdEnd",
     Clase::BotonConIcono,
     108,
     Control::cmdEnd,
     "Salir",
     {120, 6300, 1575, 1035},
     Letra::Negrita12,
     false,
     false,
     Icono::B},
    {"Command1",
     Clase::BotonConIcono,
     109,
     Control::Command1,
     "Cerrar (Minimizar)",
     {2490, 6330, 1575, 1005},
     Letra::Negrita12,
     false,
     false,
     Icono::B},
    {"lblIni",
     Clase::Etiqueta,
     110,
     Control::lblIni,
     kRecuerde,
     {180, 330, 9255, 315},
     Letra::Ventana,
     false,
     false,
     Icono::Ninguno},
    {"cmdSelectPrinter",
     Clase::Boton,
     111,
     Control::cmdSelectPrinter,
     "Seleccionar impresora",
     {60, 1170, 4155, 405},
     Letra::Ventana,
     true,
     false,
     Icono::Ninguno},
    {"LabelComentario",
     Clase::Etiqueta,
     112,
     Control::LabelComentario,
     "Truco: Puede crear 2 impresoras iguales, con distinta opción de corte / apertura cajón y "
     "usar diferente para abrir cajón o impresión",
     {90, 7440, 9915, 495},
     Letra::Negrita975,
     false,
     false,
     Icono::Ninguno,
     false,
     true,
     kRojo},
    {"ImageInfo",
     Clase::Imagen,
     kIdImageInfo,
     std::nullopt,
     "",
     {4200, 570, 5910, 6870},
     Letra::Ventana,
     false,
     false,
     Icono::Ninguno,
     true},
    {"Shape1",
     Clase::Rectangulo,
     0,
     std::nullopt,
     "",
     {450, 1650, 3465, 1605},
     Letra::Ventana,
     false,
     false,
     Icono::Ninguno},
    {"Shape2",
     Clase::Rectangulo,
     0,
     std::nullopt,
     "",
     {390, 3750, 3465, 945},
     Letra::Ventana,
     false,
     false,
     Icono::Ninguno},
    {"Timer",
     Clase::Temporizador,
     0,
     std::nullopt,
     "",
     {2460, 4830, 0, 0},
     Letra::Ventana,
     false,
     false,
     Icono::Ninguno},
}};

constexpr bool CadaControlTieneFila() {
    for (int c = 0; c <= static_cast<int>(Control::LabelComentario); ++c) {
        bool hay = false;
        for (const Elemento& e : kDiseno)
            hay = hay || (e.control && static_cast<int>(*e.control) == c);
        if (!hay) return false;
    }
    return true;
}
static_assert(CadaControlTieneFila(), "every control the logic names needs a row in the design");

}  // namespace

std::span<const Elemento> DisenoPrincipal() {
    return kDiseno;
}

const Elemento& ElementoDe(Control control) {
    for (const Elemento& e : kDiseno) {
        if (e.control == control) return e;
    }
    // Unreachable: the static_assert above guarantees a row for every control.
    return kDiseno.front();
}

const Elemento* ElementoPorId(int id) {
    if (id == 0) return nullptr;
    for (const Elemento& e : kDiseno) {
        if (e.id == id) return &e;
    }
    return nullptr;
}

int Pixeles(int twips, int dpi) {
    const long long producto = static_cast<long long>(twips) * dpi;
    const long long medio = kTwipsPorPulgada / 2;
    return static_cast<int>(producto >= 0 ? (producto + medio) / kTwipsPorPulgada
                                          : -((-producto + medio) / kTwipsPorPulgada));
}

RectPixeles APixeles(const RectTwips& r, int dpi) {
    return {Pixeles(r.left, dpi), Pixeles(r.top, dpi), Pixeles(r.width, dpi),
            Pixeles(r.height, dpi)};
}
