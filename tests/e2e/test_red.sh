#!/usr/bin/env bash
# Network printers, escucha_red.py on 127.0.0.1 standing in: the four output modes,
# tcp://, refusal, no such name, a printer that resets the connection unread,
# the record; the 3-second limit, also on a lookup that a DNS server never
# answers; a malformed address, also one with a blank in it that never becomes
# a file; /abrir with no copy running.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin red
work=$(mktemp -d)
python3 "$(dirname "$0")/escucha_red.py" "$work/puertos" "$work/log" &
escucha=$!
trap 'kill $escucha; rm -rf "$work"; e2e_end' EXIT
until read -r acepta rechaza lleno corta <"$work/puertos"; do sleep 0.1; done 2>/dev/null
touch "$work/log"
n=0
kick() {  # boton|f12 WHAT BYTES: the button once, or F12 pressed until seen; one connection
    for i in $(seq 1 30); do
        [ "$i" == 1 ] || [ "$1" == f12 ] && $1
        sleep 0.3
        [ "$(wc -l <"$work/log")" -gt $n ] && break
    done
    check_eq "$2" "$((n += 1)) $3" "$(wc -l <"$work/log") $(tail -n 1 "$work/log")"
}
boton() { click_control $ID_COMMAND; }
f12() { xdotool keydown --window "$win" F12 sleep 0.02 keyup --window "$win" F12; }
puerto() { click_control $ID_PUERTO && xdotool key --window "$win" End $(printf 'BackSpace %.0s' {1..40}) type "$1"; }
caja() {  # the stop box after a click of "F12", then closed
    boton && e2e_wait_window AbrirCajon 10 >/dev/null && e2e_box_text AbrirCajon
    e2e_helper command AbrirCajon 1 >/dev/null && e2e_wait_gone AbrirCajon
}
# Names resolve from /etc/hosts alone (a mount namespace of its own): no lookup leaves the machine.
sed 's/^hosts:.*/hosts: files/' /etc/nsswitch.conf >"$work/nsswitch.conf"
e2e_ini "KovraTipo=0" "KovraPuerto=127.0.0.1:$acepta" "PrinterDeviceName=$(cups_default)"
(cd "$E2E_DIR" && WINELOADER=$(cajon_wine_loader AbrirCajon.exe) exec unshare -m sh -c \
    'mount --bind "$0" /etc/nsswitch.conf && exec "$WINELOADER" AbrirCajon.exe' "$work/nsswitch.conf" \
    </dev/null >"$E2E_ARTIFACTS/red-wine.log" 2>&1) &
E2E_PID=$!
answer_startup || fail "main window not shown"
win=$(e2e_wait_window "$MAIN")
sleep 0.5
declare -A bytes=([11]=1b70000a64 [10]=1b70000a640d0a [01]=1b70000a64 [00]=1b0d0a700d0a000d0a0a0d0a640d0a)
for m in 11 10 00 01; do
    [ "$m" == 00 ] && click_control $ID_TODOJUNTO
    [ "${m:0:1}" != "${m:1:1}" ] && click_control $ID_PUNTOYCOMA
    kick boton "todojunto=${m:0:1} puntoycoma=${m:1:1}, button" "${bytes[$m]}"
    kick f12 "todojunto=${m:0:1} puntoycoma=${m:1:1}, F12" "${bytes[$m]}"
done
puerto "TCP://127.0.0.1:$acepta"
kick boton "tcp:// with a port" "${bytes[01]}"
puerto "127.0.0.1:$rechaza"
check_eq "refused" "10061.Conexión rechazada: el equipo no admite conexiones en ese puerto\r\nPuerto:127.0.0.1:$rechaza\r\nLínea: 0" "$(caja)"
puerto impresora.invalid:9100
check_eq "no such name" '11001.No se encuentra el equipo en la red\r\nPuerto:impresora.invalid:9100\r\nLínea: 0' "$(caja)"
puerto "127.0.0.1:$corta"
check_eq "reset unread" "10054.La conexión fue restablecida por la impresora\r\nPuerto:127.0.0.1:$corta\r\nLínea: 0" "$(caja)"
puerto "Mi impresora:9100"
check_eq "a blank in the host: 87" '87.Parámetro no válido: la dirección de red no es válida\r\nPuerto:Mi impresora:9100\r\nLínea: 0' "$(caja)"
e2e_stop
registro() { grep -ac "$1" "$E2E_DIR/INIS/APERTURAS.CSV"; }
check_eq "record: thirteen kicks by the route Red, the target as typed" "13 $n 1 1 1 1" "$(registro ';Red;') \
$(wc -l <"$work/log") $(registro ";Red;TCP://127.0.0.1:$acepta;Enviado;") $(registro ';Red;impresora.invalid:9100;Error 11001: ') \
$(registro ";Red;127.0.0.1:$corta;Error 10054: ") $(registro ';Red;Mi impresora:9100;Error 87: ')"
check_eq "no file of 'Mi impresora' in the program's folder, the current one or any of C:" "" \
    "$(find "$E2E_DIR" "$WINEPREFIX/drive_c" -iname 'mi impresora*' 2>/dev/null)"
e2e_ini "KovraTipo=0" "KovraPuerto=127.0.0.1:$acepta"
codigo=$(cd "$E2E_DIR" && e2e_wine_out AbrirCajon.exe /abrir >/dev/null; echo $?)
recibido() { echo "$codigo $(wc -l <"$work/log") $(tail -n 1 "$work/log")"; }
check_until "/abrir with no copy: exit code, the bytes" "0 $((n + 1)) 1b70000a64" recibido
# The kick driver's median time in whole seconds, rounded: a kick given up at
# the limit may end a few milliseconds either side of it.
segundos() { sed -n 's/^median_us=\([0-9.]*\).*/\1/p' | awk '{ printf "%.0f", $1 / 1e6 }'; }
out=$(e2e_wine_out "$CAJON_KICK_DRIVER" "27 112 0 10 100" "127.0.0.1:$lleno" 1 1 1)
check_eq "no answer: 10060 in 3 s" "stop: 10060.Tiempo de espera agotado: el equipo no responde\r\nPuerto:127.0.0.1:$lleno\r\nLínea: 0 3" \
    "$(head -n 1 <<<"$out") $(segundos <<<"$out")"
check_eq "port 0: 87, never a file" 'stop: 87.Parámetro no válido: la dirección de red no es válida\r\nPuerto:caja:0\r\nLínea: 0' \
    "$(e2e_wine_out "$CAJON_KICK_DRIVER" 27 caja:0 1 1)"
# The kick driver with a DNS server that never answers (escucha_red.py's): the
# lookup is given up within the same 3 s.
printf 'nameserver 127.0.0.77\n' >"$work/resolv.conf"
printf 'hosts: dns\n' >"$work/nsswitch-dns.conf"
WINELOADER=$(cajon_wine_loader "$CAJON_KICK_DRIVER") unshare -m sh -c \
    'mount --bind "$1" /etc/nsswitch.conf && mount --bind "$2" /etc/resolv.conf && shift 2 && exec "$WINELOADER" "$@"' \
    sh "$work/nsswitch-dns.conf" "$work/resolv.conf" "$CAJON_KICK_DRIVER" 27 lento.invalid:9100 1 1 1 \
    </dev/null >"$work/sin_dns.out" 2>/dev/null
out=$(tr -d '\r' <"$work/sin_dns.out")
check_eq "no DNS answer: 11002 in 3 s" "stop: 11002.No se puede buscar el nombre del equipo ahora (servidor DNS sin respuesta)\r\nPuerto:lento.invalid:9100\r\nLínea: 0 3" \
    "$(head -n 1 <<<"$out") $(segundos <<<"$out")"
