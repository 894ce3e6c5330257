#!/usr/bin/env bash
# The main window and the printer chooser at 144 dpi (Wine's LogPixels): the
# client areas, every control's place and the centring follow the DPI.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin main_window_144dpi
set_dpi() {
    e2e_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1"
}
trap 'set_dpi 96; e2e_end' EXIT
set_dpi 144
e2e_ini "KovraTipo=1" "PrinterDeviceName=NoInstalada"
check_eq "Wine at 144 dpi" 144 "$(e2e_helper dpi)"

on_chooser() {
    e2e_screenshot "$E2E_ARTIFACTS/main_window-chooser-144dpi.png"
    local controls
    controls=$(e2e_helper controls Form1)
    check_eq "chooser client area at 144 dpi" "client=600,624" "$(head -1 <<<"$controls" | cut -d' ' -f1)"
    check_eq "Aceptar at 144 dpi" "459,567,128,50" "$(grep '^id=100 ' <<<"$controls" | e2e_field rect)"
    check_eq "list at 144 dpi" "3,9,593,533" "$(grep '^id=101 ' <<<"$controls" | e2e_field rect)"
}

e2e_start
if answer_startup on_chooser; then ok "main window shown"; else fail "main window not shown"; fi
sleep 0.5
e2e_screenshot "$E2E_ARTIFACTS/main_window-144dpi.png"
check_diseno 144
check_textos
check_eq "F12 has the focus at start" "id=100 text=F12" "$(e2e_helper focus "$MAIN")"
