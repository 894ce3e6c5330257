#!/usr/bin/env bash
# A kick that fails while the window sits in the notification area and another
# program has the focus: its message box opens above every window and stays
# above that program even when the program comes to the front again. The
# program's other boxes (the tip, the INI box) open above all windows too.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
CAJA="Caja registradora"  # the till program: a window of the helper's own
e2e_begin box_on_top
e2e_ini "KovraTipo=0" "KovraPuerto=LPT9:" "PrinterDeviceName=$(cups_default)"
e2e_start
answer_startup || fail "main window not shown"
e2e_wait_window "$MAIN" >/dev/null
sleep 0.5
click_control $ID_COMMAND1
check_eq "in the notification area" "visible=0 iconic=1" "$(wait_state "visible=0 iconic=1")"

cajon_wine "$CAJON_HELPER" hold "$CAJA" 60 </dev/null >/dev/null 2>&1 &
caja_pid=$!
# The till program's window ends with the test: left open, it would take the
# focus from the tests after this one.
trap 'e2e_helper post "$CAJA" 0x0010 0 0 >/dev/null; wait $caja_pid 2>/dev/null; e2e_end' EXIT
if caja=$(e2e_wait_window "$CAJA" 20); then
    xdotool windowfocus --sync "$caja" 2>/dev/null || true
    check_until "the till program has the focus" "$CAJA" e2e_helper foreground
else
    fail "the till program's window did not open"
fi

# top_two: the captions and topmost flags of the two highest visible windows.
top_two() { e2e_helper zorder | grep -E "caption=(AbrirCajon|$CAJA)\$" | head -2 | tr '\n' '|'; }

# The F12 button's click, posted as the hot key's tick would run it: the kick
# fails on LPT9: (not mapped).
e2e_helper post "$MAIN" 0x0111 $ID_COMMAND 0 >/dev/null
if e2e_wait_window AbrirCajon 10 >/dev/null; then
    check_eq "failed kick: its message, unchanged" \
        '2.No se encuentra el dispositivo o el archivo\r\nPuerto:LPT9:\r\nLínea: 0' \
        "$(e2e_box_text AbrirCajon)"
    check_eq "failed kick: the box is above the till program, and topmost" \
        "topmost=1 caption=AbrirCajon|topmost=0 caption=$CAJA|" "$(top_two)"
    check_eq "failed kick: the box has the foreground" AbrirCajon "$(e2e_helper foreground)"
    e2e_helper raise "$CAJA" >/dev/null
    e2e_until 5 "$CAJA" e2e_helper foreground >/dev/null
    check_eq "the till program to the front: the box stays above it" \
        "topmost=1 caption=AbrirCajon|topmost=0 caption=$CAJA|" "$(top_two)"
    e2e_screenshot "$E2E_ARTIFACTS/box_on_top.png"
    e2e_helper command AbrirCajon 1 >/dev/null
    e2e_wait_gone AbrirCajon || fail "message still open"
else
    fail "no message for a failed kick"
fi

# The other boxes, from the shown window.
e2e_helper post "$MAIN" 0x0200 1 0x0203 >/dev/null  # the icon's double-click
check_eq "shown again" "visible=1 iconic=0" "$(wait_state "visible=1 iconic=0")"
for caso in "$ID_IMAGEN|AbrirCajon" "$ID_LBLINFO|INI"; do
    id=${caso%|*}
    caption=${caso#*|}
    e2e_helper raise "$CAJA" >/dev/null
    click_control "$id" 60
    if e2e_wait_window "$caption" 10 >/dev/null; then
        e2e_helper raise "$CAJA" >/dev/null
        e2e_until 5 "$CAJA" e2e_helper foreground >/dev/null
        check_eq "box $caption of control $id: topmost, above the till program" \
            "topmost=1 caption=$caption" "$(e2e_helper zorder | grep -E "caption=($caption|$CAJA)\$" | head -1)"
        e2e_helper command "$caption" 1 >/dev/null
        e2e_wait_gone "$caption" || fail "box $caption still open"
    else
        fail "no box $caption for control $id"
    fi
done
