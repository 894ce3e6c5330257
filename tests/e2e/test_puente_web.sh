#!/usr/bin/env bash
# The browser bridge, from the real program under Wine with LPT1: to a FIFO:
# nothing listens without KovraWebOrigenes; with it, only 127.0.0.1 and [::1]
# on KovraWebPuerto; a long list is read whole and its entries as the browser
# writes them ("null" and junk named in a box, ":443" and a Unicode host
# matching); curl's requests are kicked or refused each with its status,
# headers and record line; a repeated id opens once; a failed kick and its
# retry both answer 502; a kick that takes its time leaves the bridge
# serving, and a retry after a time-out opens nothing more; and Chromium,
# headless, on pages served from 127.0.0.1 that import abrircajon.mjs, reads
# estado() in the kit's demo.html (the program, its version, no drawer with
# the sensor off), opens
# the drawer from a listed origin's page (once for two clicks) and cannot
# from another origin; nor from a page taken for a public site unless the
# browser's permission is given.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
source "$E2E_ROOT/scripts/lib/kit.sh"
e2e_begin puente_web
work=$(mktemp -d)
trap 'kill $lector ${impresora:-}; rm -rf "$work"; e2e_end' EXIT
mkfifo "$work/lpt1.fifo"
# Every byte to fifo.out, and when each write arrived (ms since the epoch).
python3 -u -c 'import os, sys, time
f, o = os.open(sys.argv[1], os.O_RDWR), open(sys.argv[2], "ab", buffering=0)
while True:
    o.write(os.read(f, 64)), print(time.time_ns() // 1000000, flush=True)' \
    "$work/lpt1.fifo" "$work/fifo.out" >"$work/llegadas" &
lector=$!
e2e_map_lpt1 "$work/lpt1.fifo"
P=47123 TPV=http://127.0.0.1:47124 AJENA=http://127.0.0.1:47125
csv="$E2E_DIR/INIS/APERTURAS.CSV"
bytes() { xxd -p "$work/fifo.out" | tr -d '\n'; }
# Each check counts the kicks since its own mark, not since the start.
marca() { sleep 0.3 && desde=$(stat -c %s "$work/fifo.out"); }
kicks() { echo $((($(stat -c %s "$work/fifo.out") - desde) / 5)); }
nuevas() {  # nuevas [N]: once N have come (5 s at most), and 0.3 s more for any extra
    for _ in $(seq 1 50); do [ "$(kicks)" -ge "${1:-0}" ] && break; sleep 0.1; done
    sleep 0.3 && kicks
}
escucha() { ss -ltnH "sport = :$1" | awk '{print $4}' | sort | tr '\n' ' '; }
pedir() {  # pedir METHOD HOST ORIGIN TYPE [BODY]: "status" then the headers in $work/h
    local args=(-s -o "$work/b" -D "$work/h" -w '%{http_code}' -X "$1" -H "Host: $2")
    [ -n "$3" ] && args+=(-H "Origin: $3")
    [ -n "$4" ] && args+=(-H "Content-Type: $4")
    [ $# -ge 5 ] && args+=(--data-binary "$5")
    curl "${args[@]}" "http://127.0.0.1:$P${RUTA:-/v1/abrir}"
}
cabecera() { tr -d '\r' <"$work/h" | sed -n "s/^$1: //Ip"; }
arrancar() {
    e2e_start
    answer_startup >"$work/arranque" || fail "main window not shown ($(e2e_running && echo running ||
        echo ended); shown: $(e2e_helper windows | grep 'visible=1' | sed 's/.*caption=//' | paste -sd '|'))"
}
: >"$work/fifo.out"

e2e_ini "KovraTipo=0" "PrinterDeviceName=$(cups_default)" "KovraWebPuerto=$P"
arrancar
check_eq "no KovraWebOrigenes: nothing listens" "" "$(escucha $P)"
e2e_stop

# The page's origin at the end of a list of some kilobytes.
largas=$(for i in $(seq 1 120); do printf 'https://pos%d.tienda.com.mx ' "$i"; done)
e2e_ini "KovraTipo=0" "PrinterDeviceName=$(cups_default)" "KovraWebPuerto=$P" \
    "KovraWebOrigenes=null, https://tpv.ejemplo.com:443 x https://CA"$'\xd1'"ADA.es $largas$TPV"
arrancar
grep -q 'start-up box: Estos valores de KovraWebOrigenes no son orígenes y no se usan: "null", "x".' \
    "$work/arranque" && ok "null and junk: named in a box" || fail "no box for null: $(cat "$work/arranque")"
check_eq "listens on loopback only" "127.0.0.1:$P [::1]:$P " "$(escucha $P)"
h=127.0.0.1:$P
check_eq "listed origin (as :443): 200" 200 "$(pedir POST "$h" https://tpv.ejemplo.com application/json '{"motivo":"Venta 7"}')"
check_eq "listed origin: the answer" '{"ok":true}' "$(cat "$work/b")"
check_eq "listed origin: its origin allowed" https://tpv.ejemplo.com "$(cabecera Access-Control-Allow-Origin)"
check_eq "second POST at once: 429" 429/1/Retry-After "$(pedir POST "localhost:$P" https://tpv.ejemplo.com application/json '{}')/$(cabecera Retry-After)/$(cabecera Access-Control-Expose-Headers)"
check_until "the drawer opened once" 1b70000a64 bytes
check_eq "recorded with the origin and motive" 1 \
    "$(grep -c ';Web https://tpv.ejemplo.com Venta 7;Puerto;LPT1:;Enviado;' "$csv")"
sleep 1
check_eq "a listed Unicode host, in the form the browser sends" 200 \
    "$(pedir POST "$h" https://xn--caada-pta.es application/json '{}')"
sleep 1
marca
check_eq "null: 403, no CORS header" 403/0 "$(pedir POST "$h" null application/json '{}')/$(grep -ci '^access-control' "$work/h")"
check_eq "foreign origin: 403" 403 "$(pedir POST "$h" https://malo.example application/json '{}')"
check_eq "no origin: 403" 403 "$(pedir POST "$h" '' application/json '{}')"
check_eq "text/plain: 415" 415 "$(pedir POST "$h" https://tpv.ejemplo.com text/plain '{}')"
check_eq "foreign Host: 403" 403 "$(pedir POST "malo.example:$P" https://tpv.ejemplo.com application/json '{}')"
check_eq "GET: 405" "405/POST, OPTIONS" "$(pedir GET "$h" https://tpv.ejemplo.com '')/$(cabecera Allow)"
check_eq "every answer: no-store, nosniff, close" "no-store/nosniff/close" \
    "$(cabecera Cache-Control)/$(cabecera X-Content-Type-Options)/$(cabecera Connection)"
check_eq "refused: nothing kicked" 0 "$(nuevas)"
check_eq "preflight, listed" "204/$TPV/POST/Content-Type/600/Origin" \
    "$(pedir OPTIONS "$h" "$TPV" '')/$(cabecera Access-Control-Allow-Origin)/$(cabecera Access-Control-Allow-Methods)/$(cabecera Access-Control-Allow-Headers)/$(cabecera Access-Control-Max-Age)/$(cabecera Vary)"
check_eq "preflight of /v1/estado, listed" "204/$TPV/GET" \
    "$(RUTA=/v1/estado pedir OPTIONS "$h" "$TPV" '')/$(cabecera Access-Control-Allow-Origin)/$(cabecera Access-Control-Allow-Methods)"
check_eq "preflight, unlisted: 403, no CORS header" 403/0 \
    "$(pedir OPTIONS "$h" https://otra.example '')/$(grep -ci '^access-control' "$work/h")"
marca
check_eq "an id: 200" 200 "$(pedir POST "$h" "$TPV" application/json '{"id":"venta-8"}')"
check_eq "the same id again: its answer, repeated" '200/{"ok":true,"repetida":true}' \
    "$(pedir POST "$h" "$TPV" application/json '{"id":"venta-8"}')/$(cat "$work/b")"
check_eq "the same id: opened once" 1 "$(nuevas 1)"
# Wine shows a balloon after about 2 s, as a visible tooltip.
for _ in $(seq 1 40); do e2e_helper windows | grep -q 'class=tooltips_class32 visible=1' && break; done
e2e_helper windows | grep -q 'class=tooltips_class32 visible=1' &&
    ok "refused origin: a balloon" || fail "refused origin: no balloon"
e2e_screenshot "$E2E_ARTIFACTS/puente_web-aviso.png"

# A real browser: pages of a web point-of-sale program that import the kit's
# module, as it ships.
mkdir -p "$work/www" "$work/chromium"
cajon_kit "$work/www"
pagina() {  # pagina FILE JS: a page importing abrircajon.mjs for this port, then JS
    printf '<script type="module">\nimport { AbrirCajon, abrir, estado } from "./abrircajon.mjs";\n%s\n%s\n</script>\n' \
        "AbrirCajon.puerto = $P; AbrirCajon.espera = 3000;" "$2" >"$work/www/$1"
}
pagina index.html 'abrir({motivo: "Navegador"}).then(r => document.title = "R:" + r.resultado + " " + r.texto);'
# Two clicks, as a cashier makes them, with a motive that abrir() cuts at 80
# characters just after an emoji (two UTF-16 units); then a third as soon as
# they are answered, within the second.
pagina clics.html 'const m = {motivo: "x".repeat(79) + "\u{1F600}!"};
Promise.all([abrir(m), abrir(m)]).then(rs => abrir(m).then(r =>
    document.title = "R:" + rs.map(r => r.resultado).sort().join(",") + " " + r.resultado + " " + r.ok));'
# Two kicks a second apart, the second without a preflight (the browser keeps
# its answer): when each fetch() began.
cat >"$work/www/dos.html" <<HTML
<script>
const abrir = () => fetch("http://127.0.0.1:$P/v1/abrir", {method: "POST",
    headers: {"Content-Type": "application/json"}, body: "{}"}).then(r => r.text());
const t0 = Date.now();
abrir().then(() => new Promise(r => setTimeout(r, 1200))).then(() => { self.t0 = t0 + " " + Date.now();
    return abrir(); }).then(t => document.title = "R:" + t, e => document.title = "E:" + e);
</script>
HTML
navegador() {  # navegador PORT PERMISSION [FLAGS]: the page $PAGINA from http://127.0.0.1:PORT,
    # its title and its t0
    python3 -m http.server "$1" --bind 127.0.0.1 --directory "$work/www" >/dev/null 2>&1 &
    local servidor=$!
    for _ in $(seq 1 100); do curl -sfo /dev/null "http://127.0.0.1:$1/" && break; sleep 0.1; done
    rm -rf "$work/chromium"
    timeout 90 python3 "$(dirname "$0")/cdp_pagina.py" "http://127.0.0.1:$1/${PAGINA:-}" \
        "$work/chromium" "${@:2}"
    kill $servidor
    sleep 1.1 # the next kick is not within a second of this one
}
marca
version=$(sed -nE 's/.*"version":"([^"]*)".*/\1/p' < <(curl -s -H "Origin: $TPV" "http://$h/v1/estado"))
check_eq "Chromium, the kit's demo.html (the module's estado()): the program, its version, no drawer with the sensor off" \
    "R:disponible AbrirCajon $version None None" \
    "$(PAGINA="demo.html?puerto=$P&auto=estado" navegador 47124 prompt | head -1 |
        python3 -c 'import json, sys; t = sys.stdin.read().strip()[2:]; r = json.loads(t) if t.startswith("{") else {}
print("R:" + r.get("resultado", t), r.get("programa"), r.get("version"), r.get("cajon", "?"), r.get("desde", "?"))')"
check_eq "estado() opened nothing" 0 "$(nuevas)"
check_eq "Chromium, listed origin: the page reads abierto" 'R:abierto Cajón abierto.' "$(navegador 47124 prompt | head -1)"
check_eq "Chromium, listed origin: the drawer opened" 1 "$(nuevas 1)"
check_eq "Chromium: recorded" 1 "$(grep -c ";Web $TPV Navegador;" "$csv")"
marca
# The second: while the first is under way (ocupado) or just after it (yaAbierto).
dos=$(PAGINA=clics.html navegador 47124 prompt | head -1)
[[ $dos =~ ^R:abierto,(ocupado|yaAbierto)\ yaAbierto\ true$ ]] &&
    ok "Chromium, two clicks: one opens, and a third at once is no failure ($dos)" ||
    fail "Chromium, two clicks: $dos"
check_eq "Chromium, two clicks: the drawer opened once" 1 "$(nuevas 1)"
marca
ajena=$(navegador 47125 prompt | head -1)
check_eq "Chromium, another origin: the page cannot reach it" "R:inaccesible" "${ajena%% *}"
[[ $ajena == *"$AJENA está en KovraWebOrigenes"* ]] && ok "and its text names its origin" || fail "text: $ajena"
# The same page taken for a public site: Chromium's local network access asks
# the cashier; headless, the answer is set through DevTools instead.
publica=--ip-address-space-overrides=127.0.0.1:47124=public
check_eq "public page, access blocked: cannot reach it" R:inaccesible \
    "$(navegador 47124 denied $publica | head -1 | cut -d' ' -f1)"
check_eq "another origin or access blocked: nothing kicked" 0 "$(nuevas)"
check_eq "public page, access allowed: the page reads abierto" 'R:abierto' \
    "$(navegador 47124 granted $publica | head -1 | cut -d' ' -f1)"
check_eq "public page, access allowed: the drawer opened" 1 "$(nuevas 1)"

# For the record, not a check: from a page's fetch() to the bytes on LPT1:,
# its first (with the preflight) and a second, beside F12 pressed to the
# bytes, 5 of each taking turns.
ventana=$(e2e_wait_window "$MAIN")
llegada() { sleep 1.1 && awk -v t="$1" '$1 >= t { print $1 - t; exit }' "$work/llegadas"; }
for _ in 1 2 3 4 5; do
    read -r t0 t1 < <(PAGINA=dos.html navegador 47124 prompt | sed -n 2p)
    llegada "$t0" >>"$work/web" && llegada "$t1" >>"$work/web2"
    t0=$(date +%s%3N)
    xdotool keydown --window "$ventana" F12 && sleep 0.06 && xdotool keyup --window "$ventana" F12
    llegada "$t0" >>"$work/f12"
done
ms() { sort -n "$1" | tr '\n' ' '; }
echo "latency (ms): fetch() to LPT1: first $(ms "$work/web")/ second $(ms "$work/web2")/" \
    "F12 to LPT1: $(ms "$work/f12")"

rm -f "$WINEPREFIX/dosdevices/lpt1"
check_eq "failed kick: 502 while its box is open" 502 "$(pedir POST "$h" "$TPV" application/json '{}')"
caja=$(e2e_box_text AbrirCajon)
check_eq "the answer carries the box's text" "$caja" \
    "$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["mensaje"].replace("\r\n", r"\r\n"))' "$work/b")"
check_eq "a box open: 503, as F12 would do nothing" "503/170/mensaje abierto" \
    "$(pedir POST "$h" "$TPV" application/json '{}')/$(sed -E 's/.*"error":([0-9]+).*/\1/' "$work/b")/$(grep -o 'mensaje abierto' "$work/b")"
e2e_helper command AbrirCajon 1 >/dev/null
check_eq "its retry at once: 502 again, never 429" 502 "$(pedir POST "$h" "$TPV" application/json '{}')"
e2e_helper command AbrirCajon 1 >/dev/null
e2e_stop

# A printer on the network that takes its time: the kick lasts a second.
python3 -c 'import socket, sys, threading
s = socket.socket(); s.bind(("127.0.0.1", 47127)); s.listen(); n = 0
while True:
    c, _ = s.accept(); n += 1; open(sys.argv[1], "w").write(str(n)); threading.Timer(2, c.close).start()' \
    "$work/conexiones" &
impresora=$!
e2e_ini "KovraTipo=0" "KovraPuerto=127.0.0.1:47127" "KovraWebPuerto=$P" "KovraWebOrigenes=$TPV"
arrancar
curl -s -m 0.4 -H "Origin: $TPV" -H 'Content-Type: application/json' --data '{"id":"r1"}' \
    "http://$h/v1/abrir" >/dev/null
check_eq "a page that gave up after 0.4 s" 1 "$(cat "$work/conexiones" 2>/dev/null)"
ocupado=$(curl -s -o "$work/b" -w '%{http_code} %{time_total}' -H "Origin: $TPV" \
    -H 'Content-Type: application/json' --data '{}' "http://$h/v1/abrir")
check_eq "meanwhile another request: busy at once" "503/170/rapido" "${ocupado% *}/$(sed -E \
    's/.*"error":([0-9]+).*/\1/' "$work/b")/$(awk '{print $2 < 0.3 ? "rapido" : $2}' <<<"$ocupado")"
check_eq "its retry with the same id: the first's outcome" '{"ok":true,"repetida":true}' \
    "$(curl -s -H "Origin: $TPV" -H 'Content-Type: application/json' --data '{"id":"r1"}' "http://$h/v1/abrir")"
check_eq "one kick in all" 1 "$(cat "$work/conexiones")"
e2e_stop

python3 -c 'import socket,time; s=socket.socket(); s.bind(("127.0.0.1",47126)); s.listen(); time.sleep(60)' &
ocupante=$!
tomado() { [ -n "$(escucha 47126)" ]; }
e2e_wait 5 tomado || fail "the port 47126 was not taken"
e2e_ini "KovraWebPuerto=47126" "KovraWebOrigenes=$TPV" "KovraTipo=0" "PrinterDeviceName=$(cups_default)"
arrancar
grep -q "start-up box: .*puerto 47126.*10048.Solo se permite un uso" "$work/arranque" &&
    ok "taken port: its box" || fail "taken port: $(cat "$work/arranque")"
e2e_stop
kill $ocupante
e2e_ini "KovraWebPuerto=80" "KovraWebOrigenes=$TPV" "KovraTipo=0" "PrinterDeviceName=$(cups_default)"
arrancar
grep -q 'start-up box: El valor de KovraWebPuerto no es válido: "80"' "$work/arranque" &&
    ok "bad port: its box" || fail "bad port: $(cat "$work/arranque")"
