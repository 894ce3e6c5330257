# Starts and stops what the program and its tests need: an X display, a Wine
# prefix with its server, a CUPS server of their own. Every process started
# here is stopped by cajon_stop_services, also when a test fails (the callers
# trap EXIT). Tests press keys on the display through cajon_key.
# CUPS comes before Wine: Wine reads the printer list once, in the first
# program of its session that loads the spooler (one of the services that
# cajon_start_wine starts), and keeps it while that program runs.

CAJON_ROOT=${CAJON_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
source "$CAJON_ROOT/scripts/lib/wine.sh"
CAJON_XVFB_PID=""
CAJON_CUPSD_PID=""
source "$CAJON_ROOT/scripts/lib/cups.sh"

cajon_start_display() {
    if [ -n "${DISPLAY:-}" ] && [ -z "${CAJON_FORCE_XVFB:-}" ]; then return 0; fi
    local n=91
    while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -dpi "${CAJON_DPI:-96}" -nolisten tcp >/dev/null 2>&1 &
    CAJON_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb did not start" >&2
    return 1
}

# Presses keys on an X window as a user would, and releases them on the
# display as well: a key that closes its window (Enter on a last page, Alt+F4)
# is pressed on the display but released to the vanished window, and held it
# would repeat into whatever window comes next.
cajon_key() {  # cajon_key WINDOW KEYS...
    local win=$1
    shift
    xdotool windowfocus --sync "$win" 2>/dev/null || true
    xdotool key --window "$win" "$@"
    xdotool keyup "$@"
}

cajon_start_wine() {
    # A persistent server makes every later Wine start fast. It is started
    # first, with no pipe attached, so nothing waits on its output.
    "$WINESERVER" -p </dev/null >/dev/null 2>&1
    # The prefix is made anew when it was made by another Wine, or while the
    # 32-bit loader was missing (or could not run) and now it runs, or the
    # other way round: a prefix made without the 32-bit half has no 32-bit
    # system folder, and every 32-bit program in it fails to load kernel32.dll.
    # Also when it was made by the 32-bit loader alone (no 64-bit half).
    local stamp="$WINEPREFIX/.abrircajon-wine" made_by
    made_by=$(cajon_wine_prefix_stamp)
    if [ -f "$WINEPREFIX/system.reg" ] && { grep -q '^#arch=win32' "$WINEPREFIX/system.reg" ||
        [ "$(cat "$stamp" 2>/dev/null)" != "$made_by" ]; }; then
        echo "Replacing the Wine prefix $WINEPREFIX (made with: $(cat "$stamp" 2>/dev/null || echo "no record"); now: $made_by)"
        "$WINESERVER" -k </dev/null >/dev/null 2>&1
        rm -rf "$WINEPREFIX"
        "$WINESERVER" -p </dev/null >/dev/null 2>&1
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        WINEARCH=win64 cajon_wine_tool wineboot -i </dev/null >/dev/null 2>&1 || return 1
        echo "$made_by" >"$stamp"
    else
        # Wine's services (services.exe, winedevice.exe ...) start with the
        # first program and inherit its output: started here, with no pipe,
        # they never hold a CTest pipe open.
        cajon_wine_tool wineboot </dev/null >/dev/null 2>&1 || return 1
    fi
    # Without a window manager, unmanaged windows hide and close without the
    # X driver's 2 s wait.
    cajon_wine_tool reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    # Caption buttons are drawn with Wine's Marlett (fonts-wine), which Wine
    # 8.0 as Debian builds it looks for in a folder that does not exist
    # (/usr/share/wine/../fonts): linked into the prefix, they are not the
    # letters "0 1 r".
    local marlett=/usr/share/wine/fonts/marlett.ttf
    [ ! -f "$marlett" ] || ln -sfn "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
}

# The printers' own CUPS server (scripts/lib/cups.sh) with the test queues
# (tests/e2e/cups/start-cups.sh). One already running in its folder (another
# run from this checkout) is used and left to the run that started it.
cajon_start_cups() {
    [ -n "${CAJON_NO_CUPS:-}" ] && return 0
    local colas=$CAJON_ROOT/tests/e2e/cups
    if ! cajon_cups_running; then
        cajon_start_cupsd "$colas/abrircajon-capture" || return 1
        CAJON_CUPSD_PID=$(cat "$CAJON_CUPS_DIR/cupsd.pid")
    fi
    bash "$colas/start-cups.sh"
}

cajon_stop_services() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then "$WINESERVER" -k >/dev/null 2>&1 || true; fi
    if [ -n "$CAJON_CUPSD_PID" ]; then cajon_stop_cupsd; fi
    if [ -n "$CAJON_XVFB_PID" ]; then kill "$CAJON_XVFB_PID" 2>/dev/null || true; fi
    CAJON_CUPSD_PID=""
    CAJON_XVFB_PID=""
}
