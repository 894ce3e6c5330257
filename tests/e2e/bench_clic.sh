#!/usr/bin/env bash
# A measurement, not a test: a click on the big button, from the click to its
# 5 bytes on LPT1: (a FIFO the helper reads), beside the least a program can
# do on a click (the helper's window "Minimo": open LPT1:, write the 5 bytes,
# close), taking turns ten clicks at a time, CLICKS each (300 by default):
# median and 90th percentile. With the display, prefix and CUPS started:
#   CAJON_EXE=... CAJON_HELPER=... bench_clic.sh [CLICKS] [KovraRegistro]
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin bench_clic
work=$(mktemp -d)
trap 'exec 7>&- 2>/dev/null; rm -rf "$work"; e2e_end' EXIT
mkfifo "$work/lpt1.fifo"
exec 7<>"$work/lpt1.fifo" # opens never wait; the helper is the only reader
e2e_map_lpt1 "$work/lpt1.fifo"
fifo="Z:${work//\//\\}\\lpt1.fifo"
e2e_ini "KovraTipo=0" "KovraRegistro=${2:-1}" "PrinterDeviceName=$(cups_default)"
e2e_start
answer_startup || fail "main window not shown"
(cajon_wine "$CAJON_HELPER" minimo </dev/null >/dev/null 2>&1) &
e2e_wait_window Minimo >/dev/null
vueltas=$((${1:-300} / 10))
for _ in $(seq 1 "$vueltas"); do
    e2e_helper clics "$MAIN" "$ID_COMMAND" 10 "$fifo" >>"$work/programa"
    e2e_helper clics Minimo 100 10 "$fifo" >>"$work/minimo"
done
e2e_helper post Minimo 0x10 0 0 >/dev/null
for f in programa minimo; do
    sort -n "$work/$f" | awk -v f=$f '{v[NR] = $1} END {printf "%s: median %s ms, 90th percentile %s ms\n",
        f, v[int((NR + 1) / 2)], v[int(NR * 0.9)]}'
done
echo "clicks measured: $(cat "$work/programa" | wc -l) and $(cat "$work/minimo" | wc -l)"
