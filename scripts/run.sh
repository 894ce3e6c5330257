#!/usr/bin/env bash
# Builds the release (32-bit Windows) and runs the program under Wine, in a
# folder of its own (build/programa) with its INIS\PARAMETROS.INI beside it.
# Uses $DISPLAY when set; otherwise starts an Xvfb display and says how to look.
# Installs what is missing on Debian 12 and stops what it started on exit.
set -uo pipefail
CAJON_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$CAJON_ROOT"
source scripts/lib/deps.sh
source scripts/lib/services.sh

cajon_install_deps || exit 1
cmake --preset win32 >/dev/null && cmake --build --preset win32 || exit 1
trap cajon_stop_services EXIT

programa="$CAJON_ROOT/build/programa"
mkdir -p "$programa/INIS"
cp build/win32/AbrirCajon.exe "$programa/"

cajon_start_display || exit 1
cajon_start_wine
cajon_start_cups || echo "CUPS did not start: the program will see no printers."
if [ -n "$CAJON_XVFB_PID" ]; then
    echo "Running on the Xvfb display $DISPLAY (no screen of its own). To look at it:"
    echo "  DISPLAY=$DISPLAY import -window root /tmp/abrircajon.png"
    echo "or connect a VNC server to it (x11vnc -display $DISPLAY)."
fi
echo "Program folder: $programa (the parameter file is INIS/PARAMETROS.INI there)."
echo "The printer port LPT1: is $WINEPREFIX/dosdevices/lpt1."
cd "$programa" && wine AbrirCajon.exe
