#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest: the loader comes first, then the
# program and its arguments. The prefix and settings come from the environment
# that scripts/test.sh prepares; defaults keep a manual `ctest` working.
set -u
loader=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEPREFIX=${WINEPREFIX:-$HOME/.cache/abrircajon/wineprefix}
exec "$loader" "$@"
