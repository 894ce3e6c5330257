#!/usr/bin/env bash
# The start's events, from the real program under Wine (which keeps no log:
# it prints ReportEventW on its debug channels): with KovraWebPuerto held by
# another program on 127.0.0.1 and KovraTecla=F99 in the file, the start
# event (1300, Information) names the version and each setting with where
# it comes from, then 1303 (Warning) names F99 and 1301 (Error) the port; the
# cashier still sees both boxes.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
e2e_begin eventos_inicio
log="$E2E_ARTIFACTS/eventos_inicio-wine.log"
work=$(mktemp -d)
P=47131
VERSION=$(sed -nE 's/^project\(AbrirCajon VERSION ([0-9.]+) .*/\1/p' "$E2E_ROOT/CMakeLists.txt")
eventos() { e2e_eventos "$log"; }
cuantos() { [ "$(eventos | wc -l)" -ge "$1" ]; }

# Another program on the bridge's port, loopback only.
python3 -c 'import socket, sys, time
s = socket.socket()
s.bind(("127.0.0.1", int(sys.argv[1])))
s.listen()
open(sys.argv[2], "w").close()
time.sleep(600)' "$P" "$work/ocupado" &
ocupante=$!
trap 'kill "$ocupante" 2>/dev/null; rm -rf "$work"; e2e_end' EXIT
e2e_wait 5 test -e "$work/ocupado" || fail "the port could not be held"

e2e_ini "KovraTipo=0" "PrinterDeviceName=$(cups_default)" "KovraTecla=F99" \
    "KovraWebOrigenes=https://tpv.ejemplo.com" "KovraWebPuerto=$P"
WINEDEBUG=-all,+eventlog,fixme+advapi e2e_start
answer_startup >"$work/cajas" || fail "main window not shown"
e2e_wait 10 cuantos 3 || fail "fewer than three events: $(eventos | xargs)"
check_eq "the start's events in order: 1300 Information, 1303 Warning, 1301 Error" \
    "1300 4 1303 2 1301 1" "$(eventos | head -3 | xargs)"
[ -n "$VERSION" ] && grep -qF "trace:eventlog:ReportEventW L\"$VERSION\"" "$log" &&
    ok "the start event names version $VERSION" || fail "no version [$VERSION] in the start event"
for texto in "KovraTecla=F99 (archivo)" "KovraWebPuerto=$P (archivo)" "KovraTipo=0 (archivo)" \
    "KovraPuerto=LPT1: (por defecto)" "KovraEventos=1 (por defecto)"; do
    grep -qF "trace:eventlog:ReportEventW L\"$texto\"" "$log" && ok "start event: $texto" ||
        fail "start event without $texto"
done
grep -qF 'warn:eventlog:ReportEventW L"F99"' "$log" && ok "1303 names F99" || fail "1303 without F99"
grep -qF "err:eventlog:ReportEventW L\"$P\"" "$log" && ok "1301 names the port" ||
    fail "1301 without the port"
grep -q 'start-up box: El valor de KovraTecla no es válido: "F99"' "$work/cajas" &&
    ok "the key's box still shown" || fail "no box for F99: $(cat "$work/cajas")"
grep -q "start-up box: No se puede usar el puerto $P" "$work/cajas" &&
    ok "the port's box still shown" || fail "no box for the port: $(cat "$work/cajas")"
e2e_stop
