#include "ui/win32/BotonConIcono.h"

#include <algorithm>
#include <string>

#include "platform/win32/ObjetosGdi.h"

namespace {

constexpr int kBorde = 3;        // the 3-D frame that DrawFrameControl draws
constexpr int kMargenTexto = 4;  // between the frame and the wrapped caption
constexpr int kSeparacion = 2;   // between icon and caption
constexpr int kMargenFoco = 4;
constexpr int kLadoMinimo = 16;  // a small icon's edge

std::wstring TextoDe(HWND boton) {
    const int n = GetWindowTextLengthW(boton);
    std::wstring texto(static_cast<std::size_t>(n) + 1, L'\0');
    const int leidos = GetWindowTextW(boton, texto.data(), n + 1);
    texto.resize(static_cast<std::size_t>(std::max(leidos, 0)));
    return texto;
}

}  // namespace

void PintarBotonConIcono(const DRAWITEMSTRUCT& item, HICON icono, int lado) {
    HDC dc = item.hDC;
    RECT marco = item.rcItem;
    const bool pulsado = (item.itemState & ODS_SELECTED) != 0;
    const bool inactivo = (item.itemState & ODS_DISABLED) != 0;
    const bool foco = (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0;

    DrawFrameControl(dc, &marco, DFC_BUTTON, DFCS_BUTTONPUSH | (pulsado ? DFCS_PUSHED : 0));

    // The button's font is not necessarily the one selected in this DC.
    auto fuente = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    Seleccion conFuente(
        dc, fuente != nullptr ? static_cast<HGDIOBJ>(fuente) : GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring texto = TextoDe(item.hwndItem);
    const int ancho = item.rcItem.right - item.rcItem.left;
    const int alto = item.rcItem.bottom - item.rcItem.top;
    RECT medida{0, 0, std::max(ancho - 2 * (kBorde + kMargenTexto), 1), 0};
    DrawTextW(dc, texto.c_str(), static_cast<int>(texto.size()), &medida,
              DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    const int altoTexto = medida.bottom - medida.top;

    // Icon and caption as one block, centred. A caption that wraps to more
    // lines than the button has room for would be cut; the icon shrinks
    // instead (down to a small icon's size), so the whole caption stays legible.
    const int sitioIcono = alto - 2 * kBorde - kSeparacion - altoTexto;
    const int ladoDibujado = std::clamp(sitioIcono, std::min(kLadoMinimo, lado), lado);
    const int bloque = ladoDibujado + kSeparacion + altoTexto;
    const int desplazamiento = pulsado ? 1 : 0;
    const int arriba = item.rcItem.top + std::max(kBorde, (alto - bloque) / 2) + desplazamiento;
    const int izquierdaIcono = item.rcItem.left + (ancho - ladoDibujado) / 2 + desplazamiento;

    if (icono != nullptr) {
        if (inactivo) {
            DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icono), 0, izquierdaIcono,
                       arriba, ladoDibujado, ladoDibujado, DST_ICON | DSS_DISABLED);
        } else {
            DrawIconEx(dc, izquierdaIcono, arriba, icono, ladoDibujado, ladoDibujado, 0, nullptr,
                       DI_NORMAL);
        }
    }

    // A single word wider than the wrapping width ("(Minimizar)") may use the
    // whole inside of the frame rather than lose its first and last letters.
    const int mitadTexto =
        std::min(std::max<int>(medida.right - medida.left, ancho - 2 * (kBorde + kMargenTexto)),
                 ancho - 2 * kBorde) /
        2;
    const int centro = item.rcItem.left + ancho / 2 + desplazamiento;
    RECT zonaTexto{centro - mitadTexto, arriba + ladoDibujado + kSeparacion, centro + mitadTexto,
                   item.rcItem.bottom - kBorde};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(inactivo ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextW(dc, texto.c_str(), static_cast<int>(texto.size()), &zonaTexto,
              DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);

    if (foco) {
        RECT rectFoco = item.rcItem;
        InflateRect(&rectFoco, -kMargenFoco, -kMargenFoco);
        DrawFocusRect(dc, &rectFoco);
    }
}
