// The main window's messages: each one handed to the window's logic, the
// orders of other processes, and the close requests.
#include "ui/win32/VentanaPrincipal.h"

#include <windowsx.h>

#include "platform/win32/ClaseVentana.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32KeyState.h"
#include "ui/Ordenes.h"
#include "ui/win32/AvisosBandeja.h"
#include "ui/win32/GuiaDeUso.h"
#include "ui/win32/PuenteWebVentana.h"
#include "ui/win32/VentanaAsistente.h"

namespace {

bool EsBoton(const Elemento& e) {
    return e.clase == Clase::Boton || e.clase == Clase::BotonConIcono;
}

// What Group Policy broadcasts once it has applied the administrator's values.
bool EsCambioDePolitica(LPARAM lp) {
    return lp != 0 && lstrcmpiW(reinterpret_cast<const wchar_t*>(lp), L"Policy") == 0;
}

}  // namespace

void VentanaPrincipal::AlMorir() {
    hwnd_ = nullptr;
    hijos_.fill(nullptr);
}

LRESULT VentanaPrincipal::Mensaje(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == mensajeTaskbarCreated_ && msg != 0) {
        Reenviar("TaskbarCreated", [](frmAbrirCajon& l) { l.TaskbarCreated(); });
        return 0;
    }
    if (msg == mensajeMostrar_ && msg != 0) {
        // Before its first showing the start-up (and its chooser) is still on
        // screen; the window appears when it ends.
        if (mostrada_) Reenviar("MostrarVentana", [](frmAbrirCajon& l) { l.MostrarVentana(); });
        return 0;
    }
    if (msg == mensajeAbrir_ && msg != 0) return OrdenAbrir();
    for (const auto& [mensaje, manejador] : otros_) {
        if (msg == mensaje && msg != 0) return manejador(wp, lp);
    }
    if (msg == mensajeSalir_ && msg != 0) {
        OrdenSalir();
        return 0;
    }
    switch (msg) {
        case WM_COMMAND:
            Comando(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_TIMER:
            // While a box or the chooser is open the poll waits, or a held F12
            // on a failing port would stack one box per tick.
            if (wp == kIdTimer && logica_ != nullptr && !logica_->ModalAbierto() &&
                (dialogs_ == nullptr || !dialogs_->Abierto())) {
                Reenviar("Timer_Timer", [](frmAbrirCajon& l) { l.Timer_Timer(); });
            }
            return 0;
        case WM_INPUT:
            if (const auto tecla = LeerTecladoCrudo(lp)) {
                Reenviar("EntradaCruda", [&](frmAbrirCajon& l) {
                    l.EntradaCruda(tecla->teclaVirtual, tecla->abajo);
                });
            }
            break;  // the system frees the input in DefWindowProc
        case WM_SIZE:
            if (mostrada_) {
                ++redimensiones_;
                Reenviar("Form_Resize", [](frmAbrirCajon& l) { l.Form_Resize(); });
            }
            return 0;
        case WM_MOUSEMOVE: {
            // Also the notification-area icon's callback, its event code in x.
            const double x = GET_X_LPARAM(lp) * TwipsPorPixel();
            Reenviar("Form_MouseMove", [x](frmAbrirCajon& l) { l.Form_MouseMove(x); });
            return 0;
        }
        case WM_INITMENUPOPUP:
            if (HIWORD(lp) != 0) {  // the system menu: its sensor's item, greyed or not
                bool comprobable = false;
                Reenviar("ComprobarSensor",
                         [&](frmAbrirCajon& l) { comprobable = l.Sensor().Comprobable(); });
                EnableMenuItem(reinterpret_cast<HMENU>(wp), kComandoComprobarSensor,
                               MF_BYCOMMAND | (comprobable ? MF_ENABLED : MF_GRAYED));
            }
            break;
        case WM_SYSCOMMAND:
            if ((wp & 0xFFF0) == kComandoAsistente) {  // as /asistente
                PostMessageW(hwnd_, RegisterWindowMessageW(kMensajeAsistente), 0, 0);
                return 0;
            }
            if ((wp & 0xFFF0) == kComandoGuiaDeUso) {
                if (dialogs_ != nullptr) AbrirGuiaDeUso(hwnd_, *dialogs_);
                return 0;
            }
            if ((wp & 0xFFF0) == kComandoComprobarSensor) {
                Reenviar("ComprobarSensor", [](frmAbrirCajon& l) { l.ComprobarSensor(); });
                return 0;
            }
            if ((wp & 0xFFF0) == SC_CLOSE) {
                // The close box, Alt+F4 and the system menu only minimize.
                if (!ConsultarCierre(vbFormControlMenu)) Cerrar();
                return 0;
            }
            break;
        case WM_CLOSE:
            // A WM_CLOSE that did not come from the frame: the task manager.
            if (!ConsultarCierre(vbAppTaskManager)) Cerrar();
            return 0;
        case WM_QUERYENDSESSION:
            finConsultado_ = !ConsultarCierre(vbAppWindows);
            return finConsultado_ ? TRUE : FALSE;
        case WM_ENDSESSION:
            if (wp != FALSE) {
                if (!finConsultado_) ConsultarCierre(vbAppWindows);
                Cerrar();
                if (alTerminarSesion_) alTerminarSesion_();
            }
            finConsultado_ = false;
            return 0;
        case WM_ACTIVATE:
            Activacion(wp);
            return 0;
        case WM_SETFOCUS:
            if (foco_ != nullptr && IsWindow(foco_) && IsWindowEnabled(foco_)) SetFocus(foco_);
            return 0;
        case WM_NEXTDLGCTL: {
            // What the multi-line text box asks for on Tab (it takes all keys,
            // so the dialog navigation never sees that Tab). Only dialogs
            // answer it by themselves.
            HWND destino = LOWORD(lp) != 0 ? reinterpret_cast<HWND>(wp)
                                           : GetNextDlgTabItem(hwnd_, GetFocus(), wp != 0);
            if (destino != nullptr) {
                SetFocus(destino);
                if (SendMessageW(destino, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
                    SendMessageW(destino, EM_SETSEL, 0, -1);
                }
            }
            return 0;
        }
        case DM_GETDEFID: {
            // Enter presses the focused button, as a button with the focus does
            // in a dialog; elsewhere Enter does nothing (no default button).
            HWND foco = GetFocus();
            const Elemento* e = foco != nullptr && IsChild(hwnd_, foco)
                                    ? ElementoPorId(GetDlgCtrlID(foco))
                                    : nullptr;
            return e != nullptr && EsBoton(*e) ? MAKELRESULT(e->id, DC_HASDEFID) : 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return ColorEstatico(msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        case WM_DRAWITEM:
            Dibujar(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_PAINT:
            Pintar();
            return 0;
        case WM_SETTINGCHANGE:
            // Group Policy has applied: the greying and the bridge's origins
            // as the administrator's values now say, without a restart.
            if (EsCambioDePolitica(lp)) {
                Reenviar("PoliticaCambiada", [](frmAbrirCajon& l) { l.PoliticaCambiada(); });
                if (puenteWeb_ != nullptr) puenteWeb_->PoliticaCambiada();
            }
            break;
        case WM_DESTROY:
            terminando_ = true;
            KillTimer(hwnd_, kIdTimer);
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void VentanaPrincipal::Comando(int id, int notificacion) {
    const Elemento* e = ElementoPorId(id);
    if (e == nullptr) return;  // IDOK / IDCANCEL from Enter and Esc: nothing to do
    if (e->id == kIdImageInfo) {
        if (notificacion == STN_CLICKED) {
            Reenviar("ImageInfo_Click", [](frmAbrirCajon& l) { l.ImageInfo_Click(); });
        }
        return;
    }
    if (!e->control) return;
    // A quick second click on an owner-drawn button arrives as a double-click;
    // for these buttons it is just another click.
    const bool clic = notificacion == BN_CLICKED ||
                      (e->clase == Clase::BotonConIcono && notificacion == BN_DOUBLECLICKED);
    switch (*e->control) {
        case Control::Command:
            if (clic) Reenviar("Command_Click", [](frmAbrirCajon& l) { l.Command_Click(); });
            break;
        case Control::Command1:
            if (clic) Reenviar("Command1_Click", [](frmAbrirCajon& l) { l.Command1_Click(); });
            break;
        case Control::cmdEnd:
            if (clic) Reenviar("cmdEnd_Click", [](frmAbrirCajon& l) { l.cmdEnd_Click(); });
            break;
        case Control::cmdSelectPrinter:
            if (clic) {
                Reenviar("cmdSelectPrinter_Click",
                         [](frmAbrirCajon& l) { l.cmdSelectPrinter_Click(); });
            }
            break;
        case Control::CheckPrinter:
            if (clic)
                Reenviar("CheckPrinter_Click", [](frmAbrirCajon& l) { l.CheckPrinter_Click(); });
            break;
        case Control::txtAscii:
            if (notificacion == EN_KILLFOCUS) {
                Reenviar("txtAscii_LostFocus", [](frmAbrirCajon& l) { l.txtAscii_LostFocus(); });
            }
            break;
        case Control::txtPuerto:
            if (notificacion == EN_KILLFOCUS) {
                Reenviar("txtPuerto_LostFocus", [](frmAbrirCajon& l) { l.txtPuerto_LostFocus(); });
            }
            break;
        case Control::lblInfo:
            if (notificacion == STN_CLICKED) {
                Reenviar("lblInfo_Click", [](frmAbrirCajon& l) { l.lblInfo_Click(); });
            }
            break;
        default:
            break;
    }
}

void VentanaPrincipal::Activacion(WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        // Remember where the focus was, to give it back on return.
        HWND foco = GetFocus();
        if (foco != nullptr && IsChild(hwnd_, foco)) foco_ = foco;
        return;
    }
    if (HIWORD(wp) != 0) return;  // activated while minimized: no focus to give
    HWND destino = foco_ != nullptr && IsWindow(foco_) && IsWindowEnabled(foco_)
                       ? foco_
                       : Hijo(Control::Command);
    SetFocus(destino);
}

LRESULT VentanaPrincipal::OrdenAbrir() {
    // Still starting, already ending, or a box open: F12 would do nothing now.
    if (logica_ == nullptr || !mostrada_ || terminando_ ||
        (dialogs_ != nullptr && dialogs_->Abierto())) {
        return salida::kOcupado;
    }
    LRESULT codigo = salida::kOcupado;
    Reenviar("OrdenAbrir", [&](frmAbrirCajon& l) {
        // The caller hears the answer before a stop box waits for the cashier.
        codigo = l.OrdenAbrir([](int respuesta) { ReplyMessage(respuesta); });
    });
    return codigo;
}

std::optional<SinApertura> VentanaPrincipal::AbrirDesdeWeb(
    const std::string& pagina, const std::function<void(const ResultadoApertura&)>& responder) {
    if (logica_ == nullptr || terminando_) return SinApertura::Cerrando;
    if (!mostrada_) return SinApertura::Arrancando;
    if (dialogs_ != nullptr && dialogs_->Abierto()) return SinApertura::MensajeAbierto;
    std::optional<SinApertura> sin;
    Reenviar("OrdenWeb", [&](frmAbrirCajon& l) { sin = l.OrdenWeb(pagina, responder); });
    return sin;
}

void VentanaPrincipal::OrdenSalir() {
    ReplyMessage(0);
    Reenviar("OrdenSalir", [](frmAbrirCajon& l) { l.OrdenSalir(); });
}

bool VentanaPrincipal::ConsultarCierre(UnloadMode modo) {
    // If the logic fails, a close from the frame stays refused and a close by
    // the system goes ahead: neither should be turned around by a failure.
    bool rechazado = modo == vbFormControlMenu;
    Reenviar("Form_QueryUnload", [&](frmAbrirCajon& l) { rechazado = l.Form_QueryUnload(modo); });
    return rechazado;
}

void VentanaPrincipal::Cerrar() {
    if (terminando_) return;
    Reenviar("Form_Unload", [](frmAbrirCajon& l) { l.Form_Unload(); });
    terminando_ = true;
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}
