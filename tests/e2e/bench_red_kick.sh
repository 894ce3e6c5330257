#!/usr/bin/env bash
# A measurement, not a test: median and 90th percentile of a kick to a network
# printer (escucha_red.py on 127.0.0.1) and of one on LPT1: (a plain file),
# taking turns in one run of the kick driver. With the Wine prefix started:
#   bench_red_kick.sh build/win64/cajon_kick_driver.exe [KICKS]
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib/wine.sh"
kicks=${2:-1000}
work=$(mktemp -d)
python3 "$(dirname "$0")/escucha_red.py" "$work/puertos" "$work/red.log" &
trap "kill $!; rm -rf '$work' '$WINEPREFIX/dosdevices/lpt1'" EXIT
: >"$work/lpt1.bin" && ln -sfn "$work/lpt1.bin" "$WINEPREFIX/dosdevices/lpt1"
until read -r acepta _ <"$work/puertos"; do sleep 0.1; done 2>/dev/null
cajon_wine "$1" "27 112 0 10 100" "127.0.0.1:$acepta" 1 1 "$kicks" LPT1: </dev/null 2>/dev/null | tr -d '\r'
echo "connections with the 5 bytes: $(grep -cx 1b70000a64 "$work/red.log") of $kicks"
