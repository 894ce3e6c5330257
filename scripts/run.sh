#!/usr/bin/env bash
# Builds the program and runs it under Wine, in a folder of its own
# (build/programa) with its INIS\PARAMETROS.INI beside it: the 32-bit release
# where the host can run 32-bit code, otherwise the 64-bit build of the same
# program (CAJON_ONLY_WIN64=1 asks for that on any host).
# Uses $DISPLAY when set; otherwise starts an Xvfb display and says how to look.
# Installs what is missing on Debian 12 and stops what it started on exit.
set -uo pipefail
CAJON_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$CAJON_ROOT"
source scripts/lib/deps.sh
source scripts/lib/services.sh

cajon_install_deps || exit 1
if cajon_host_runs_32bit; then
    preset=win32
    echo "Starting the release (32-bit build)."
else
    preset=win64
    echo "Starting the 64-bit build: $(cajon_no_32bit_reason)."
fi
cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" || exit 1
trap cajon_stop_services EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

programa="$CAJON_ROOT/build/programa"
mkdir -p "$programa/INIS"
cp "build/$preset/AbrirCajon.exe" "$programa/"

cajon_start_display || exit 1
cajon_start_cups || echo "CUPS did not start: the program will see no printers."
cajon_start_wine || exit 1
if [ -n "$CAJON_XVFB_PID" ]; then
    echo "Running on the Xvfb display $DISPLAY (no screen of its own). To look at it:"
    echo "  DISPLAY=$DISPLAY import -window root /tmp/abrircajon.png"
    echo "or connect a VNC server to it (x11vnc -display $DISPLAY)."
fi
echo "Program folder: $programa (the parameter file is INIS/PARAMETROS.INI there)."
echo "The printer port LPT1: is $WINEPREFIX/dosdevices/lpt1."
# In the background, so that Ctrl+C or a TERM reaches this script at once and
# its exit stops the program with everything else.
cd "$programa" && cajon_wine AbrirCajon.exe &
wait $!
