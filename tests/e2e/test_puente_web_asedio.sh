#!/usr/bin/env bash
# The browser bridge besieged, from the real program under Wine: the listed
# page (the kit's classic script, abrircajon.js, in headless Chromium) opens
# the drawer ten times in ten
# while another program holds 150 connections (more than the bridge keeps)
# idle or sending a byte at a time, each opened again as soon as it is
# closed; and then while a page of another origin in the same browser floods
# [::1] and *.localhost with no-cors POSTs of a large body.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
source "$E2E_ROOT/scripts/lib/kit.sh"
e2e_begin puente_web_asedio
e2e_lpt1_fifo
P=47141
e2e_ini "KovraTipo=0" "PrinterDeviceName=$(cups_default)" "KovraWebPuerto=$P" \
    "KovraWebOrigenes=http://127.0.0.1:47142"
e2e_start
answer_startup >/dev/null || fail "main window not shown"
mkdir -p "$work/www"
cajon_kit "$work/www"
cat >"$work/www/diez.html" <<HTML
<script src="abrircajon.js"></script>
<script>
AbrirCajon.puerto = $P;
(async () => {
  const r = [];
  for (let i = 0; i < 10; i++) {
    r.push((await AbrirCajon.abrir({motivo: "Asedio " + i})).resultado);
    await new Promise(listo => setTimeout(listo, 1100));
  }
  document.title = "R:" + r.join(",");
})();
</script>
HTML
cat >"$work/www/inunda.html" <<HTML
<script>
const grande = "x".repeat(200000);
// Each request starts the next when it ends, with no timer: a page in a
// background tab has its timers held to one a second, its fetches not.
const inundar = h => fetch("http://" + h + ":$P/v1/abrir", {mode: "no-cors", method: "POST", body: grande})
  .catch(() => {}).finally(() => inundar(h));
for (let i = 0; i < 6; i++) { inundar("[::1]"); for (let k = 1; k <= 40; k++) inundar("a" + k + ".localhost"); }
</script>
HTML
for puerto in 47142 47143; do
    python3 -m http.server $puerto --bind 127.0.0.1 --directory "$work/www" >/dev/null 2>&1 &
    servidores+=" $!"
    for _ in $(seq 1 100); do curl -sfo /dev/null "http://127.0.0.1:$puerto/" && break; sleep 0.1; done
done
trap 'kill $servidores; exec 7>&- 2>/dev/null; rm -rf "$work"; e2e_end' EXIT
diez="R:$(printf 'abierto,%.0s' $(seq 1 10) | sed 's/,$//')"
pagina() { CDP_ESPERA=120 timeout 150 python3 "$(dirname "$0")/cdp_pagina.py" \
    http://127.0.0.1:47142/diez.html "$work/chromium-$1" prompt "${@:2}" | head -1; }
kicks() { echo $(($(stat -c %s "$work/fifo.out") / 5)); }
patadas() {  # patadas N: the kicks so far, once N have come (5 s at most), and 0.3 s more
    for _ in $(seq 1 50); do [ "$(kicks)" -ge "$1" ] && break; sleep 0.1; done
    sleep 0.3 && kicks
}
# The connections this machine has accepted so far.
aceptadas() { awk '/^Tcp:/ && n++ { print $7 }' /proc/net/snmp; }
# The most connections established to the port at once while the page ran.
contar() { while sleep 0.3; do ss -tnH state established "( sport = :$P )" | wc -l; done >"$work/$1" & }

python3 -c 'import selectors, socket, sys, time
P, fin, sel = int(sys.argv[1]), time.time() + 600, selectors.DefaultSelector()
lento, abiertas = b"POST /v1/abrir HTTP/1.1\r\n", 0
def abrir(i):
    global abiertas
    s = socket.socket(socket.AF_INET6 if i % 2 else socket.AF_INET)
    s.setblocking(False), s.connect_ex(("::1" if i % 2 else "127.0.0.1", P))
    sel.register(s, selectors.EVENT_READ, [i, 0]), print(abiertas := abiertas + 1, flush=True)
for i in range(150): abrir(i)
while time.time() < fin:
    for k, _ in sel.select(0.3):
        try: fin_ = not k.fileobj.recv(4096)
        except OSError: fin_ = True
        if fin_: sel.unregister(k.fileobj), k.fileobj.close(), abrir(k.data[0])
    for k in list(sel.get_map().values()):  # a third send a byte now and then
        if k.data[0] % 3 == 0 and k.data[1] < len(lento):
            try: k.fileobj.send(lento[k.data[1]:k.data[1] + 1]); k.data[1] += 1
            except OSError: pass' $P >"$work/ocupante" &
ocupante=$!
# Held: all 150 established (those the bridge has not taken yet wait in its queue).
sitiada() { [ "$(ss -tnH state established "( sport = :$P )" | wc -l)" -ge 150 ]; }
e2e_wait 10 sitiada || fail "the other program's 150 connections were not established"
contar sitio
check_eq "150 connections held by another program: the page opens 10 of 10" "$diez" "$(pagina 1)"
kill $! 2>/dev/null
check_eq "and the drawer opened 10 times" 10 "$(patadas 10)"
echo "the other program opened $(tail -1 "$work/ocupante") connections; at most $(sort -n "$work/sitio" | tail -1) were established at once"
[ "$(tail -1 "$work/ocupante")" -gt 300 ] && ok "they were closed and opened again" || fail "no siege: $(tail -1 "$work/ocupante")"
kill $ocupante

contar riada
antes=$(aceptadas)
check_eq "a page of another origin flooding: the page opens 10 of 10" "$diez" \
    "$(pagina 2 --tambien http://127.0.0.1:47143/inunda.html)"
kill $! 2>/dev/null
riada=$(($(aceptadas) - antes))
check_eq "and the drawer opened 10 times more" 20 "$(patadas 20)"
# How many were open at one moment depends on how fast the bridge answers
# them; how many came does not. How many came in the page's time depends on
# how busy the machine is (some 2,000 alone, 400 beside a build): a flood is
# twenty times the till's own ten requests, or more.
echo "the flood made $riada connections; at most $(sort -n "$work/riada" | tail -1) were established at once"
[ "$riada" -gt 200 ] && ok "the other page did flood" || fail "no flood: $riada connections"
