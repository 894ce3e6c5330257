#!/usr/bin/env bash
# Prepares the CUPS server the printing tests print on:
#   - starts cupsd in the foreground-less way a container allows (no systemd)
#     when no server answers, and records its PID in /run/cups/abrircajon-cupsd.pid;
#   - installs the capture backend (abrircajon-capture, beside this script);
#   - (re)creates the capture queues, enabled and accepting, with Caja_PS as
#     the default printer. Running it again restores that state.
# The captured jobs land in /var/spool/abrircajon-capture/<queue>/<job>.prn.
set -euo pipefail
aqui=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
pid_file=/run/cups/abrircajon-cupsd.pid
backend=/usr/lib/cups/backend/abrircajon-capture
capturas=/var/spool/abrircajon-capture

# Queue name, then lpadmin options for its kind: PostScript through the
# sample driver, or raw (bytes as sent).
colas=(
    "Caja_PS|-m drv:///sample.drv/generic.ppd"
    "Tickets_RAW|"
    "Bixolon_Copia|-m drv:///sample.drv/generic.ppd"
)
predeterminada=Caja_PS

servidor_activo() { lpstat -r 2>/dev/null | grep -q 'is running'; }

install -d -m 0755 "$capturas"
# CUPS runs a backend as root only when it is not readable by others.
install -o root -g root -m 0700 "$aqui/abrircajon-capture" "$backend"

if ! servidor_activo; then
    mkdir -p /run/cups
    # A PID file left by a server that is gone must not make a later stop
    # kill an unrelated process.
    rm -f "$pid_file"
    /usr/sbin/cupsd -f </dev/null >/dev/null 2>&1 &
    echo $! >"$pid_file"
    for _ in $(seq 1 100); do
        servidor_activo && break
        sleep 0.1
    done
    if ! servidor_activo; then
        echo "cupsd did not start" >&2
        exit 1
    fi
fi

for entrada in "${colas[@]}"; do
    cola=${entrada%%|*}
    opciones=${entrada#*|}
    # Made anew each time: lpadmin -p on an existing queue would keep a
    # driver that a raw queue must not have, and a test may have left
    # jobs or a rejecting queue behind.
    lpadmin -x "$cola" 2>/dev/null || true
    # shellcheck disable=SC2086  # the options are several words on purpose
    lpadmin -p "$cola" -E -v "abrircajon-capture:/$cola" $opciones 2>&1 | grep -v 'deprecated' >&2 || true
    cupsenable "$cola"
    cupsaccept "$cola"
    install -d -m 0755 "$capturas/$cola"
done
lpadmin -d "$predeterminada"
