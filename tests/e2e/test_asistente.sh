#!/usr/bin/env bash
# The drawer assistant, driven by Enter alone: impresora_escpos.py stands in
# for receipt printers on 127.0.0.1 whose drawer opens on one family of
# commands only, answering DLE EOT 1 with either polarity. Started with
# /asistente (no copy running): on a Star printer it saves "7" and
# KovraSensor=1, and the main window shows the codes at once; reached in the
# running copy by a second /asistente: on a printer with its drawer on pin 5
# and pin 3 low when open, "27 112 1 25 250" and KovraSensor=2; with a
# printer that no command opens, and with KovraBloqueado, the file is left
# as it was. Every try is an "Asistente" line of the record. The benchmark:
# seconds from "Siguiente" to the page that names the command found.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin asistente
work=$(mktemp -d)
pids=()
for p in "star 3 abre=star" "pin5 3 abre=pin5 bajo" "nada 3 abre=nada"; do
    set -- $p
    python3 "$(dirname "$0")/impresora_escpos.py" tcp "$work/$1" "$work/$1.log" "${@:2}" &
    pids+=($!)
done
trap 'kill "${pids[@]}"; rm -rf "$E2E_ARTIFACTS/asistente-impresoras";
      mv "$work" "$E2E_ARTIFACTS/asistente-impresoras"; e2e_end' EXIT
for f in star pin5 nada; do until [ -s "$work/$f" ]; do sleep 0.1; done; done
read -r star pin5 nada < <(cat "$work"/{star,pin5,nada} | tr '\n' ' ')
ASIS="Asistente del cajón"
ini="$E2E_DIR/INIS/PARAMETROS.INI"
csv="$E2E_DIR/INIS/APERTURAS.CSV"

esperar() {  # esperar SECONDS 'CONDITION': until it holds
    local i
    for i in $(seq 1 $(($1 * 10))); do eval "$2" && return 0; sleep 0.1; done
    return 1
}
pagina() { e2e_control_text "$ASIS" 10; }       # the page's text
en_pagina() { [[ "$(pagina)" == "$1"* ]]; }     # it begins so
intro() {  # Enter on the assistant, then wait for the page that begins with $1
    e2e_key "$(e2e_wait_window "$ASIS" 5)" Return
    esperar "${2:-10}" "en_pagina '$1'" || fail "after Enter: no page '$1' but [$(pagina)]"
}
arrancar() {  # arrancar PRINTER [KEY=VALUE...]: a fresh file; the program started with /asistente
    local puerto=$1
    shift
    e2e_ini "KovraTipo=0" "KovraPuerto=127.0.0.1:$puerto" "KovraASCII=27 112 0 10 100" \
        "PrinterDeviceName=$(cups_default)" "$@"
    (cd "$E2E_DIR" && cajon_wine_exec AbrirCajon.exe /asistente </dev/null \
        >"$E2E_ARTIFACTS/asistente-wine.log" 2>&1) &
    E2E_PID=$!
    answer_startup || fail "main window not shown"
    e2e_wait_window "$ASIS" 10 >/dev/null || fail "/asistente: no assistant"
    esperar 5 "en_pagina 'Paso 1 de 3'" || fail "not at its first step: [$(pagina)]"
}
buscar() {  # buscar WHAT: Enter on the first step until the page naming what opened the drawer
    local inicio fin
    check_eq "$1: the route now configured comes first" "Ahora: Por la red en 127.0.0.1:$2" \
        "$(e2e_helper list "$ASIS" 11 | sed -n 2p)"
    inicio=$(date +%s%N)
    intro "El cajón se ha abierto" 25
    fin=$(date +%s%N)
    echo "bench: asistente $1: $(((fin - inicio) / 1000000)) ms from Siguiente to the command found"
    [ $(((fin - inicio) / 1000000)) -lt 20000 ] && ok "$1: found within 20 s" || fail "$1: too slow"
}

# 1. A Star printer, pin 3 high when open: started with /asistente.
arrancar "$star"
buscar "Star" "$star"
intro "Paso 3 de 3"
e2e_key "$(e2e_wait_window "$ASIS" 5)" Return
e2e_wait_gone "$ASIS" && ok "Star: Guardar closes it" || fail "Star: the assistant stays"
check_eq "Star: saved the Star command and KovraSensor=1" "0 127.0.0.1:$star 7 1" \
    "$(e2e_ini_value KovraTipo) $(e2e_ini_value KovraPuerto) $(e2e_ini_value KovraASCII) $(e2e_ini_value KovraSensor)"
check_eq "Star: the main window shows the codes at once" "7" "$(e2e_control_text "$MAIN" $ID_ASCII)"
check_eq "Star: ESC/POS tried first, one kick each, then BEL" \
    "1b700019fa 1b700119fa 1014010001 1014010101 07" "$(tr '\n' ' ' <"$work/star.log" | sed 's/ $//')"
check_eq "Star: every try recorded as the assistant's" 5 "$(grep -ac ";Asistente;Red;127.0.0.1:$star;Enviado" "$csv")"

# 2. Pin 5, pin 3 low when open: a second /asistente reaches the running copy.
e2e_ini "KovraTipo=0" "KovraPuerto=127.0.0.1:$pin5" "KovraASCII=27 112 0 10 100" \
    "PrinterDeviceName=$(cups_default)"
(cd "$E2E_DIR" && e2e_wine_out AbrirCajon.exe /asistente >/dev/null; echo $? >"$work/orden.rc")
check_eq "/asistente to the running copy: exit code 0" 0 "$(cat "$work/orden.rc")"
esperar 5 "en_pagina 'Paso 1 de 3'" || fail "the running copy's assistant: [$(pagina)]"
buscar "pin 5" "$pin5"
intro "Paso 3 de 3"
e2e_key "$(e2e_wait_window "$ASIS" 5)" Return
e2e_wait_gone "$ASIS" || fail "pin 5: the assistant stays"
check_eq "pin 5: saved 27 112 1 25 250 and KovraSensor=2" "0 127.0.0.1:$pin5 27 112 1 25 250 2" \
    "$(e2e_ini_value KovraTipo) $(e2e_ini_value KovraPuerto) $(e2e_ini_value KovraASCII) $(e2e_ini_value KovraSensor)"
e2e_stop

# 3. A printer that no command opens: every try, then what to check; nothing written.
arrancar "$nada"
cp "$ini" "$work/antes.ini"
intro "Ninguna orden ha abierto el cajón" 30
check_eq "nothing opens it: seven tries" 7 "$(wc -l <"$work/nada.log")"
cmp -s "$ini" "$work/antes.ini" && ok "nothing opens it: the file as it was" || fail "nothing opens it: the file changed"
e2e_key "$(e2e_wait_window "$ASIS" 5)" Return
e2e_wait_gone "$ASIS" || fail "the assistant stays"
e2e_stop

# 4. KovraBloqueado: found, but the page shows the lines and writes nothing.
arrancar "$star" "KovraBloqueado=1"
cp "$ini" "$work/antes.ini"
intro "El cajón se ha abierto" 25
intro "Paso 3 de 3"
[[ "$(pagina)" == *"No se guarda nada"*"KovraASCII=7"* ]] && ok "locked: the page shows the lines" ||
    fail "locked: [$(pagina)]"
e2e_key "$(e2e_wait_window "$ASIS" 5)" Return
e2e_wait_gone "$ASIS" || fail "locked: the assistant stays"
cmp -s "$ini" "$work/antes.ini" && ok "locked: the file as it was" || fail "locked: the file changed"
