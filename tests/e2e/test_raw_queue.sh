#!/usr/bin/env bash
# The drawer kick as a RAW job, from the real window: with a printer's name in
# the port box (the raw CUPS capture queue Tickets_RAW, typed in another case)
# every kick of the F12 key or the "F12" button is one job holding exactly the
# bytes the port path writes, in each of the four output modes, and a file of
# the same name is left alone. A queue that rejects jobs, or a printer removed
# since start-up, gives the kick's stop message naming the printer and no job.
# A bare name that names no printer fails with 1801 and creates no file; a
# file with a folder in front and LPT1: still work as before.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin raw_queue
COLA=Tickets_RAW
QUITADA=Cajon_Quitada
source "$(dirname "$0")/capturas.sh"
work=$(mktemp -d)
trap 'cupsaccept $COLA 2>/dev/null; lpadmin -x $QUITADA 2>/dev/null; rm -rf "$work" "$CAPTURAS/$QUITADA"; e2e_end' EXIT

if ! lpstat -p "$COLA" >/dev/null 2>&1; then
    fail "no CUPS queue $COLA (tests/e2e/cups/start-cups.sh makes it)"
    exit 1
fi
# A second raw queue, removed once the program has read the printer list.
lpadmin -p "$QUITADA" -E -v "abrircajon-capture:/$QUITADA" 2>&1 | grep -v deprecated >&2
cupsenable "$QUITADA" && cupsaccept "$QUITADA"

# nuevos QUEUE BEFORE [esperado]: once the queue has nothing pending, the hex
# bytes of each job not in BEFORE, one line per job, in the order they were
# made. With a third argument a job is expected, and waited for up to 5 s: the
# first job of a run can take longer to reach the queue than the 0.3 s after
# which an empty queue is taken for "no job".
nuevos() {
    local cola=$1 antes=$2
    sleep 0.3
    for _ in $(seq 1 47); do
        [ -z "${3:-}" ] || [ -n "$(trabajos "$cola" | grep -vxF -f <(echo "$antes"))" ] && break
        sleep 0.1
    done
    for _ in $(seq 1 100); do
        [ -z "$(lpstat -o "$cola" 2>/dev/null)" ] && break
        sleep 0.1
    done
    for job in $(trabajos "$cola" | grep -vxF -f <(echo "$antes")); do
        xxd -p "$CAPTURAS/$cola/$job" | tr -d '\n'
        echo
    done
}

# The program's own folder is its working folder: a file there named as the
# printer is what "tickets_raw" opened before printers were looked up.
printf 'no tocar' >"$E2E_DIR/tickets_raw"
e2e_ini "KovraTipo=0" "KovraPuerto=tickets_raw" "PrinterDeviceName=$(cups_default)"
e2e_start
answer_startup || fail "main window not shown"
win=$(e2e_wait_window "$MAIN")
sleep 0.5
lpadmin -x "$QUITADA"

declare -A bytes_de=(
    [11]=1b70000a64 [10]=1b70000a640d0a [01]=1b70000a64 [00]=1b0d0a700d0a000d0a0a0d0a640d0a
)
# modo TODOJUNTO PUNTOYCOMA: clicks the check boxes that differ.
modo() {
    [ "$(e2e_control "$MAIN" $ID_TODOJUNTO | e2e_field checked)" == "$1" ] ||
        click_control $ID_TODOJUNTO 10
    [ "$(e2e_control "$MAIN" $ID_PUNTOYCOMA | e2e_field checked)" == "$2" ] ||
        click_control $ID_PUNTOYCOMA 10
    check_eq "mode $1$2 set" "$1$2" \
        "$(e2e_control "$MAIN" $ID_TODOJUNTO | e2e_field checked)$(e2e_control "$MAIN" $ID_PUNTOYCOMA | e2e_field checked)"
}

for m in 11 10 01 00; do
    modo "${m:0:1}" "${m:1:1}"
    antes=$(trabajos $COLA)
    click_control $ID_COMMAND
    check_eq "mode $m, F12 button: one job, exactly the kick" "${bytes_de[$m]}" "$(nuevos $COLA "$antes" esperado)"

    antes=$(trabajos $COLA)
    e2e_hold_f12 "$win" 0.15
    jobs=$(nuevos $COLA "$antes" esperado)
    n=$(grep -c . <<<"$jobs")
    if [ "$n" -ge 1 ] && [ -z "$(grep -vxF "${bytes_de[$m]}" <<<"$jobs")" ]; then
        ok "mode $m, F12 key: $n job(s), each exactly the kick"
    else
        fail "mode $m, F12 key: jobs [$(tr '\n' ' ' <<<"$jobs")]"
    fi
done
check_eq "a file named as the printer is left alone" "no tocar" "$(cat "$E2E_DIR/tickets_raw")"
check_eq "no message box" "" "$(xdotool search --name '^AbrirCajon$' 2>/dev/null)"
modo 1 1

# The stop message: the system's number and description, then the printer.
mensaje_de_fallo() {  # mensaje_de_fallo WHAT PRINTER
    if e2e_wait_window AbrirCajon 15 >/dev/null; then
        local texto
        texto=$(e2e_box_text AbrirCajon)
        if [[ "$texto" =~ ^[0-9]+\.[^\\]+\\r\\nPuerto:$2\\r\\nLínea:\ 0$ ]]; then ok "$1: $texto"; else
            fail "$1: message [$texto]"; fi
        e2e_helper command AbrirCajon 1 >/dev/null
        e2e_wait_gone AbrirCajon || fail "$1: message still open"
    else
        fail "$1: no message"
    fi
}

# A queue that rejects jobs: the message, and nothing printed, not even once
# the queue accepts jobs again.
cupsreject $COLA
antes=$(trabajos $COLA)
click_control $ID_COMMAND
mensaje_de_fallo "rejecting queue" $COLA
cupsaccept $COLA
sleep 1
check_eq "rejecting queue: no job" "" "$(nuevos $COLA "$antes")"
check_eq "rejecting queue: nothing left in the queue" "" "$(lpstat -o $COLA 2>/dev/null)"
click_control $ID_COMMAND
check_eq "accepting again: the next kick is one job" "${bytes_de[11]}" "$(nuevos $COLA "$antes" esperado)"

# A printer removed since start-up (Wine keeps listing it).
set_puerto() {
    click_control $ID_PUERTO
    # shellcheck disable=SC2046  # thirty separate key names
    xdotool key --window "$win" End $(printf 'BackSpace %.0s' $(seq 1 30))
    xdotool type --window "$win" "$1"
}
set_puerto "$QUITADA"
click_control $ID_COMMAND
mensaje_de_fallo "printer removed since start-up" "$QUITADA"
check_eq "printer removed since start-up: no job" "" "$(trabajos $QUITADA)"

# A bare name that names no printer is no file: the stop message with 1801
# and the text as typed, nothing created; the record says so, and keeps a
# text that a spreadsheet would run as a formula as text.
set_puerto "=POS-80 Recibos"
click_control $ID_COMMAND
if e2e_wait_window AbrirCajon 15 >/dev/null; then
    check_eq "no such printer: the stop message" \
        '1801.El nombre de la impresora no es válido\r\nPuerto:=POS-80 Recibos\r\nLínea: 0' \
        "$(e2e_box_text AbrirCajon)"
    e2e_helper command AbrirCajon 1 >/dev/null
    e2e_wait_gone AbrirCajon || fail "no such printer: message still open"
else
    fail "no such printer: no message"
fi
check_eq "no such printer: no file created" "" "$(find "$E2E_DIR" "$WINEPREFIX/drive_c/windows/system32" -maxdepth 1 -name '*POS-80*')"
ultima_linea() { iconv -f cp1252 -t utf-8 "$E2E_DIR/INIS/APERTURAS.CSV" | tail -1 | tr -d '\r' | sed 's/^[^;]*;[^;]*;[^;]*;[^;]*//'; }
check_until "no such printer: the record's line" \
    ";RAW;\"'=POS-80 Recibos\";Error 1801: El nombre de la impresora no es válido;" ultima_linea

# A file with a folder in front and LPT1: are opened as before, with no job.
antes=$(trabajos $COLA)
set_puerto ".\\cajon.bin"
click_control $ID_COMMAND
check_until "file name: the bytes in the file" "${bytes_de[11]}" xxd -p "$E2E_DIR/cajon.bin"
: >"$work/lpt1.bin"
e2e_map_lpt1 "$work/lpt1.bin"
set_puerto "LPT1:"
click_control $ID_COMMAND
check_until "LPT1: the bytes on the port" "${bytes_de[11]}" xxd -p "$work/lpt1.bin"
check_eq "file name and LPT1: no job" "" "$(nuevos $COLA "$antes")"
check_eq "file name and LPT1: no message box" "" "$(xdotool search --name '^AbrirCajon$' 2>/dev/null)"
check_eq "KovraPuerto stored as typed" "LPT1:" "$(e2e_ini_value KovraPuerto)"
