#!/usr/bin/env bash
# Time from a web page's fetch() to the kick's bytes on LPT1:, beside the time
# from F12 pressed to the bytes, in one run of the program (LPT1: a FIFO whose
# reader stamps each arrival): median and 90th percentile over KICKS kicks
# each, taking turns. Headless Chromium loads a listed origin's page (served
# from 127.0.0.1) that stamps Date.now() just before its fetch() and reports
# it back; no virtual time, so the browser's clock is the system's. A
# measurement, not a test: run it by hand with the display and the Wine
# prefix started (scripts/lib/services.sh), CAJON_EXE and CAJON_HELPER set:
#   bench_web_kick.sh [KICKS]
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
kicks=${1:-10}
e2e_begin bench_web
work=$(mktemp -d)
trap 'kill $servidor $lector 2>/dev/null; rm -rf "$work"; e2e_end' EXIT
mkfifo "$work/lpt1.fifo"
python3 -u -c '
import os, sys, time
f = os.open(sys.argv[1], os.O_RDWR)
while True:
    b = os.read(f, 64)
    print(time.time_ns() // 1000000, len(b), flush=True)' "$work/lpt1.fifo" >"$work/llegadas" &
lector=$!
e2e_map_lpt1 "$work/lpt1.fifo"
cat >"$work/index.html" <<HTML
<script>
const t0 = Date.now();
fetch("http://127.0.0.1:47110/v1/abrir", {method: "POST", headers: {"Content-Type": "application/json"}, body: "{}"})
  .then(r => r.text()).then(t => fetch("/informe?" + t0 + " " + encodeURIComponent(t)));
</script>
HTML
python3 -u -c '
import http.server, sys, urllib.parse
class H(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        if self.path.startswith("/informe?"):
            print(urllib.parse.unquote(self.path[9:]), flush=True)
        return super().do_GET()
    def log_message(self, *a): pass
http.server.ThreadingHTTPServer(("127.0.0.1", 47124), lambda *a: H(*a, directory=sys.argv[1])).serve_forever()
' "$work" >"$work/informes" &
servidor=$!
e2e_ini "KovraTipo=0" "PrinterDeviceName=$(cups_default)" "KovraWebOrigenes=http://127.0.0.1:47124"
e2e_start
answer_startup || { echo "no main window"; exit 1; }
ventana=$(e2e_wait_window "$MAIN")

# The arrival after a moment ($1, in ms since the epoch), less that moment.
espera() {
    local i
    for i in $(seq 1 100); do
        awk -v t="$1" '$1 >= t { print $1 - t; exit }' "$work/llegadas" | grep . && return
        sleep 0.05
    done
    echo "no bytes" >&2
}
: >"$work/web" && : >"$work/f12"
for i in $(seq 1 "$kicks"); do
    n=$(wc -l <"$work/informes")
    chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
        --disable-component-update --disable-sync --no-first-run \
        --user-data-dir="$work/chromium" http://127.0.0.1:47124/ >/dev/null 2>&1 &
    navegador=$!
    for _ in $(seq 1 200); do [ "$(wc -l <"$work/informes")" -gt "$n" ] && break; sleep 0.05; done
    kill $navegador; wait $navegador 2>/dev/null
    read -r t0 respuesta < <(tail -1 "$work/informes")
    [ "$respuesta" == '{"ok":true}' ] || echo "web kick $i: $respuesta"
    espera "$t0" >>"$work/web"
    sleep 1.1
    t0=$(date +%s%3N)
    xdotool keydown --window "$ventana" F12
    sleep 0.06  # long enough for one 50 ms poll to see it down
    xdotool keyup --window "$ventana" F12
    espera "$t0" >>"$work/f12"
    sleep 1.1
done
resumen() { sort -n "$2" | awk -v q="$1" '{ v[NR] = $1 } END {
    printf "%s: %d kicks, median %d ms, 90th percentile %d ms\n", q, NR, v[int((NR + 1) / 2)], v[int(NR * 0.9 + 0.99)] }'; }
resumen "fetch() to LPT1:" "$work/web"
resumen "F12 to LPT1:" "$work/f12"
