#!/usr/bin/env bash
# Life in the notification area, with Wine's own tray window as the shell's:
# minimizing in its three ways hides the window behind an icon; a double-click
# or a right-button release on the icon brings it back, a single click does
# not; a restarted shell gets the icon again; a second copy of the program
# shows the first one's window and ends; "Salir" leaves no icon behind, and
# neither does the end of the session while the window is in the area.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin tray
e2e_ini "KovraTipo=0" "PrinterDeviceName=$(cups_default)"
e2e_start
answer_startup || fail "main window not shown"
win=$(e2e_wait_window "$MAIN")
sleep 0.5

# Wine's tray window shows while it holds an icon: "visible=1 rect=x,y,w,h".
tray() { e2e_helper windows | grep 'caption=Wine System Tray$' | head -1 | sed -E 's/.*(visible=[01]).*(rect=[^ ]*).*/\1 \2/'; }
tray_shown() {
    local i
    for i in $(seq 1 30); do
        [[ "$(tray)" == "visible=$1"* ]] && return 0
        sleep 0.1
    done
    return 1
}
# The icon is a child window of the tray window: moves the mouse onto it.
to_icon() {
    local controls origin rect ox oy l t w h
    controls=$(e2e_helper controls "Wine System Tray")
    origin=$(head -1 <<<"$controls" | e2e_field origin)
    rect=$(grep 'class=__winex11_tray_icon' <<<"$controls" | head -1 | e2e_field rect)
    IFS=, read -r ox oy <<<"$origin"
    IFS=, read -r l t w h <<<"$rect"
    xdotool mousemove $((ox + l + w / 2)) $((oy + t + h / 2))
    sleep 0.2
}
minimized_with_icon() {
    check_eq "$1: hidden and minimized" "visible=0 iconic=1" "$(wait_state "visible=0 iconic=1")"
    tray_shown 1 && ok "$1: icon shown" || fail "$1: no icon"
}
shown_without_icon() {
    check_eq "$1: shown" "visible=1 iconic=0" "$(wait_state "visible=1 iconic=0")"
    tray_shown 0 && ok "$1: icon gone" || fail "$1: icon still there"
}

check_eq "at start: no icon" 0 "$(tray_shown 1 && echo 1 || echo 0)"

# The pointer over the shown window at x = 515, 517 (the icon's codes) while another program is in front.
e2e_lpt1_fifo
e2e_helper hold Ventas 60 >/dev/null &
ventas=$!
e2e_until 10 Ventas e2e_helper foreground >/dev/null
IFS=, read -r ox oy <<<"$(e2e_helper controls "$MAIN" | head -1 | e2e_field origin)"
for x in 514 515 516 517 515; do xdotool mousemove $((ox + x)) $((oy + 32)) sleep 0.2; done
xdotool key space sleep 0.5
check_eq "pointer over the window: nothing brought to the front, Space kicks nothing" "Ventas 0 " \
    "$(e2e_helper foreground) $(stat -c %s "$work/fifo.out") $(e2e_helper windows | grep 'caption=AbrirCajon$')"
e2e_helper post Ventas 0x0010 0 0 >/dev/null  # WM_CLOSE: the hold ends
wait $ventas

# Minimize with "Cerrar (Minimizar)"; the tip shows the caption.
click_control $ID_COMMAND1
minimized_with_icon "Cerrar (Minimizar)"
to_icon
tip_shown() { e2e_helper windows | grep -q 'class=tooltips_class32 visible=1'; }
if e2e_wait 5 tip_shown; then ok "tip shown over the icon"; else fail "no tip over the icon"; fi
e2e_screenshot "$E2E_ARTIFACTS/tray-tip.png"

# A single left click does nothing; a double-click brings the window back.
xdotool click 1
sleep 0.6
check_eq "single click: still hidden" "visible=0 iconic=1" "$(state)"
xdotool click --repeat 2 --delay 80 1
shown_without_icon "double-click"

# Alt+F4 minimizes; a right-button release on the icon brings it back.
sleep 0.3
e2e_key "$win" alt+F4
minimized_with_icon "Alt+F4"
e2e_running && ok "Alt+F4: still running" || fail "Alt+F4 ended the program"
to_icon
xdotool mousedown 3
sleep 0.3
check_eq "right button down: still hidden" "visible=0 iconic=1" "$(state)"
xdotool mouseup 3
shown_without_icon "right-button release"

# The frame's minimize command, then a shell that lost its icons and says so.
sleep 0.3
e2e_helper post "$MAIN" 0x0112 0xF020 0 >/dev/null  # WM_SYSCOMMAND SC_MINIMIZE
minimized_with_icon "minimize from the frame"
e2e_helper traydelete "$MAIN" >/dev/null
tray_shown 0 && ok "the shell lost the icon" || fail "icon could not be removed"
e2e_helper postreg "$MAIN" TaskbarCreated >/dev/null
tray_shown 1 && ok "TaskbarCreated: icon added again" || fail "TaskbarCreated: no icon"

# A second copy shows the first one's window, from the icon, and ends.
(cd "$E2E_DIR" && cajon_wine_exec AbrirCajon.exe </dev/null >/dev/null 2>&1) &
segunda=$!
for _ in $(seq 1 100); do kill -0 "$segunda" 2>/dev/null || break; sleep 0.1; done
kill -0 "$segunda" 2>/dev/null && fail "the second copy still runs" || ok "the second copy ended"
shown_without_icon "second copy"
check_eq "one main window" 1 "$(e2e_helper windows | grep -c "caption=$MAIN\$")"
e2e_running && ok "the first copy still runs" || fail "the first copy ended"

# Once the last program of the session has ended, Wine ends its desktop
# process and the tray window with it, a second or two later: another
# program's window keeps them while the program's own end is checked.
e2e_helper hold Testigo 180 >/dev/null &
testigo=$!
e2e_wait_window Testigo >/dev/null || fail "the other program's window did not open"

# "Salir" while shown: the program ends, no icon stays behind.
click_control $ID_CMDEND
e2e_wait_window AbrirCajon 10 >/dev/null && e2e_helper command AbrirCajon 6 >/dev/null  # IDYES
for _ in $(seq 1 50); do e2e_running || break; sleep 0.1; done
e2e_running && fail "Salir: still running" || ok "Salir: the program ended"
tray_shown 0 && ok "Salir: no icon left" || fail "Salir: an icon was left: $(tray)"

# Log-off or shutdown while in the notification area: the program ends without
# a question, and its icon goes with it.
e2e_start
answer_startup || fail "main window not shown again"
win=$(e2e_wait_window "$MAIN")
sleep 0.5
click_control $ID_COMMAND1
minimized_with_icon "before the session ends"
e2e_helper post "$MAIN" 0x0011 0 0 >/dev/null || fail "session end: WM_QUERYENDSESSION not posted"
e2e_helper post "$MAIN" 0x0016 1 0 >/dev/null || fail "session end: WM_ENDSESSION not posted"
# A loaded machine may take a few seconds to end Wine's process.
for _ in $(seq 1 100); do e2e_running || break; sleep 0.1; done
e2e_running && fail "session end: still running: $(e2e_helper windows | grep "caption=$MAIN\$")" ||
    ok "session end: the program ended"
check_eq "session end: no question" "" "$(e2e_helper windows | grep 'caption=AbrirCajon$')"
tray_shown 0 && ok "session end: no icon left" || fail "session end: an icon was left: $(tray)"
e2e_helper post Testigo 0x0010 0 0 >/dev/null  # WM_CLOSE: the hold ends
wait $testigo
