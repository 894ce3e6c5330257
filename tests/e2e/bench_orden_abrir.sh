#!/usr/bin/env bash
# Milliseconds from starting AbrirCajon.exe /abrir to the drawer's bytes on
# LPT1: (a FIFO), with no copy running and with one in the notification area,
# beside those from pressing F12 on that copy: the median of N tries each. A
# measurement, not a test: run it by hand with the display, the Wine prefix
# and CUPS started (scripts/lib/services.sh), e.g.
#   CAJON_EXE=build/win64/AbrirCajon.exe CAJON_HELPER=build/win64/cajon_e2e_helper.exe \
#       tests/e2e/bench_orden_abrir.sh 20
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
tries=${1:-20}
e2e_begin bench_orden
work=$(mktemp -d)
trap 'exec 7>&- 2>/dev/null; rm -rf "$work"; e2e_end' EXIT
mkfifo "$work/lpt1.fifo"
exec 7<>"$work/lpt1.fifo" # a writer kept open: each read ends at its bytes
e2e_map_lpt1 "$work/lpt1.fifo"
ms() { echo $(($(date +%s%N) / 1000000)); }
abrir() { (cd "$E2E_DIR" && cajon_wine AbrirCajon.exe /abrir </dev/null >/dev/null 2>&1) & }
fin_abrir() { wait $!; }
f12() { xdotool keydown --window "$win" F12; }
fin_f12() { xdotool keyup --window "$win" F12; }
medir() { # medir START END: from START to the first kick's bytes, then END
    timeout 0.3 cat <&7 >/dev/null # what a key held one tick longer left
    head -c 5 "$work/lpt1.fifo" >/dev/null &
    local lector=$! t0
    t0=$(ms)
    $1
    wait "$lector"
    echo $(($(ms) - t0))
    $2
}
mediana() { # medir START END, `tries` times: the median
    for _ in $(seq 1 "$tries"); do medir "$@"; done | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'
}

e2e_ini "KovraTipo=0" "PrinterDeviceName=$(cups_default)"
sin_copia=$(mediana abrir fin_abrir)
e2e_start
answer_startup || fail "main window not shown"
win=$(e2e_wait_window "$MAIN")
click_control "$ID_COMMAND1"
wait_state "visible=0 iconic=1" >/dev/null
con_copia=$(mediana abrir fin_abrir)
tecla=$(mediana f12 fin_f12)
echo "median of $tries tries, ms from the start to the bytes on LPT1:"
echo "  AbrirCajon.exe /abrir, no copy running:                $sin_copia"
echo "  AbrirCajon.exe /abrir, a copy in the notification area: $con_copia"
echo "  F12 on that copy:                                       $tecla"
