#!/usr/bin/env bash
# A notification area that refuses the icon must not lose the window: it
# stays minimized on the taskbar, can be restored from there, and the program
# can still be ended; also when the refusal comes after a shell restart.
# Wine's tray cannot be made to refuse, so this runs the real program built
# against a notification area that refuses icons.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
: "${CAJON_EXE_SIN_BANDEJA:?}"
CAJON_EXE=$CAJON_EXE_SIN_BANDEJA
e2e_begin tray_refused
e2e_ini "KovraTipo=0" "PrinterDeviceName=$(cups_default)"
e2e_start
answer_startup || fail "main window not shown"
win=$(e2e_wait_window "$MAIN")
sleep 0.5

for como in "Cerrar (Minimizar)" "Alt+F4"; do
    if [ "$como" == "Alt+F4" ]; then
        e2e_key "$win" alt+F4
    else
        click_control $ID_COMMAND1
    fi
    check_eq "$como, no icon: minimized on the taskbar, not hidden" "visible=1 iconic=1" \
        "$(wait_state "visible=1 iconic=1")"
    e2e_running && ok "$como: still running" || fail "$como: the program ended"
    e2e_helper post "$MAIN" 0x0112 0xF120 0 >/dev/null  # WM_SYSCOMMAND SC_RESTORE, as the taskbar sends it
    check_eq "$como: restored from the taskbar" "visible=1 iconic=0" "$(wait_state "visible=1 iconic=0")"
    sleep 0.3
done
check_eq "no box was shown" "" "$(e2e_helper windows | grep 'caption=AbrirCajon$')"

# A shell restart whose new notification area refuses the icon: the window,
# hidden with its icon until then, comes back to the taskbar, minimized.
e2e_stop
export CAJON_ICONOS_ACEPTADOS=1  # the first icon only
e2e_start
unset CAJON_ICONOS_ACEPTADOS
answer_startup || fail "main window not shown at the second start"
e2e_wait_window "$MAIN" >/dev/null
sleep 0.5
click_control $ID_COMMAND1
check_eq "icon taken: hidden" "visible=0 iconic=1" "$(wait_state "visible=0 iconic=1")"
e2e_helper traydelete "$MAIN" >/dev/null  # the shell lost its icons
e2e_helper postreg "$MAIN" TaskbarCreated >/dev/null
check_eq "icon refused after a shell restart: minimized on the taskbar" "visible=1 iconic=1" \
    "$(wait_state "visible=1 iconic=1")"
check_eq "no box was shown after the restart" "" "$(e2e_helper windows | grep 'caption=AbrirCajon$')"
