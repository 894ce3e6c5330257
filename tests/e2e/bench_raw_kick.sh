#!/usr/bin/env bash
# Time of one drawer kick as a RAW job on a local raw CUPS queue, beside one
# on the port path (LPT1: mapped to a FIFO with a reader), in one run of the
# kick driver whose kicks take turns: median and 90th percentile over KICKS
# kicks each. A measurement, not a test: run it by hand, with the Wine prefix
# and the tests' own CUPS server started (scripts/lib/services.sh):
#   bench_raw_kick.sh build/win64/cajon_kick_driver.exe [KICKS]
set -uo pipefail
raiz=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$raiz/scripts/lib/services.sh"
driver=${1:?the kick driver exe}
kicks=${2:-1000}
: "${WINEPREFIX:?WINEPREFIX must be set}"
cola=Cajon_Medida
capturas=$CAJON_CUPS_DIR/capturas/$cola
work=$(mktemp -d)
terminar() {
    exec 7>&- 2>/dev/null
    lpadmin -x "$cola" 2>/dev/null
    rm -rf "$work" "$capturas"
    rm -f "$WINEPREFIX/dosdevices/lpt1"
}
trap terminar EXIT

# A queue of its own, so the jobs do not mix with the tests' captures.
lpadmin -p "$cola" -E -v "abrircajon-capture:/$cola" 2>&1 | grep -v deprecated >&2
cupsenable "$cola" && cupsaccept "$cola"

mkfifo "$work/lpt1.fifo"
exec 7<>"$work/lpt1.fifo"  # a writer kept open: the reader sees every kick
cat "$work/lpt1.fifo" >"$work/fifo.out" 7>&- &
ln -sfn "$work/lpt1.fifo" "$WINEPREFIX/dosdevices/lpt1"

cajon_wine "$driver" "27 112 0 10 100" "$cola" 1 1 "$kicks" "LPT1:" </dev/null >"$work/salida" 2>/dev/null
tr -d '\r' <"$work/salida"

# Every job and every byte arrived.
for _ in $(seq 1 600); do
    [ -z "$(lpstat -o "$cola" 2>/dev/null)" ] && break
    sleep 0.1
done
sleep 0.3
exec 7>&-
echo "jobs captured: $(find "$capturas" -name '*.prn' | wc -l) of $kicks," \
    "each of 5 bytes: $(find "$capturas" -name '*.prn' -size 5c | wc -l)"
echo "bytes on LPT1:: $(stat -c %s "$work/fifo.out") of $((kicks * 5))"
