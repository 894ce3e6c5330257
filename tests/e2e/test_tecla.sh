#!/usr/bin/env bash
# KovraTecla from the real window, LPT1: mapped to a FIFO. F9: the button
# reads "F9", F9 kicks byte for byte, so does each shortest press, F12, Shift+F9 and Ctrl+F9 do not. F25:
# one box at start, the file untouched, and F12 kicks. F4: Alt+F4 does not kick, F4 does.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin tecla
e2e_lpt1_fifo

start() {  # start KOVRATECLA: the window up on the port path; its start-up boxes in $work/cajas
    e2e_ini "KovraTipo=0" "PrinterDeviceName=$(cups_default)" "KovraTecla=$1"
    e2e_start
    answer_startup >"$work/cajas" || fail "main window not shown"
    win=$(e2e_wait_window "$MAIN")
    sleep 0.5
}
sent() {  # sent KEYS...: the keys held together 0.4 s; prints in hex what reached LPT1:
    local antes i
    antes=$(stat -c %s "$work/fifo.out")
    for i in "$@"; do xdotool keydown --window "$win" "$i"; done
    sleep 0.4
    for ((i = $#; i > 0; i--)); do xdotool keyup --window "$win" "${!i}"; done
    sleep 0.4
    tail -c +$((antes + 1)) "$work/fifo.out" | xxd -p | tr -d '\n'
}

start F9
check_eq "F9: the button's caption" "F9" "$(e2e_control_text "$MAIN" $ID_COMMAND)"
e2e_screenshot "$E2E_ARTIFACTS/tecla-F9.png"
[[ $(sent F9) =~ ^(1b70000a64)+$ ]] && ok "F9 kicks" || fail "F9 does not kick"
for keys in F12 "shift F9" "ctrl F9"; do check_eq "$keys opens nothing" "" "$(sent $keys)"; done
antes=$(stat -c %s "$work/fifo.out")
for _ in $(seq 1 10); do xdotool keydown --window "$win" F9 keyup --window "$win" F9 sleep 0.15; done
check_eq "10 short presses of F9: 10 kicks" "$(printf '1b70000a64%.0s' {1..10})" "$(tail -c +$((antes + 1)) "$work/fifo.out" | xxd -p | tr -d '\n')"
e2e_stop

start F25
check_eq "F25: one box at start" 'start-up box: El valor de KovraTecla no es válido: "F25" (debe ser una tecla de F1 a F24). Se usa F12.' \
    "$(grep KovraTecla "$work/cajas")"
check_eq "F25: the file untouched" "F25" "$(e2e_ini_value KovraTecla)"
[[ $(sent F12) =~ ^(1b70000a64)+$ ]] && ok "F25: F12 kicks" || fail "F25: F12 does not kick"
e2e_stop

# Last: after Alt+F4 on its window, a copy ended by force holds back the next start under Wine.
start F4
check_eq "F4: Alt+F4 opens nothing" "" "$(sent alt F4)"
[[ $(sent F4) =~ ^(1b70000a64)+$ ]] && ok "F4 kicks" || fail "F4 does not kick"
