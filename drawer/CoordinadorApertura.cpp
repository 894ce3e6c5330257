#include "drawer/CoordinadorApertura.h"

#include <utility>

#include "settings/Conversiones.h"

AjustesApertura LeerAjustesApertura(Parametros& parametros, Printing& impresora) {
    AjustesApertura ajustes(
        parametros.VRXGetParametro(claves::KovraPuerto, defecto::KovraPuerto),
        parametros.VRXGetParametro(claves::KovraASCII, defecto::KovraASCII),
        ValorNumerico(parametros.VRXGetParametro(claves::KovraTipo, defecto::KovraTipo)) == 1.0);
    if (!ajustes.CheckPrinter()) return ajustes;
    try {
        std::string nombre = parametros.VRXGetParametro(claves::PrinterDeviceName, "");
        SinSelector selector;
        A_GetPrinter(nombre, false, impresora, selector,
                     [&](std::string_view n) { return parametros.ComoSeGuarda(n); });
    } catch (const Fallo&) {
        // No printer, or the spooler not answering: the kick's own stop box says so.
    }
    return ajustes;
}

std::optional<ResultadoApertura> CoordinadorApertura::Patear(const SolicitudApertura& solicitud) {
    if (pateando_) return std::nullopt;
    pateando_ = true;
    ++patadas_;
    struct AlAcabar {
        bool& pateando;
        ~AlAcabar() { pateando = false; }
    } alAcabar{pateando_};

    std::optional<AjustesApertura> leidos;
    if (solicitud.controles == nullptr) {
        leidos = LeerAjustesApertura(servicios_.parametros, servicios_.impresora);
    }
    const ControlesApertura& controles =
        solicitud.controles != nullptr ? *solicitud.controles : *leidos;

    ServiciosApertura servicios{servicios_.puertos, servicios_.impresora, servicios_.parametros,
                                solicitud.cajas != nullptr ? *solicitud.cajas : servicios_.dialogs};
    servicios.red = servicios_.red;
    // In the machine's copy, a file or share that another user may have put in
    // the settings file is not written with this user's rights. Only the
    // policy's own port is exempt: a window started before the policy came
    // (written with no broadcast) still shows the file's.
    if (servicios_.parametros.ArchivoAjeno()) {
        const auto fijado = servicios_.parametros.Politica(claves::KovraPuerto);
        servicios.soloDispositivos = !fijado || *fijado != controles.TextoPuerto();
    }
    // Handed over before a failure's box: the line does not wait for the
    // cashier to close it.
    servicios.alTerminar = [&](const ResultadoApertura& resultado) {
        if (servicios_.registro != nullptr) {
            servicios_.registro->Anotar(servicios_.parametros.Ruta(), solicitud.origen,
                                        solicitud.quien, resultado);
        }
        // The watch first: a page that asks for the drawer's state as soon
        // as it hears of the kick must not read the last opening's close.
        if (servicios_.sensor != nullptr) servicios_.sensor->TrasPatada(resultado);
        if (solicitud.alTerminar) solicitud.alTerminar(resultado);
    };
    if (servicios_.sensor != nullptr) servicios_.sensor->AntesDePatada();
    return EnviarApertura(controles, std::move(servicios));
}
