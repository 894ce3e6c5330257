#!/usr/bin/env bash
# The first start, with an empty INIS folder: the printer chooser comes before
# the main window; the accepted printer is stored and named in the window,
# which shows the default port and sequence with output through the printer.
# The next start asks nothing.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin first_start
rm -f "$E2E_DIR/INIS/PARAMETROS.INI"
elegida=Tickets_RAW  # neither the first row nor the default printer

e2e_start
if elegir=$(e2e_wait_window Form1 30); then
    ok "the chooser comes first"
    check_eq "the main window is not shown yet" "visible=0" \
        "$(e2e_helper windows | grep "caption=$MAIN\$" | grep -o 'visible=[01]')"
    xdotool windowfocus --sync "$elegir" 2>/dev/null || true
    xdotool key --window "$elegir" Tab
    e2e_until 5 "id=101 text=" e2e_helper focus Form1 >/dev/null
    elegir_fila "$elegir" $elegida || fail "no row $elegida to select in the chooser"
    xdotool key --window "$elegir" Tab
    sleep 0.25
    e2e_key "$elegir" Return
    e2e_wait_gone Form1 || fail "chooser still open after Aceptar"
else
    fail "no chooser at the first start"
fi
e2e_wait_window "$MAIN" 20 >/dev/null || fail "no main window"
sleep 0.5
check_eq "txtPuerto" "LPT1:" "$(e2e_control_text "$MAIN" $ID_PUERTO)"
check_eq "txtAscii" "27 112 0 10 100" "$(e2e_control_text "$MAIN" $ID_ASCII)"
check_eq "CheckPrinter checked" 1 "$(e2e_control "$MAIN" $ID_CHECKPRINTER | e2e_field checked)"
check_eq "CheckPrinter names the accepted printer" "Enviar a: $elegida" "$(e2e_control_text "$MAIN" $ID_CHECKPRINTER)"
check_eq "txtPrinter describes the job" 'Printer.Print\r\nPrinter.EndDoc ' "$(e2e_control_text "$MAIN" $ID_TXTPRINTER)"
check_eq "the file holds the printer, and only it" "[Parametros]|PrinterDeviceName=$elegida|" \
    "$(tr -d '\r' <"$E2E_DIR/INIS/PARAMETROS.INI" | tr '\n' '|')"
e2e_screenshot "$E2E_ARTIFACTS/first_start.png"
e2e_stop

e2e_start
e2e_wait_window "$MAIN" 20 >/dev/null || fail "no main window at the second start"
sleep 0.5
check_eq "second start: no chooser" "" "$(e2e_helper windows | grep 'visible=1 .*caption=Form1$')"
check_eq "second start: the same printer" "Enviar a: $elegida" "$(e2e_control_text "$MAIN" $ID_CHECKPRINTER)"
