#!/usr/bin/env bash
# The record of kicks, INIS\APERTURAS.CSV, from the real window on a real
# LPT1: (mapped to a FIFO): off with KovraRegistro=0; two clicks of "F12",
# one F12 key and one kick on a missing port give a header and four lines in
# the system's code page, the failed one written while its stop box is still
# open; a file held open without sharing loses lines but no kick, and the next
# line says how many. Last, the time of a kick with and without the record,
# for the record (not a pass/fail check).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
: "${CAJON_KICK_DRIVER:?}"
e2e_begin aperturas
e2e_lpt1_fifo

csv="$E2E_DIR/INIS/APERTURAS.CSV"
csv_win='C:\e2e\aperturas\INIS\APERTURAS.CSV'
bytes() { stat -c %s "$work/fifo.out"; }
lines() { if [ -f "$csv" ]; then wc -l <"$csv"; else echo 0; fi; }
wait_lines() {  # wait_lines N: until the record has N lines (5 s at most)
    local i
    for i in $(seq 1 500); do
        [ "$(lines)" -ge "$1" ] && return 0
        sleep 0.01
    done
    return 1
}
acp=$(e2e_helper acp)
encoding=CP$acp
[ "$acp" == 65001 ] && encoding=UTF-8
set_port() {
    local old
    old=$(e2e_control_text "$MAIN" $ID_PUERTO)
    click_control $ID_PUERTO
    xdotool key --window "$win" End $(printf 'BackSpace %.0s' $(seq 1 ${#old}))
    xdotool type --window "$win" "$1"
    click_control $ID_ASCII  # txtPuerto loses the focus
    sleep 0.2
    check_eq "port set to $1" "$1" "$(e2e_control_text "$MAIN" $ID_PUERTO)"
}
no_box() { ! e2e_helper windows | grep -q 'caption=AbrirCajon$'; }

e2e_ini "KovraTipo=0" "KovraRegistro=0" "PrinterDeviceName=$(cups_default)"
e2e_start
answer_startup || fail "main window not shown"
win=$(e2e_wait_window "$MAIN")
sleep 0.5

# Off: the kick goes out, no file appears.
click_control $ID_COMMAND
sleep 0.5
check_eq "KovraRegistro=0: the kick" 5 "$(bytes)"
[ -e "$csv" ] && fail "KovraRegistro=0: the file appeared" || ok "KovraRegistro=0: no file"

# On again, read at the next kick without a restart.
e2e_ini "KovraTipo=0" "KovraRegistro=1" "PrinterDeviceName=$(cups_default)"
click_control $ID_COMMAND
wait_lines 2 || fail "button 1: no line"
click_control $ID_COMMAND
wait_lines 3 || fail "button 2: no line"
# One kick by the F12 key: presses shorter than the 50 ms poll, until one is seen.
for _ in $(seq 1 30); do
    xdotool keydown --window "$win" F12 sleep 0.02 keyup --window "$win" F12
    sleep 0.3
    [ "$(lines)" -ge 4 ] && break
done
wait_lines 4 || fail "F12: no line"
check_eq "three kicks sent" 20 "$(bytes)"

# A missing port: the line is there while the stop box waits for the cashier.
set_port LPT9:
click_control $ID_COMMAND
if e2e_wait_window AbrirCajon 10 >/dev/null; then
    box=$(e2e_box_text AbrirCajon)
    wait_lines 5
    check_eq "missing port: five lines while the box is open" 5 "$(lines)"
    e2e_helper command AbrirCajon 1 >/dev/null
    e2e_wait_gone AbrirCajon || fail "stop box still open"
else
    fail "no stop box for LPT9:"
    box=""
fi
numero=${box%%.*}
descripcion=${box#*.}
descripcion=${descripcion%%\\r\\n*}
check_eq "stop box" '2.No se encuentra el dispositivo o el archivo\r\nPuerto:LPT9:\r\nLínea: 0' "$box"

# The file: CR LF lines in the system's code page, in kick order.
check_eq "header in code page $acp" \
    "$(printf 'Fecha;Hora;Usuario;Origen;Vía;Destino;Resultado;Perdidas\r\n' | iconv -f UTF-8 -t "$encoding" | xxd -p)" \
    "$(head -n 1 "$csv" | xxd -p)"
check_eq "every line ends in CR LF" 5 "$(grep -c $'\r$' "$csv")"
as_text() { iconv -f "$encoding" -t UTF-8 "$csv" | tr -d '\r'; }
as_text >"$work/csv.txt"
hoy=$(date +%F)
usuario=$(id -un)
momento="$hoy;[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3};$usuario"
esperadas=(
    "^Fecha;Hora;Usuario;Origen;Vía;Destino;Resultado;Perdidas$"
    "^$momento;Botón F12;Puerto;LPT1:;Enviado;$"
    "^$momento;Botón F12;Puerto;LPT1:;Enviado;$"
    "^$momento;Tecla F12;Puerto;LPT1:;Enviado;$"
    "^$momento;Botón F12;Puerto;LPT9:;Error $numero: $descripcion;$"
)
for i in "${!esperadas[@]}"; do
    linea=$(sed -n "$((i + 1))p" "$work/csv.txt")
    if [[ "$linea" =~ ${esperadas[$i]} ]]; then ok "line $((i + 1)): $linea"; else
        fail "line $((i + 1)): [$linea] does not match [${esperadas[$i]}]"; fi
done
check_eq "times in order" "$(cut -d';' -f2 "$work/csv.txt" | sed 1d | sort | tr '\n' ' ')" \
    "$(cut -d';' -f2 "$work/csv.txt" | sed 1d | tr '\n' ' ')"

# Held without sharing: the kicks go out, silently; the next line counts the lost ones.
set_port LPT1:
cajon_wine "$CAJON_HELPER" holdfile "$csv_win" 6 </dev/null >"$work/hold.out" 2>&1 &
holder=$!
for _ in $(seq 1 100); do grep -q held "$work/hold.out" && break; sleep 0.05; done
grep -q held "$work/hold.out" || fail "the file could not be held: $(cat "$work/hold.out")"
antes=$(bytes)
click_control $ID_COMMAND
sleep 0.3
click_control $ID_COMMAND
check_until "held: both kicks sent" $((antes + 10)) bytes
no_box && ok "held: no box" || fail "held: a box is open"
wait "$holder"
grep -q released "$work/hold.out" || fail "the helper did not release the file in time"
check_eq "held: nothing written meanwhile" 5 "$(lines)"
click_control $ID_COMMAND
wait_lines 6 || fail "after the release: no line"
check_eq "after the release: two lost" "Botón F12;Puerto;LPT1:;Enviado;2" \
    "$(as_text | tail -n 1 | cut -d';' -f4-)"
click_control $ID_COMMAND
wait_lines 7
check_eq "then none lost" "Enviado;" "$(as_text | tail -n 1 | cut -d';' -f7-)"
e2e_stop
exec 7>&-

# The time of one kick, with and without its line: 1000 of each, alternating
# 2 ms apart, LPT1: to a plain file.
: >"$work/bench.bin"
e2e_map_lpt1 "$work/bench.bin"
mkdir -p "$E2E_DIR/bench/INIS"
printf '[Parametros]\r\nKovraPuerto=LPT1:\r\nKovraASCII=27 112 0 10 100\r\nKovraTipo=0\r\nKovraBloqueado=0\r\n' \
    >"$E2E_DIR/bench/INIS/PARAMETROS.INI"
e2e_wine_out "$CAJON_KICK_DRIVER" "27 112 0 10 100" "LPT1:" 1 1 1000 \
    'ini=C:\e2e\aperturas\bench\INIS\PARAMETROS.INI' >"$work/bench.txt"
sin=$(sed -n 's/^median_us=\([0-9.]*\).*/\1/p' "$work/bench.txt")
con=$(sed -n 's/^recorded_median_us=\([0-9.]*\).*/\1/p' "$work/bench.txt")
echo "median kick without the record: $sin us; with it: $con us (ratio $(awk -v a="$con" -v b="$sin" 'BEGIN { printf "%.2f", a / b }'))"
grep -E '^(ok|median_us|recorded_median_us|lost)' "$work/bench.txt"
check_eq "benchmark: every kick sent" "ok" "$(head -n 1 "$work/bench.txt")"
check_eq "benchmark: 1000 recorded kicks, none lost" "1001 lost=0" \
    "$(wc -l <"$E2E_DIR/bench/INIS/APERTURAS.CSV") $(grep '^lost=' "$work/bench.txt")"
