#!/usr/bin/env bash
# The drawer kick from the real window: F12 held and the "F12" button on the
# port path (LPT1: mapped to a FIFO), Shift+F12 and Ctrl+F12 ignored, F12
# while the window sits in the notification area, a bad code sequence and its
# message, the printer path into a CUPS capture queue, the INI box, and
# "Salir" answered No and Yes.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin drawer_window
work=$(mktemp -d)
trap 'exec 7>&- 2>/dev/null; rm -rf "$work"; e2e_end' EXIT

mkfifo "$work/lpt1.fifo"
: >"$work/fifo.out"
exec 7<>"$work/lpt1.fifo"  # a writer kept open: the reader sees every kick
cat "$work/lpt1.fifo" >"$work/fifo.out" 7>&- &
e2e_map_lpt1 "$work/lpt1.fifo"

impresora=$(cups_default)
e2e_ini "KovraTipo=0" "PrinterDeviceName=$impresora"
e2e_start
answer_startup || fail "main window not shown"
win=$(e2e_wait_window "$MAIN")
sleep 0.5

bytes() { stat -c %s "$work/fifo.out"; }
settle() { sleep "${1:-0.4}"; }
kick_hex=1b70000a64

# F12 held: one whole kick per 50 ms tick while it is down.
e2e_hold_f12 "$win" 0.6
settle
n=$(bytes)
if [ "$n" -ge 10 ] && [ $((n % 5)) -eq 0 ]; then ok "F12 held: $((n / 5)) whole kicks"; else fail "F12 held: $n bytes"; fi
check_eq "F12 held: only the drawer kick" "$(printf "$kick_hex%.0s" $(seq 1 $((n / 5))))" \
    "$(xxd -p "$work/fifo.out" | tr -d '\n')"

# Shift+F12 and Ctrl+F12 open nothing.
for mod in shift ctrl; do
    antes=$(bytes)
    xdotool keydown --window "$win" "$mod"
    xdotool keydown --window "$win" F12
    sleep 0.4
    xdotool keyup --window "$win" F12
    xdotool keyup --window "$win" "$mod"
    settle
    check_eq "$mod+F12 opens nothing" "$antes" "$(bytes)"
done

# The "F12" button: exactly one kick.
antes=$(bytes)
click_control $ID_COMMAND
settle
check_eq "F12 button: one kick" "$((antes + 5))" "$(bytes)"

# A bad code sequence: the kick's own message, with the port; nothing sent.
click_control $ID_ASCII
xdotool key --window "$win" End
xdotool type --window "$win" " 256"
antes=$(bytes)
click_control $ID_COMMAND
if e2e_wait_window AbrirCajon 10 >/dev/null; then
    check_eq "bad sequence: message" '5.Llamada a procedimiento o argumento no válidos\r\nPuerto:LPT1:\r\nLínea: 0' \
        "$(e2e_box_text AbrirCajon)"
    e2e_screenshot "$E2E_ARTIFACTS/drawer_window-message.png"
    e2e_helper command AbrirCajon 1 >/dev/null
    e2e_wait_gone AbrirCajon || fail "message still open"
else
    fail "no message for a bad sequence"
fi
check_eq "bad sequence: nothing sent" "$antes" "$(bytes)"
check_eq "KovraASCII stored when txtAscii lost the focus" "27 112 0 10 100 256" "$(e2e_ini_value KovraASCII)"
click_control $ID_ASCII
xdotool key --window "$win" End BackSpace BackSpace BackSpace BackSpace
click_control $ID_PUERTO
settle 0.2
check_eq "KovraASCII stored again" "27 112 0 10 100" "$(e2e_ini_value KovraASCII)"

# In the notification area F12 still opens the drawer.
click_control $ID_COMMAND1
settle
check_eq "Cerrar (Minimizar): hidden" "visible=0" \
    "$(e2e_helper windows | grep "caption=$MAIN\$" | grep -o 'visible=[01]')"
antes=$(bytes)
e2e_hold_f12 "$win" 0.3
settle
n=$(($(bytes) - antes))
if [ "$n" -ge 5 ] && [ $((n % 5)) -eq 0 ]; then ok "F12 while hidden: $((n / 5)) kicks"; else
    fail "F12 while hidden: $n bytes"; fi
e2e_helper post "$MAIN" 0x0200 1 0x0203 >/dev/null  # the icon's double-click
settle

# The printer path: a job in the current printer's capture queue.
click_control $ID_CHECKPRINTER
settle 0.2
check_eq "KovraTipo stored" 1 "$(e2e_ini_value KovraTipo)"
capturas=$CAJON_CUPS_DIR/capturas/$impresora
antes_jobs=$(ls "$capturas" 2>/dev/null | wc -l)
antes=$(bytes)
click_control $ID_COMMAND
for _ in $(seq 1 50); do
    [ "$(ls "$capturas" 2>/dev/null | wc -l)" -gt "$antes_jobs" ] && break
    sleep 0.1
done
job=$(ls -t "$capturas"/*.prn 2>/dev/null | head -1)
check_eq "printer path: one job in $impresora" "$((antes_jobs + 1))" "$(ls "$capturas" 2>/dev/null | wc -l)"
if [ -n "$job" ]; then
    texto=$(gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite -sOutputFile=- "$job" 2>/dev/null | tr -d ' \n')
    check_eq "printer path: two empty lines, no text" "" "$texto"
fi
check_eq "printer path: nothing on the port" "$antes" "$(bytes)"

# The INI box shows the parameter file's path, and changes nothing.
click_control $ID_LBLINFO 60
if e2e_wait_window INI 10 >/dev/null; then
    check_eq "INI box: the path" 'C:\e2e\drawer_window\INIS\PARAMETROS.INI' \
        "$(e2e_helper controls INI | grep 'class=Edit' | sed 's/.* text=//')"
    e2e_helper command INI 1 >/dev/null
    e2e_wait_gone INI || fail "INI box still open"
else
    fail "no INI box"
fi

# "Salir": No keeps the program; Yes ends it.
click_control $ID_CMDEND
if e2e_wait_window AbrirCajon 10 >/dev/null; then
    check_eq "Salir: the question" "¿Cerrar programa?" "$(e2e_box_text AbrirCajon)"
    e2e_helper command AbrirCajon 7 >/dev/null  # IDNO
fi
settle
e2e_running && ok "Salir, No: still running" || fail "Salir, No: the program ended"
click_control $ID_CMDEND
e2e_wait_window AbrirCajon 10 >/dev/null && e2e_helper command AbrirCajon 6 >/dev/null  # IDYES
for _ in $(seq 1 50); do e2e_running || break; sleep 0.1; done
e2e_running && fail "Salir, Yes: still running" || ok "Salir, Yes: the program ended"
