#!/usr/bin/env bash
# No Windows printer (Wine finds no CUPS server), the drawer on LPT1: (a FIFO): /abrir with no copy
# shows no box, KovraTecla=F25 too; start-up shows the 482 box once, applies KovraTipo=0, and F12 kicks.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
export CUPS_SERVER=/nonexistent/abrircajon-sin-impresoras
e2e_begin sin_impresoras
e2e_lpt1_fifo
e2e_ini "KovraTipo=0" "PrinterDeviceName=Caja_PS" "KovraTecla=F25"
(cd "$E2E_DIR" && e2e_wine_out AbrirCajon.exe /abrir >/dev/null; echo $? >"$work/abrir") &
for _ in $(seq 1 100); do [ -s "$work/abrir" ] && break; sleep 0.1; done
check_eq "/abrir with no copy: exit code, no box" "0 " "$(cat "$work/abrir") $(e2e_helper windows | grep 'caption=AbrirCajon$')"
e2e_ini "KovraTipo=0" "PrinterDeviceName=Caja_PS"
e2e_start
answer_startup >"$work/cajas" || fail "main window not shown"
check_eq "one box at start, Enviar a unchecked" "start-up box: Excepción Controlada: 482 (No hay ninguna impresora instalada) en procedimiento Form_Load de Formulario Form1 Linea:14 0" \
    "$(cat "$work/cajas") $(e2e_control "$MAIN" $ID_CHECKPRINTER | e2e_field checked)"
pateado() { [[ $(xxd -p "$work/fifo.out" | tr -d '\n') =~ ^1b70000a64(1b70000a64)+$ ]]; }
e2e_hold_f12 "$(e2e_wait_window "$MAIN")" 0.2
e2e_wait 5 pateado && ok "/abrir, F12: the sequence" || fail "LPT1: [$(xxd -p "$work/fifo.out")]"
