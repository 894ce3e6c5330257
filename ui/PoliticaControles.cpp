#include "ui/PoliticaControles.h"

void PoliticaControles::Mostrar(VistaPrincipal& vista) const {
    const auto fijado = [&](Control control, bool porPolitica) {
        if (!porPolitica && !bloqueo) return;
        vista.Habilitar(control, false);
        vista.FijarConsejo(control, kTextoPorPolitica);
    };
    fijado(Control::txtPuerto, puerto);
    fijado(Control::txtAscii, ascii);
    fijado(Control::CheckPrinter, tipo);
    fijado(Control::cmdSelectPrinter, impresora);
    if (sensor || bloqueo) vista.FijarComprobarSensor(false, kTextoPorPolitica);
}
