# End-to-end harness: drives the real program under Wine in an X display, as a
# user would. Sourced by the tests/e2e/test_*.sh scripts, which CTest runs with
# CAJON_EXE and CAJON_HELPER set and the display, Wine prefix and CUPS server
# already started by scripts/test.sh.
#
#   e2e_begin NAME              fresh program folder, LPT1: unmapped, traps cleanup
#   e2e_ini "k=v" ...           writes INIS\PARAMETROS.INI (section Parametros)
#   e2e_ini_raw TEXT            writes INIS\PARAMETROS.INI as given
#   e2e_ini_value KEY           prints a key's value from the file ("" if missing)
#   e2e_map_lpt1 PATH           LPT1: writes to PATH (a file or a FIFO)
#   e2e_lpt1_fifo               LPT1: to a FIFO; every byte lands in $work/fifo.out
#   e2e_start                   starts the program; e2e_wait_window CAPTION waits for a window
#   e2e_wine_out EXE ARGS...    runs a Windows console program, prints its output
#   e2e_helper ARGS...          runs the helper exe, prints its output
#   e2e_control CAPTION ID      the helper's line for one control
#   e2e_box_text CAPTION        text of the open message box with that caption
#   e2e_key WINDOW KEYS...      key presses to an X window id, released on the display
#   e2e_hold_f12 WINDOW SECONDS holds F12 down on the window for a while
#   e2e_screenshot FILE         PNG of the whole display
#   e2e_running                 true while the program's process lives
#   e2e_wait SECONDS CMD...     runs CMD until it succeeds, for SECONDS at most
#   e2e_until SECONDS WANT CMD...  runs CMD until it prints WANT; prints its last output
#   check_until WHAT WANT CMD...   check_eq of CMD's output once it prints WANT (5 s at most)
#   e2e_stop                    ends the program
#   ok / fail MESSAGE           record a check

set -uo pipefail
E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$E2E_ROOT/scripts/lib/services.sh"  # Wine, and keys on the display
: "${CAJON_EXE:?CAJON_EXE must name AbrirCajon.exe}"
: "${CAJON_HELPER:?CAJON_HELPER must name the helper exe}"
: "${WINEPREFIX:?WINEPREFIX must be set}"
: "${DISPLAY:?DISPLAY must be set}"
E2E_FAILS=0
E2E_PID=""
E2E_ARTIFACTS=${E2E_ARTIFACTS:-$E2E_ROOT/build/e2e-artifacts}
mkdir -p "$E2E_ARTIFACTS"

ok() { echo "ok: $*"; }
fail() {
    echo "FAIL: $*"
    E2E_FAILS=$((E2E_FAILS + 1))
}
check_eq() {  # check_eq WHAT EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then ok "$1"; else fail "$1: expected [$2], got [$3]"; fi
}

e2e_begin() {
    E2E_NAME=$1
    E2E_DIR="$WINEPREFIX/drive_c/e2e/$E2E_NAME"
    rm -rf "$E2E_DIR"
    mkdir -p "$E2E_DIR/INIS"
    cp "$CAJON_EXE" "$E2E_DIR/AbrirCajon.exe"
    rm -f "$WINEPREFIX/dosdevices/lpt1"
    trap e2e_end EXIT
}

e2e_end() {
    e2e_stop
    # A key pressed on a window that vanished before its release stays held on
    # the display and repeats into the next test's window.
    xdotool keyup Return space Escape Tab F12 F4 alt ctrl shift 2>/dev/null
    if [ "$E2E_FAILS" -ne 0 ]; then
        e2e_screenshot "$E2E_ARTIFACTS/$E2E_NAME-failure.png"
        echo "$E2E_NAME: $E2E_FAILS check(s) failed"
        exit 1
    fi
    echo "$E2E_NAME: all checks passed"
}

e2e_ini() {
    { printf '[Parametros]\r\n'; local kv; for kv in "$@"; do printf '%s\r\n' "$kv"; done; } \
        >"$E2E_DIR/INIS/PARAMETROS.INI"
}
e2e_ini_raw() { printf '%s' "$1" >"$E2E_DIR/INIS/PARAMETROS.INI"; }
e2e_ini_value() {
    [ -f "$E2E_DIR/INIS/PARAMETROS.INI" ] || return 0
    tr -d '\r' <"$E2E_DIR/INIS/PARAMETROS.INI" | sed -n "s/^$1=//p" | head -1
}

# The Wine prefix's registry, as reg.exe edits it: e2e_reg add|delete KEY ...
e2e_reg() { cajon_wine_tool reg "$@" /f </dev/null >/dev/null 2>&1; }

e2e_map_lpt1() { ln -sfn "$1" "$WINEPREFIX/dosdevices/lpt1"; }

# Makes $work (removed at the end) and maps LPT1: to a FIFO in it whose reader
# sees every kick: fd 7 keeps a writer open between kicks.
e2e_lpt1_fifo() {
    work=$(mktemp -d)
    trap 'exec 7>&- 2>/dev/null; rm -rf "$work"; e2e_end' EXIT
    mkfifo "$work/lpt1.fifo"
    : >"$work/fifo.out"
    exec 7<>"$work/lpt1.fifo"
    cat "$work/lpt1.fifo" >"$work/fifo.out" 7>&- &
    e2e_map_lpt1 "$work/lpt1.fifo"
}

e2e_start() {
    (cd "$E2E_DIR" && cajon_wine_exec AbrirCajon.exe </dev/null >"$E2E_ARTIFACTS/$E2E_NAME-wine.log" 2>&1) &
    E2E_PID=$!
}

e2e_running() { [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; }

# Tests wait for what they expect, with a deadline, never for a fixed time.
e2e_wait() {
    local fin=$(($(date +%s%N) + $1 * 1000000000))
    shift
    until "$@"; do
        [ "$(date +%s%N)" -lt "$fin" ] || return 1
        sleep 0.1
    done
}
e2e_until() {
    local fin=$(($(date +%s%N) + $1 * 1000000000)) want=$2 got
    shift 2
    while got=$("$@" 2>/dev/null); [ "$got" != "$want" ] && [ "$(date +%s%N)" -lt "$fin" ]; do sleep 0.1; done
    printf '%s\n' "$got"
}
check_until() { check_eq "$1" "$2" "$(e2e_until 5 "$2" "${@:3}")"; }
# The events Wine printed to the log $1 (WINEDEBUG=+eventlog): "ID type" for
# each, in order; Wine gives the type by its number: 4 Information, 2
# Warning, 1 Error.
e2e_eventos() {
    sed -nE 's/.*ReportEventW \([^,]*,0x000([0-9]),[^,]*,0x([0-9a-f]+),.*/\2 \1/p' "$1" |
        while read -r id tipo; do echo "$((16#$id)) $tipo"; done
}

e2e_stop() {
    if e2e_running; then
        kill "$E2E_PID" 2>/dev/null
        wait "$E2E_PID" 2>/dev/null
    fi
    # The Windows process outlives the loader's PID: end it by name.
    cajon_wine_tool taskkill /f /im AbrirCajon.exe </dev/null >/dev/null 2>&1 || true
    E2E_PID=""
}

# Prints the X window id of the first window whose title is exactly $1.
e2e_wait_window() {
    local caption=$1 timeout=${2:-20} i id
    for i in $(seq 1 $((timeout * 10))); do
        id=$(xdotool search --name "^$caption\$" 2>/dev/null | head -1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

e2e_wait_gone() {
    local caption=$1 timeout=${2:-10} i
    for i in $(seq 1 $((timeout * 10))); do
        xdotool search --onlyvisible --name "^$caption\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

# Runs a Windows console program and prints its output without CRs.
e2e_wine_out() {
    local out rc
    out=$(mktemp)
    # Output goes through a file: a pipe would stay open while the Wine server holds it.
    cajon_wine "$@" </dev/null >"$out" 2>/dev/null
    rc=$?
    tr -d '\r' <"$out"
    rm -f "$out"
    return $rc
}

e2e_helper() { e2e_wine_out "$CAJON_HELPER" "$@"; }

e2e_control() { e2e_helper controls "$1" | grep -E "^id=$2 "; }
e2e_field() { sed -nE "s/.*[ ^]$1=([^ ]*).*/\1/p" | head -1; }  # e2e_control ... | e2e_field enabled
e2e_control_text() { e2e_control "$1" "$2" | sed -n 's/.* text=//p'; }
e2e_box_text() { e2e_helper boxtext "$1"; }

e2e_key() { cajon_key "$@"; }

e2e_hold_f12() {
    xdotool keydown --window "$1" F12
    sleep "$2"
    xdotool keyup --window "$1" F12
    xdotool keyup F12  # released on the display too, should a box have taken the focus
}


e2e_screenshot() { import -window root "$1" 2>/dev/null; }
