#!/usr/bin/env bash
# Stops the CUPS server that start-cups.sh started, and only that one.
set -uo pipefail
pid_file=/run/cups/abrircajon-cupsd.pid
[ -f "$pid_file" ] || exit 0
pid=$(cat "$pid_file")
if [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = cupsd ]; then
    kill "$pid"
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
fi
rm -f "$pid_file"
