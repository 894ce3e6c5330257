#!/usr/bin/env bash
# A kick that fails on the printer path leaves no job behind: a font size the
# printer refuses gives the kick's 380 message and prints nothing; after
# another printer is chosen and the size mended in the parameter file, the
# next kick prints its whole job on the newly chosen printer and nothing on
# the old one.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
source "$(dirname "$0")/capturas.sh"
vieja=Caja_PS
nueva=Bixolon_Copia
e2e_begin printer_failure
e2e_ini "KovraTipo=1" "PrinterDeviceName=$vieja" "AC_BIXOLON_Char=Apertura 380" "AC_BIXOLON_FontSize=0"
e2e_start
answer_startup || fail "main window not shown"
win=$(e2e_wait_window "$MAIN")
sleep 0.5

antes_vieja=$(trabajos $vieja)
antes_nueva=$(trabajos $nueva)

# The refused size: the kick's message, and no job anywhere.
click_control $ID_COMMAND
if e2e_wait_window AbrirCajon 10 >/dev/null; then
    check_eq "refused size: the kick's message" \
        '380.El valor de la propiedad no es válido\r\nPuerto:LPT1:\r\nLínea: 0' "$(e2e_box_text AbrirCajon)"
    e2e_helper command AbrirCajon 1 >/dev/null
    e2e_wait_gone AbrirCajon || fail "message still open"
else
    fail "no message for a refused size"
fi
nuevo_trabajo $vieja "$antes_vieja" 20 >/dev/null && fail "refused size: a job reached $vieja" ||
    ok "refused size: nothing printed"

# "Seleccionar impresora": the new printer's row of the chooser.
click_control $ID_SELECT
if elegir=$(e2e_wait_window Form1 10); then
    xdotool windowfocus --sync "$elegir" 2>/dev/null || true
    xdotool key --window "$elegir" Tab
    e2e_until 5 "id=101 text=" e2e_helper focus Form1 >/dev/null
    elegir_fila "$elegir" $nueva || fail "no row $nueva to select in the chooser"
    xdotool key --window "$elegir" Tab
    sleep 0.25
    e2e_key "$elegir" Return
    e2e_wait_gone Form1 || fail "chooser still open after Aceptar"
else
    fail "no chooser"
fi
check_eq "the new printer is named" "Enviar a: $nueva" "$(e2e_control_text "$MAIN" $ID_CHECKPRINTER)"

# The size mended by hand; the next kick prints on the new printer only.
sed -i 's/^AC_BIXOLON_FontSize=.*/AC_BIXOLON_FontSize=12\r/' "$E2E_DIR/INIS/PARAMETROS.INI"
click_control $ID_COMMAND
if archivo=$(nuevo_trabajo $nueva "$antes_nueva" 100); then
    check_eq "mended size: the whole job on $nueva" "Apertura 380" "$(texto_de "$archivo")"
else
    fail "mended size: no job reached $nueva"
fi
if archivo=$(nuevo_trabajo $vieja "$antes_vieja" 20); then
    fail "mended size: a job reached the old printer $vieja: [$(texto_de "$archivo")]"
else
    ok "mended size: nothing on the old printer"
fi
check_eq "no box after the mended kick" "" "$(e2e_helper windows | grep 'caption=AbrirCajon$')"
