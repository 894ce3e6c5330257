#!/usr/bin/env bash
# A measurement, not a test: a page's JSON POST from a listed origin, from
# its connection to the first byte of the kick on LPT1: (a FIFO), beside the
# least a listener can do for it (the helper's "escucha": read the request,
# open, write and close LPT1:, answer), taking turns, REQUESTS each (50 by
# default; a second apart, as the program opens once a second at most):
# median and 90th percentile. With the display, prefix and CUPS started:
#   CAJON_EXE=... CAJON_HELPER=... bench_puente_web.sh [REQUESTS]
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin bench_puente_web
work=$(mktemp -d)
trap 'kill $minimo 2>/dev/null; rm -rf "$work"; e2e_end' EXIT
mkfifo "$work/lpt1.fifo"
e2e_map_lpt1 "$work/lpt1.fifo"
P=47131 MINIMO=47132
e2e_ini "KovraTipo=0" "PrinterDeviceName=$(cups_default)" "KovraWebPuerto=$P" \
    "KovraWebOrigenes=https://tpv.ejemplo.com"
e2e_start
answer_startup >/dev/null || fail "main window not shown"
(cajon_wine "$CAJON_HELPER" escucha $MINIMO </dev/null >/dev/null 2>&1) &
minimo=$!
python3 - "$work/lpt1.fifo" "${1:-50}" $P $MINIMO <<'PY'
import os, socket, sys, time
fifo, n, puertos = sys.argv[1], int(sys.argv[2]), [int(p) for p in sys.argv[3:]]
lpt1 = os.open(fifo, os.O_RDWR)  # never waits for a writer; the only reader
cuerpo = b'{"motivo":"Banco"}'
def post(puerto):
    pedido = (b"POST /v1/abrir HTTP/1.1\r\nHost: 127.0.0.1:%d\r\nOrigin: https://tpv.ejemplo.com\r\n"
              b"Content-Type: application/json\r\nContent-Length: %d\r\n\r\n%s" % (puerto, len(cuerpo), cuerpo))
    t0 = time.perf_counter()
    s = socket.create_connection(("127.0.0.1", puerto))
    s.sendall(pedido)
    os.read(lpt1, 1)
    ms = (time.perf_counter() - t0) * 1000
    os.read(lpt1, 4)
    respuesta = s.recv(4096)
    s.close()
    if not respuesta.startswith(b"HTTP/1.1 200"): sys.exit("not opened: %r" % respuesta[:60])
    return ms
for puerto in puertos:  # both ready
    for _ in range(100):
        try: socket.create_connection(("127.0.0.1", puerto)).close(); break
        except OSError: time.sleep(0.1)
time.sleep(1.1)
medidas = {p: [] for p in puertos}
for _ in range(n):
    for p in puertos: medidas[p].append(post(p))
    time.sleep(1.05)
for p, nombre in zip(puertos, ("programa", "minimo")):
    v = sorted(medidas[p])
    print("%s: median %.2f ms, 90th percentile %.2f ms" % (nombre, v[(len(v) - 1) // 2], v[int(len(v) * 0.9) - 1]))
PY
[ $? -eq 0 ] || fail "the benchmark did not finish"
