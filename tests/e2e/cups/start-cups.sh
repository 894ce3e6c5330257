#!/usr/bin/env bash
# Prepares the printing tests' queues on their own CUPS server
# (scripts/lib/cups.sh), starting that server when it does not answer:
# (re)creates the capture queues, enabled and accepting, with Caja_PS as the
# default printer. Running it again restores that state.
# The capture backend (abrircajon-capture, beside this script) keeps each job
# in $CAJON_CUPS_DIR/capturas/<queue>/<job>.prn.
set -euo pipefail
aqui=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$aqui/../../../scripts/lib/services.sh"

# Queue name, then lpadmin options for its kind: PostScript through the
# sample driver, or raw (bytes as sent).
colas=(
    "Caja_PS|-m drv:///sample.drv/generic.ppd"
    "Tickets_RAW|"
    "Bixolon_Copia|-m drv:///sample.drv/generic.ppd"
)
predeterminada=Caja_PS

cajon_cups_running || cajon_start_cupsd "$aqui/abrircajon-capture"

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
    install -d -m 0755 "$CAJON_CUPS_DIR/capturas/$cola"
done
lpadmin -d "$predeterminada"
