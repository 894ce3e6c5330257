#!/usr/bin/env bash
# Median ms from starting AbrirCajon.exe /abrir to the bytes on LPT1: (a FIFO),
# with no copy running and with one in the notification area, beside F12 on
# that copy. A measurement, not a test; by hand, with the display, prefix and
# CUPS started: CAJON_EXE=... CAJON_HELPER=... bench_orden_abrir.sh [TRIES]
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin bench_orden
trap 'exec 7>&- 2>/dev/null; rm -f "$E2E_DIR/lpt1.fifo"; e2e_end' EXIT
mkfifo "$E2E_DIR/lpt1.fifo"
exec 7<>"$E2E_DIR/lpt1.fifo" # a writer kept open: each read ends at its bytes
e2e_map_lpt1 "$E2E_DIR/lpt1.fifo"
ms() { echo $(($(date +%s%N) / 1000000)); }
abrir() { (cd "$E2E_DIR" && cajon_wine AbrirCajon.exe /abrir </dev/null >/dev/null 2>&1) & }
terminada() { wait $!; }
mediana() { # START END: START, the time to the first 5 bytes, END; TRIES times
    for _ in $(seq 1 "${1:-20}"); do
        timeout 0.3 cat <&7 >/dev/null # a key held one poll longer
        head -c 5 "$E2E_DIR/lpt1.fifo" >/dev/null &
        local lector=$! t0
        t0=$(ms) && $2 && wait "$lector" && echo $(($(ms) - t0)) && $3
    done | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'
}
e2e_ini "KovraTipo=0" "PrinterDeviceName=$(cups_default)"
echo "no copy running, /abrir: $(mediana "${1:-}" abrir terminada) ms"
e2e_start
answer_startup || fail "main window not shown"
win=$(e2e_wait_window "$MAIN")
click_control "$ID_COMMAND1"
wait_state "visible=0 iconic=1" >/dev/null
echo "a copy in the notification area, /abrir: $(mediana "${1:-}" abrir terminada) ms"
echo "that copy, F12: $(mediana "${1:-}" "xdotool keydown --window $win F12" "xdotool keyup --window $win F12") ms"
