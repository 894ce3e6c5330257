# The one place that chooses how Windows programs run under Wine.
# Sourced by the scripts and the end-to-end harness; wine-run.sh uses it for CTest.
#
#   cajon_wine_loader EXE        prints the loader for EXE: the 32-bit one for a
#                                PE32 exe, the 64-bit one for a PE32+ exe
#   cajon_wine EXE [ARGS...]     runs EXE with its loader
#   cajon_wine_exec EXE [ARGS]   the same, replacing the shell (for a subshell)
#   cajon_wine_tool TOOL [ARGS]  runs one of Wine's own programs (reg, taskkill,
#                                wineboot ...) with the 64-bit loader
#   cajon_host_runs_32bit        true when this host can run 32-bit code
#   cajon_no_32bit_reason        why it cannot, in one line
#   cajon_wine_prefix_stamp      one line naming this Wine and whether its
#                                32-bit loader runs here: what a prefix made
#                                now is made with (scripts/lib/services.sh)
#
# The `wine` wrapper on PATH is never used: it always prefers the 32-bit
# loader, which some hosts' kernels cannot run at all ("Exec format error").
# The prefix is a 64-bit one on every host, so Wine's own programs always run
# with the 64-bit loader and 32-bit programs run in its WoW64 half.

CAJON_WINE32=${CAJON_WINE32:-/usr/lib/wine/wine}
CAJON_WINE64=${CAJON_WINE64:-/usr/lib/wine/wine64}
CAJON_WINESERVER=${CAJON_WINESERVER:-/usr/lib/wine/wineserver}
export WINEPREFIX=${WINEPREFIX:-$HOME/.cache/abrircajon/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINESERVER=$CAJON_WINESERVER

# The PE optional header's magic: 0x10b for PE32, 0x20b for PE32+.
cajon_pe_magic() {
    local exe=$1 pe
    pe=$(od -An -tu4 -j 60 -N 4 "$exe" 2>/dev/null | tr -d ' ')
    [ -n "$pe" ] || return 1
    [ "$(od -An -c -j "$pe" -N 2 "$exe" 2>/dev/null | tr -d ' ')" == "PE" ] || return 1
    od -An -tx2 -j $((pe + 24)) -N 2 "$exe" | tr -d ' '
}

cajon_wine_loader() {
    case "$(cajon_pe_magic "$1")" in
        020b) echo "$CAJON_WINE64" ;;
        010b) echo "$CAJON_WINE32" ;;
        *)
            echo "not a Windows exe: $1" >&2
            return 1
            ;;
    esac
}

cajon_wine() {
    local loader
    loader=$(cajon_wine_loader "$1") || return 126
    WINELOADER=$loader "$loader" "$@"
}

# The same, in place of the calling shell: its PID becomes the loader's.
cajon_wine_exec() {
    local loader
    loader=$(cajon_wine_loader "$1") || exit 126
    WINELOADER=$loader exec "$loader" "$@"
}

cajon_wine_tool() { WINELOADER=$CAJON_WINE64 "$CAJON_WINE64" "$@"; }

# Asked once per process: running the 32-bit loader's --version starts no
# Wine process and fails at once where the kernel refuses i386 code.
# CAJON_ONLY_WIN64=1 takes the 64-bit-only path on any host.
cajon_host_runs_32bit() {
    if [ -z "${CAJON_HOST_32BIT:-}" ]; then
        if [ -n "${CAJON_ONLY_WIN64:-}" ] && [ "$CAJON_ONLY_WIN64" != 0 ]; then
            CAJON_HOST_32BIT=no
        elif "$CAJON_WINE32" --version </dev/null >/dev/null 2>&1; then
            CAJON_HOST_32BIT=yes
        else
            CAJON_HOST_32BIT=no
        fi
        export CAJON_HOST_32BIT
    fi
    [ "$CAJON_HOST_32BIT" == yes ]
}

cajon_no_32bit_reason() {
    if [ -n "${CAJON_ONLY_WIN64:-}" ] && [ "$CAJON_ONLY_WIN64" != 0 ]; then
        echo "CAJON_ONLY_WIN64 asks for the 64-bit build only"
    elif [ ! -x "$CAJON_WINE32" ]; then
        echo "the 32-bit Wine loader $CAJON_WINE32 is not installed"
    else
        echo "this host's kernel cannot run 32-bit code (the 32-bit Wine loader fails: Exec format error)"
    fi
}

# Not CAJON_ONLY_WIN64: asking for the 64-bit build only does not change the
# prefix that Wine makes.
cajon_wine_prefix_stamp() {
    local bits=no
    "$CAJON_WINE32" --version </dev/null >/dev/null 2>&1 && bits=yes
    echo "$("$CAJON_WINE64" --version 2>/dev/null) 32-bit loader runs: $bits"
}
