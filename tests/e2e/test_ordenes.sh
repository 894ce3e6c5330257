#!/usr/bin/env bash
# AbrirCajon.exe /abrir, /salir and a wrong order, LPT1: to a FIFO: handed to
# a copy hidden in the notification area, and carried out with no copy;
# /salir saves the port being typed.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin ordenes
e2e_lpt1_fifo
orden() { (cd "$E2E_DIR" && e2e_wine_out AbrirCajon.exe "$@" >/dev/null); echo $?; }
bytes() { xxd -p "$work/fifo.out" | tr -d '\n'; }
lineas() { grep -c "$1" "$E2E_DIR/INIS/APERTURAS.CSV"; }
caja() { e2e_wait_window AbrirCajon 10 >/dev/null && e2e_box_text AbrirCajon; }
numero_caja() { caja | sed 's/\..*//'; }
tray_visible() { e2e_helper windows | grep -q 'visible=1 .*caption=Wine System Tray$'; }

e2e_ini "KovraTipo=0" "PrinterDeviceName=$(cups_default)"
e2e_start
answer_startup || fail "main window not shown"
click_control $ID_COMMAND1
check_eq "in the notification area" "visible=0 iconic=1" "$(wait_state "visible=0 iconic=1")"
check_eq "/abrir to the running copy: exit code" 0 "$(orden /abrir)"
check_eq "-ABRIR: exit code" 0 "$(orden -ABRIR)"
check_until "the default sequence twice" 1b70000a641b70000a64 bytes
check_until "recorded as the order's" 2 lineas ';Orden /abrir;Puerto;LPT1:;Enviado;'
check_eq "the window still hidden" "visible=0 iconic=1" "$(state)"

rm -f "$WINEPREFIX/dosdevices/lpt1" # LPT1: cannot be opened now
codigo=$(orden /abrir)
check_eq "the caller ended with the number of the box still open" "$(numero_caja)" "$codigo"
check_eq "a copy with its box open is busy" 170 "$(orden /abrir)"
e2e_helper command AbrirCajon 1 >/dev/null

e2e_map_lpt1 "$work/lpt1.fifo"
e2e_helper postreg "$MAIN" AbrirCajon.MostrarVentana >/dev/null
check_eq "shown again" "visible=1 iconic=0" "$(wait_state "visible=1 iconic=0")"
click_control $ID_PUERTO && xdotool key --window "$(e2e_wait_window "$MAIN")" End BackSpace BackSpace BackSpace BackSpace BackSpace type COM7:
check_eq "/salir: exit code" 0 "$(orden /salir)"
check_eq "/salir: the port being typed is saved" "COM7:" "$(e2e_ini_value KovraPuerto)"
e2e_running && fail "/salir: the copy still runs" || ok "/salir: the copy ended"
tray_visible && fail "/salir: its icon stayed" || ok "/salir: no icon left"
check_until "/salir: every line written" 3 lineas ';Orden /abrir;Puerto;LPT1:;'
check_eq "/salir with no copy: exit code" 1 "$(orden /salir)"

orden /nada >"$work/nada" &
[[ "$(caja)" == Uso:*/abrir*/salir* ]] && ok "/nada: the usage box" || fail "/nada: no usage box"
e2e_helper command AbrirCajon 1 >/dev/null
wait $!
check_eq "/nada: exit code" 87 "$(cat "$work/nada")"

e2e_ini "KovraTipo=2" # a start would write 0, and show the chooser
xev -root -event substructure >"$work/xev" 2>&1 &
xev=$!
sleep 0.3
check_eq "/abrir with no copy: exit code" 0 "$(orden /abrir)"
kill "$xev"
check_until "/abrir with no copy: the sequence" 1b70000a641b70000a641b70000a64 bytes
check_eq "/abrir with no copy: no window mapped" 0 "$(grep -c MapNotify "$work/xev")"
check_until "/abrir with no copy: recorded" 4 lineas ';Orden /abrir;Puerto;LPT1:;'
check_eq "/abrir with no copy: nothing written" "2/" \
    "$(e2e_ini_value KovraTipo)/$(e2e_ini_value PrinterDeviceName)"
rm -f "$WINEPREFIX/dosdevices/lpt1"
orden /abrir >"$work/sin" &
numero=$(numero_caja)
e2e_helper command AbrirCajon 1 >/dev/null
wait $!
check_eq "/abrir with no copy, failing: its box's number" "$numero" "$(cat "$work/sin")"

# The administrator's port also for /abrir with no copy running: a file the
# policy names, where the parameter file says LPT1:.
e2e_map_lpt1 "$work/lpt1.fifo"
politicas='HKCU\SOFTWARE\Policies\AbrirCajon'
e2e_reg add "$politicas" /v KovraPuerto /d 'C:\e2e\ordenes\politica.bin'
check_eq "/abrir with no copy, a policy's port: exit code" 0 "$(orden /abrir)"
check_eq "/abrir with no copy: the bytes went to the policy's port" 1b70000a64 \
    "$(xxd -p "$E2E_DIR/politica.bin" 2>/dev/null)"
check_eq "/abrir with no copy: recorded with the policy's port" 1 \
    "$(grep -cF ';Orden /abrir;Puerto;C:\e2e\ordenes\politica.bin;Enviado;' "$E2E_DIR/INIS/APERTURAS.CSV")"
e2e_reg delete "$politicas"

# "Salir", then a start as soon as its window is gone, while the ending copy
# may still be finishing: the new copy waits for it, shows its window, and
# F12 opens the drawer.
e2e_ini "KovraTipo=0"
e2e_start
answer_startup || fail "restart: first window not shown"
click_control $ID_CMDEND
e2e_wait_window AbrirCajon 10 >/dev/null && e2e_helper command AbrirCajon 6 >/dev/null # IDYES
e2e_wait_gone "$MAIN" || fail "Salir: the window stayed"
antes=$(stat -c %s "$work/fifo.out")
e2e_start
answer_startup && ok "Salir then a start at once: the window shown" || fail "Salir then a start at once: no window"
e2e_hold_f12 "$(e2e_wait_window "$MAIN")" 0.3
for _ in $(seq 1 50); do [ "$(stat -c %s "$work/fifo.out")" -gt "$antes" ] && break; sleep 0.1; done
# Held over a few ticks of the poll, F12 kicks at each.
[[ "$(tail -c +$((antes + 1)) "$work/fifo.out" | xxd -p | tr -d '\n')" =~ ^(1b70000a64)+$ ]] &&
    ok "Salir then a start at once: F12 opens the drawer" ||
    fail "Salir then a start at once: F12 did not open the drawer"
