#!/usr/bin/env bash
# The copy installed for every user of a shared till (its folder recorded
# under HKLM\Software\AbrirCajon, as the machine-wide package does), from the
# real program under Wine. A settings file that another user can change (Wine
# gives the INI of mode o+w an Everyone entry that writes) names a file as the
# port and switches the record and the events off: F12 writes no byte there,
# the cashier sees why, and the opening is still in this user's own record
# (under %LOCALAPPDATA%) and in the events. The same file with the
# administrators' rights alone is obeyed. A policy pushed while the program
# runs is obeyed once Group Policy says so: a KovraBloqueado of REG_QWORD 1
# greys the boxes, and a value of a type nobody can use is an event for IT.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin copia_del_equipo
e2e_lpt1_fifo
INSTALACION='HKLM\Software\AbrirCajon'
POLITICAS='HKLM\SOFTWARE\Policies\AbrirCajon'
limpiar() { e2e_reg delete "$INSTALACION"; e2e_reg delete "$POLITICAS"; rm -rf "$work" "$plantado" "$registro_dir"; }
trap 'limpiar; e2e_end' EXIT
ini="$E2E_DIR/INIS/PARAMETROS.INI"
plantado="$WINEPREFIX/drive_c/e2e/plantado.cmd"
registro_dir=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local | grep -v /Public/ | head -1)/AbrirCajon
registro="$registro_dir/APERTURAS.CSV"
log="$E2E_ARTIFACTS/copia_del_equipo-wine.log"
lineas() { if [ -f "$registro" ]; then wc -l <"$registro"; else echo 0; fi; }
mas_lineas() { [ "$(lineas)" -gt "$1" ]; }
hay_evento() { e2e_eventos "$log" | grep -q "^$1 "; }
existe() { [ -e "$1" ]; }
puerto_habilitado() { e2e_control "$MAIN" $ID_PUERTO | e2e_field enabled; }
pulsar_f12() { xdotool keydown --window "$win" F12 sleep 0.2 keyup --window "$win" F12; }

rm -rf "$plantado" "$registro_dir"
e2e_reg delete "$POLITICAS"
e2e_reg add "$INSTALACION" /v InstallDir /t REG_SZ /d 'C:\e2e\copia_del_equipo\'
e2e_ini "KovraTipo=0" 'KovraPuerto=C:\e2e\plantado.cmd' "KovraASCII=101 99 104 111" \
    "KovraRegistro=0" "KovraEventos=0"
chmod 666 "$ini"
WINEDEBUG=-all,+eventlog,fixme+advapi e2e_start
answer_startup || fail "main window not shown"
win=$(e2e_wait_window "$MAIN")

# Another user's file: nothing written where it says, the cashier told why.
# F12 is released to the box as well: released to the window the box
# disables, it would stay down and kick again.
xdotool keydown --window "$win" F12
caja=$(e2e_wait_window AbrirCajon 10)
xdotool keyup --window "${caja:-$win}" F12
xdotool keyup --window "$win" F12
if [ -n "$caja" ]; then
    check_eq "the stop box says why" \
        '5.Acceso denegado: otros usuarios pueden cambiar PARAMETROS.INI, y un archivo o una carpeta compartida como puerto solo se usa si lo fija el administrador\r\nPuerto:C:\e2e\plantado.cmd\r\nLínea: 0' \
        "$(e2e_box_text AbrirCajon)"
    e2e_helper command AbrirCajon 1 >/dev/null
    e2e_wait_gone AbrirCajon || fail "the stop box still open"
else
    fail "no stop box for a port another user named"
fi
check_eq "nothing written to the planted file" no "$(existe "$plantado" && echo yes || echo no)"
e2e_wait 5 mas_lineas 0 || fail "no line in the user's own record despite KovraRegistro=0"
ultima=$(tail -1 "$registro")
grep -qF ';C:\e2e\plantado.cmd;' <<<"$ultima" && grep -qF 'Acceso denegado' <<<"$ultima" &&
    ok "the line: the planted path, refused" || fail "the line: $ultima"
check_eq "no record in the shared folder" no "$(existe "$E2E_DIR/INIS/APERTURAS.CSV" && echo yes || echo no)"
e2e_wait 5 hay_evento 1001 || fail "no event despite KovraEventos=0"

# The administrators' file alone: obeyed, the record's switch as well.
chmod 644 "$ini"
antes=$(lineas)
pulsar_f12
e2e_wait 5 existe "$plantado" || fail "the administrators' port not written"
check_eq "the administrators' port gets the codes" echo "$(cat "$plantado" 2>/dev/null)"
e2e_wait 2 mas_lineas "$antes" && fail "a line written although the administrators' file says KovraRegistro=0"
check_eq "no box left open" "" "$(e2e_helper windows | grep 'caption=AbrirCajon$')"

# Policies pushed while it runs: obeyed once Group Policy tells the windows.
# The file is another user's again, so its KovraEventos=0 counts no more.
chmod 666 "$ini"
check_eq "the port box enabled before" 1 "$(puerto_habilitado)"
e2e_reg add "$POLITICAS" /v KovraBloqueado /t REG_QWORD /d 1
e2e_reg add "$POLITICAS" /v KovraSensor /t REG_BINARY /d 0102
e2e_helper policy >/dev/null || fail "WM_SETTINGCHANGE not broadcast"
check_until "a lock of REG_QWORD 1 greys the port box" 0 puerto_habilitado
e2e_wait 5 hay_evento 1307 || fail "no event for the policy of an unusable type"
grep -qF 'L"REG_BINARY"' "$log" && ok "the event names the type" || fail "the event does not name REG_BINARY"
e2e_screenshot "$E2E_ARTIFACTS/copia_del_equipo.png"
