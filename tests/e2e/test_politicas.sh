#!/usr/bin/env bash
# Settings by policy and the event log, from the real program under Wine: a
# KovraPuerto in HKLM\SOFTWARE\Policies\AbrirCajon (HKCU's naming another port)
# and a KovraASCII as a REG_DWORD in HKCU's send F12's kick there while the INI
# says LPT1:, grey both boxes with their tip, and leave the INI byte for byte;
# each kick reaches the event log with its ID and fields (Wine keeps no log: it
# prints ReportEventW on its debug channels), and so does a web origin the
# bridge refuses; KovraEventos=0 pushed by policy while the program runs stops
# them at the next kick, and its removal brings them back; a KovraWebOrigenes
# changed while it runs rules once Group Policy broadcasts its change; beyond
# 64 refused origins a count is told; with the policies gone, the next start
# shows the INI's values again.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin politicas
e2e_lpt1_fifo
MAQUINA='HKLM\SOFTWARE\Policies\AbrirCajon'
USUARIO='HKCU\SOFTWARE\Policies\AbrirCajon'
sin_politicas() { e2e_reg delete "$MAQUINA"; e2e_reg delete "$USUARIO"; }
trap 'sin_politicas; rm -f "$WINEPREFIX/dosdevices/lpt2"; exec 7>&- 8>&- 2>/dev/null; rm -rf "$work"; e2e_end' EXIT
# LPT2: a FIFO too, its bytes in $work/lpt2 (fd 8 keeps a writer open).
mkfifo "$work/lpt2.fifo"
: >"$work/lpt2"
exec 8<>"$work/lpt2.fifo"
cat "$work/lpt2.fifo" >"$work/lpt2" 7>&- 8>&- &
ln -sfn "$work/lpt2.fifo" "$WINEPREFIX/dosdevices/lpt2"
log="$E2E_ARTIFACTS/politicas-wine.log"
csv="$E2E_DIR/INIS/APERTURAS.CSV"
P=47127
lines() { if [ -f "$csv" ]; then wc -l <"$csv"; else echo 0; fi; }
mas_lineas() { [ "$(lines)" -gt "$1" ]; }
# The kicks' and origins' events: the start's own (1300-1307) are another test's.
eventos() { e2e_eventos "$log" | grep -v '^130[0-7] '; }
cuantos() { [ "$(eventos | wc -l)" -ge "$1" ]; }
tip_visible() { e2e_helper tips | grep -q .; }
f12() {  # one kick: presses shorter than the 50 ms poll, until one is seen
    local antes i
    antes=$(lines)
    for i in $(seq 1 30); do
        xdotool keydown --window "$win" F12 sleep 0.02 keyup --window "$win" F12
        e2e_wait 1 mas_lineas "$antes" && return 0
    done
    fail "F12 $1: no line in the record"
}

sin_politicas
e2e_reg add "$MAQUINA" /v KovraPuerto /t REG_SZ /d LPT2:
e2e_reg add "$USUARIO" /v KovraPuerto /t REG_SZ /d LPT3:
e2e_reg add "$USUARIO" /v KovraASCII /t REG_DWORD /d 7
e2e_ini "KovraTipo=0" "KovraPuerto=LPT1:" "PrinterDeviceName=$(cups_default)" \
    "KovraWebOrigenes=https://tpv.ejemplo.com" "KovraWebPuerto=$P"
cp "$E2E_DIR/INIS/PARAMETROS.INI" "$work/antes.ini"
WINEDEBUG=-all,+eventlog,fixme+advapi e2e_start
answer_startup || fail "main window not shown"
win=$(e2e_wait_window "$MAIN")
check_eq "port box: the machine's policy, greyed" "enabled=0 LPT2:" \
    "$(e2e_control "$MAIN" $ID_PUERTO | sed -E 's/.*(enabled=[01]).* text=(.*)/\1 \2/')"
check_eq "sequence box: the user's REG_DWORD as its text, greyed" "enabled=0 7" \
    "$(e2e_control "$MAIN" $ID_ASCII | sed -E 's/.*(enabled=[01]).* text=(.*)/\1 \2/')"
check_eq "CheckPrinter, set by no policy, enabled" 1 "$(e2e_control "$MAIN" $ID_CHECKPRINTER | e2e_field enabled)"
# A greyed box gets no mouse messages: its tip comes from the window below it.
read -r ox oy < <(e2e_helper controls "$MAIN" | head -1 | e2e_field origin | tr , ' ')
IFS=, read -r l t w h < <(e2e_control "$MAIN" $ID_PUERTO | e2e_field rect)
xdotool mousemove $((ox + l + w / 2 - 3)) $((oy + t + h / 2))
sleep 0.1
xdotool mousemove $((ox + l + w / 2)) $((oy + t + h / 2))
e2e_wait 5 tip_visible || fail "no tip over the greyed box"
check_eq "the tip over the greyed box" "Configurado por el administrador" "$(e2e_helper tips | head -1)"
e2e_screenshot "$E2E_ARTIFACTS/politicas-consejo.png"
xdotool mousemove 0 0

f12 1
check_eq "F12 to the policy's port, with its sequence" 07 "$(xxd -p "$work/lpt2")"
check_eq "nothing on the INI's LPT1:" 0 "$(stat -c %s "$work/fifo.out")"
e2e_wait 5 cuantos 1 || fail "no event for the kick"
check_eq "the kick's event: 1000, Information" "1000 4" "$(eventos | head -1)"
for campo in "Tecla F12" Puerto LPT2: Enviado; do
    grep -qF "trace:eventlog:ReportEventW L\"$campo\"" "$log" && ok "event field $campo" ||
        fail "event field $campo missing"
done

# Turned off by a policy pushed while the program runs: the next kick has no event.
e2e_reg add "$USUARIO" /v KovraEventos /t REG_DWORD /d 0
f12 2
sleep 0.3
check_eq "KovraEventos=0 by policy: no event" 1 "$(eventos | wc -l)"
e2e_reg delete "$USUARIO" /v KovraEventos
f12 3
e2e_wait 5 cuantos 2 || fail "policy removed: no event"
check_eq "policy removed: the event is back" "1000 4" "$(eventos | sed -n 2p)"
check_eq "three kicks to the policy's port" 070707 "$(xxd -p "$work/lpt2")"

# A web page whose origin is not listed: 403, and an event of its own.
code=$(curl -s -o /dev/null -w '%{http_code}' -X POST -H "Host: 127.0.0.1:$P" \
    -H 'Origin: https://ajena.example' -H 'Content-Type: application/json' --data '{}' \
    "http://127.0.0.1:$P/v1/abrir")
check_eq "unlisted origin refused" 403 "$code"
e2e_wait 5 cuantos 3 || fail "no event for the refused origin"
check_eq "the refused origin's event: 1200, Warning" "1200 2" "$(eventos | sed -n 3p)"
grep -qF 'warn:eventlog:ReportEventW L"Web https://ajena.example"' "$log" &&
    ok "the refused origin named" || fail "the refused origin not named"
check_eq "no record line for it" 4 "$(lines)"

# KovraWebOrigenes changed while it runs rules once Group Policy says so.
web() { curl -s -o /dev/null -w '%{http_code}' -H "Host: 127.0.0.1:$P" -H "Origin: $2" -H 'Content-Type: application/json' ${3:+--data "$3"} "http://127.0.0.1:$P/v1/$1"; }
check_eq "listed at the start" 200 "$(web estado https://tpv.ejemplo.com)"
e2e_reg add "$MAQUINA" /v KovraWebOrigenes /t REG_SZ /d https://nueva.ejemplo
e2e_helper policy >/dev/null || fail "WM_SETTINGCHANGE not sent"
check_until "the revoked origin refused" 403 web estado https://tpv.ejemplo.com
check_until "the new origin answered" 200 web estado https://nueva.ejemplo
# Beyond 64 refused origins (ajena.example the first), a count: at once, then what is left at the end.
for i in $(seq 1 65); do web abrir "https://r$i.example" '{}' >/dev/null; done
e2e_wait 10 cuantos 67 || fail "no event for the 65th refused origin"
check_eq "/salir" 0 "$( (cd "$E2E_DIR" && e2e_wine_out AbrirCajon.exe /salir >/dev/null); echo $?)"
e2e_wait 10 cuantos 68 || fail "the count left at the end not told"
check_eq "the counts: 1308, Warning" "1308 2,1308 2" "$(eventos | tail -2 | paste -sd,)"
for o in r64 r65; do grep -qF "warn:eventlog:ReportEventW L\"Web https://$o.example\"" "$log" && ok "$o named" || fail "$o not named"; done
e2e_stop
cp "$log" "$E2E_ARTIFACTS/politicas-eventos.log"  # the next start writes its own
cmp -s "$work/antes.ini" "$E2E_DIR/INIS/PARAMETROS.INI" && ok "the INI as it was, byte for byte" ||
    fail "the INI changed: $(diff "$work/antes.ini" "$E2E_DIR/INIS/PARAMETROS.INI" | tr '\n' ' ')"

# The policies gone: the INI's values and the boxes back.
sin_politicas
e2e_start
answer_startup || fail "main window not shown without policies"
check_eq "without policies: the INI's port, enabled" "enabled=1 LPT1:" \
    "$(e2e_control "$MAIN" $ID_PUERTO | sed -E 's/.*(enabled=[01]).* text=(.*)/\1 \2/')"
