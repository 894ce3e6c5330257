#!/usr/bin/env bash
# The main window at 96 dpi as a user meets it: the printer chooser first when
# the remembered printer is missing (modal, its close box changes nothing),
# then every control at its designed place with its Spanish text, "F12"
# focused, the Tab order, the check box and text box events, the picture and
# the information label answering a click, and the ways the window is closed.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin main_window
e2e_ini "KovraTipo=0" "PrinterDeviceName=NoInstalada"

check_eq "display at 96 dpi" 96 "$(e2e_helper dpi)"
impresoras=$(cups_printers)
elegidor_visto=0

on_chooser() {
    elegidor_visto=1
    e2e_screenshot "$E2E_ARTIFACTS/main_window-chooser-96dpi.png"
    local controls lista
    controls=$(e2e_helper controls Form1)
    check_eq "chooser client area" "client=400,416" "$(head -1 <<<"$controls" | cut -d' ' -f1)"
    check_eq "Aceptar: place" "306,378,85,33" "$(grep '^id=100 ' <<<"$controls" | e2e_field rect)"
    check_eq "Aceptar: text" "Aceptar" "$(grep '^id=100 ' <<<"$controls" | sed 's/.* text=//')"
    check_eq "Aceptar has the focus" "id=100 text=Aceptar" "$(e2e_helper focus Form1)"
    check_eq "list: place" "2,6,395,355" "$(grep '^id=101 ' <<<"$controls" | e2e_field rect)"
    check_eq "list: class" "ListBox" "$(grep '^id=101 ' <<<"$controls" | e2e_field class)"
    lista=$(e2e_helper list Form1 101)
    check_eq "list: one row per printer, none selected" "count=$(wc -l <<<"$impresoras") selected=-1" \
        "$(head -1 <<<"$lista")"
    check_eq "list: the printers in the system's order" "$impresoras" "$(tail -n +2 <<<"$lista")"
    # Modal before the main window is shown: that one is hidden and disabled.
    check_eq "main window hidden and disabled meanwhile" "visible=0 enabled=0" \
        "$(e2e_helper windows | grep "caption=$MAIN\$" | e2e_field visible | sed 's/^/visible=/') $(e2e_helper controls "$MAIN" | head -1 | e2e_field enabled | sed 's/^/enabled=/')"
}

e2e_start
if answer_startup on_chooser; then ok "main window shown"; else fail "main window not shown"; fi
sleep 0.5
e2e_screenshot "$E2E_ARTIFACTS/main_window-96dpi.png"
win=$(e2e_wait_window "$MAIN")

if [ -n "$impresoras" ]; then
    check_eq "the chooser opened for a printer that is not installed" 1 "$elegidor_visto"
    # Its close box left the current printer as it was: the system's default.
    check_eq "CheckPrinter names the default printer" "Enviar a: $(cups_default)" \
        "$(e2e_control_text "$MAIN" $ID_CHECKPRINTER)"
else
    echo "skip: no printers installed, chooser checks not run"
fi

check_diseno 96
check_textos
check_eq "txtPuerto loaded" "LPT1:" "$(e2e_control_text "$MAIN" $ID_PUERTO)"
check_eq "txtAscii loaded" "27 112 0 10 100" "$(e2e_control_text "$MAIN" $ID_ASCII)"
check_eq "lblIni shows the parameter file" 'C:\e2e\main_window\INIS\PARAMETROS.INI' \
    "$(e2e_control_text "$MAIN" $ID_LBLINI)"
check_eq "txtPrinter read-only" 1 "$(e2e_control "$MAIN" $ID_TXTPRINTER | e2e_field readonly)"
check_eq "CheckTodoJunto checked" 1 "$(e2e_control "$MAIN" $ID_TODOJUNTO | e2e_field checked)"
check_eq "CheckConPuntoyComa checked" 1 "$(e2e_control "$MAIN" $ID_PUNTOYCOMA | e2e_field checked)"
# With printers the load ends by applying KovraTipo=0; without any it stops
# at the printer (one box) and the check boxes keep their designed state.
if [ -n "$impresoras" ]; then marca=0 txtprinter=0; else marca=1 txtprinter=1; fi
check_eq "CheckPrinter after load" $marca "$(e2e_control "$MAIN" $ID_CHECKPRINTER | e2e_field checked)"
check_eq "port group enabled" 1 "$(e2e_control "$MAIN" $ID_PUERTO | e2e_field enabled)"
check_eq "txtPrinter enabled after load" $txtprinter \
    "$(e2e_control "$MAIN" $ID_TXTPRINTER | e2e_field enabled)"

# Focus and the Tab order; txtPuerto's new text is stored when it loses the focus.
focus_id() { e2e_helper focus "$MAIN" | sed -E 's/^id=([0-9]+).*/\1/'; }
check_eq "F12 has the focus at start" $ID_COMMAND "$(focus_id)"
xdotool windowfocus --sync "$win" 2>/dev/null || true
press() {
    xdotool key --window "$win" "$1"
    sleep 0.25
}
# Presses Tab until the focus is back on control $1 (at most 10 times);
# prints the ids it went through.
tab_cycle() {
    local orden="" id
    for _ in $(seq 1 10); do
        press Tab
        id=$(focus_id)
        orden="$orden $id"
        [ "$id" == "$1" ] && break
    done
    echo "$orden"
}
press Tab
check_eq "Tab: txtPuerto" $ID_PUERTO "$(focus_id)"
xdotool type --window "$win" "COM7:"
press Tab
check_eq "Tab: txtAscii" $ID_ASCII "$(focus_id)"
check_eq "typed text replaced the selected port" "COM7:" "$(e2e_control_text "$MAIN" $ID_PUERTO)"
check_eq "KovraPuerto stored on leaving txtPuerto" "COM7:" "$(e2e_ini_value KovraPuerto)"
esperado=" 103 104 105"
[ $txtprinter == 1 ] && esperado="$esperado 106"
check_eq "Tab cycle back to F12" "$esperado 111 100" "$(tab_cycle $ID_COMMAND)"
press shift+Tab
check_eq "Shift+Tab from F12" $ID_SELECT "$(focus_id)"
press shift+Tab
[ $txtprinter == 1 ] && press shift+Tab
check_eq "Shift+Tab back to CheckPrinter" $ID_CHECKPRINTER "$(focus_id)"
press space
marca=$((1 - marca))
check_eq "space toggles CheckPrinter" $marca "$(e2e_control "$MAIN" $ID_CHECKPRINTER | e2e_field checked)"
check_eq "KovraTipo stored" $marca "$(e2e_ini_value KovraTipo)"
check_eq "port group follows CheckPrinter" $((1 - marca)) "$(e2e_control "$MAIN" $ID_PUERTO | e2e_field enabled)"
check_eq "txtPrinter follows CheckPrinter" $marca "$(e2e_control "$MAIN" $ID_TXTPRINTER | e2e_field enabled)"
if [ $marca == 1 ]; then esperado=" 106 111 100 105"; else esperado=" 111 100 101 102 103 104 105"; fi
check_eq "Tab cycle from CheckPrinter" "$esperado" "$(tab_cycle $ID_CHECKPRINTER)"
if [ $marca == 0 ]; then
    # Once more to the printer path, to go through the read-only text box.
    press space
    check_eq "Tab cycle through the read-only text box" " 106 111 100 105" "$(tab_cycle $ID_CHECKPRINTER)"
fi

# Clicks at screen positions of the picture and the information label.
wait_caption() { e2e_wait_window "$1" 10 >/dev/null; }
click_control $ID_IMAGEN
if wait_caption AbrirCajon; then
    check_eq "picture click: the tip" \
        "Puede crear 2 impresoras iguales, con distinta opción de corte / apertura cajón y usar diferente para abrir cajón o impresión" \
        "$(e2e_box_text AbrirCajon)"
    e2e_helper command AbrirCajon 2 >/dev/null
    e2e_wait_gone AbrirCajon || fail "tip box still open"
else
    fail "no box after a click on the picture"
fi
click_control $ID_LBLINFO 60
if wait_caption INI; then
    ok "label click: the INI box"
    e2e_helper command INI 2 >/dev/null
    e2e_wait_gone INI || fail "INI box still open"
else
    fail "no INI box after a click on lblInfo"
fi

# The chooser from "Seleccionar impresora": modal to the shown main window;
# a row picked with the keyboard and accepted with Enter becomes current.
if [ -n "$impresoras" ]; then
    elegida=Tickets_RAW
    click_control $ID_SELECT
    if wait_caption Form1; then
        check_eq "main window disabled while the chooser is open" 0 \
            "$(e2e_helper controls "$MAIN" | head -1 | e2e_field enabled)"
        elegir=$(e2e_wait_window Form1)
        xdotool windowfocus --sync "$elegir" 2>/dev/null || true
        xdotool key --window "$elegir" Tab
        check_until "chooser: Tab to the list" "id=101 text=" e2e_helper focus Form1
        elegir_fila "$elegir" $elegida || fail "chooser: Home and Down do not select $elegida"
        xdotool key --window "$elegir" Tab
        sleep 0.25
        e2e_key "$elegir" Return
        e2e_wait_gone Form1 || fail "chooser still open after Aceptar"
        sleep 0.3
        check_eq "main window enabled again" 1 "$(e2e_helper controls "$MAIN" | head -1 | e2e_field enabled)"
        check_eq "accepted printer shown" "Enviar a: $elegida" "$(e2e_control_text "$MAIN" $ID_CHECKPRINTER)"
        check_eq "accepted printer stored" "$elegida" "$(e2e_ini_value PrinterDeviceName)"
    else
        fail "no chooser after a click on Seleccionar impresora"
    fi
fi

# "Guía de uso…" in the system menu opens guia.html beside the program; with
# no page there, a box names the path it looked for.
e2e_helper post "$MAIN" 0x0112 0x0C30 0 >/dev/null # WM_SYSCOMMAND, the guide's item
check_eq "Guía de uso without the page: its box" \
    'No se puede abrir la guía de uso: C:\e2e\main_window\guia.html' \
    "$(e2e_wait_window AbrirCajon 10 >/dev/null && e2e_box_text AbrirCajon)"
e2e_helper command AbrirCajon 1 >/dev/null
e2e_wait_gone AbrirCajon || fail "Guía de uso: the box stayed"

# Closing: the frame only minimizes, the icon brings the window back, the
# task manager's WM_CLOSE ends the program.
e2e_helper post "$MAIN" 0x0112 0xF060 0 >/dev/null  # WM_SYSCOMMAND SC_CLOSE: the close box
check_eq "close box: hidden, minimized" "visible=0 iconic=1" "$(wait_state "visible=0 iconic=1")"
e2e_running && ok "close box: still running" || fail "close box ended the program"
e2e_helper post "$MAIN" 0x0200 1 0x0203 >/dev/null  # the icon's left double-click
check_eq "icon double-click: shown again" "visible=1 iconic=0" "$(wait_state "visible=1 iconic=0")"
sleep 0.3
click_control $ID_COMMAND1
check_eq "Cerrar (Minimizar): hidden, minimized" "visible=0 iconic=1" "$(wait_state "visible=0 iconic=1")"
e2e_helper post "$MAIN" 0x0200 1 0x0205 >/dev/null  # the icon's right-button release
check_eq "icon right click: shown again" "visible=1 iconic=0" "$(wait_state "visible=1 iconic=0")"
sleep 0.3
e2e_key "$win" alt+F4
check_eq "Alt+F4: hidden, minimized" "visible=0 iconic=1" "$(wait_state "visible=0 iconic=1")"
e2e_running && ok "Alt+F4: still running" || fail "Alt+F4 ended the program"
e2e_helper post "$MAIN" 0x0010 0 0 >/dev/null  # WM_CLOSE, as the task manager sends it
for _ in $(seq 1 50); do e2e_running || break; sleep 0.1; done
e2e_running && fail "still running after WM_CLOSE" || ok "WM_CLOSE ends the program"
