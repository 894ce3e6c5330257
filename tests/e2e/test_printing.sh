#!/usr/bin/env bash
# The printing back end through Wine's spooler on real CUPS queues: the printer
# list and the default printer as CUPS reports them, each kind of document the
# drawer kick prints reaching the queue (text extracted from the PostScript
# with Ghostscript), and the failures a till sees: a queue that rejects jobs,
# no CUPS server at all, a printer removed after the list was read.
# The queues come from tests/e2e/cups/start-cups.sh; this test runs it again at
# the end to leave them as it found them.
source "$(dirname "$0")/lib.sh"
: "${CAJON_PRINT_PROBE:?CAJON_PRINT_PROBE must name the print probe exe}"
CUPS_DIR="$E2E_ROOT/tests/e2e/cups"
source "$(dirname "$0")/capturas.sh"
TRABAJO=$(mktemp -d)

terminar() {
    cupsaccept Caja_PS 2>/dev/null
    bash "$CUPS_DIR/start-cups.sh" >/dev/null 2>&1 || echo "could not restore the CUPS queues"
    rm -rf "$TRABAJO"
    if [ "$E2E_FAILS" -ne 0 ]; then
        echo "printing: $E2E_FAILS check(s) failed"
        exit 1
    fi
    echo "printing: all checks passed"
}
trap terminar EXIT

if ! cajon_cups_running; then
    bash "$CUPS_DIR/start-cups.sh" || { fail "no CUPS server"; exit 1; }
fi

# probe OUT STEP... runs the probe on its own Wine process (a new look at
# the CUPS printers); its lines go to the file OUT. Fails if it crashed.
probe() {
    local out=$1
    shift
    # Output goes through a file: a pipe would stay open while the Wine server holds it.
    cajon_wine "$CAJON_PRINT_PROBE" "$@" </dev/null >"$out.crlf" 2>"$out.err"
    local rc=$?
    tr -d '\r' <"$out.crlf" >"$out"
    return $rc
}
# The probe's line for one step, without the step: "ok ..." or "fallo N TEXT".
resultado() { awk -v p="$2 " 'index($0, p) == 1 {print substr($0, length(p) + 1); exit}' "$1"; }

# True when no new job arrives within 2 s (jobs take 15-50 ms).
ningun_trabajo() { ! nuevo_trabajo "$1" "$2" 20 >/dev/null; }
# One "%%BoundingBox: llx lly urx ury" line per page, in points.
cajas_de() { gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=bbox "$1" 2>&1 | grep '^%%BoundingBox:'; }

# --- The printer list and the default printer -----------------------------------
# Another default than start-cups.sh's, so that a program that takes the first
# printer or a fixed name cannot pass.
lpadmin -d Tickets_RAW
probe "$TRABAJO/lista" list current use=0 current use=2 current
esperadas=$(lpstat -p | awk '$1 == "printer" {print $2}')
check_eq "printers in the order CUPS gives" "$esperadas" "$(sed -n 's/^printer //p' "$TRABAJO/lista")"
check_eq "printer count" "ok $(echo "$esperadas" | wc -l)" "$(resultado "$TRABAJO/lista" list)"
check_eq "current printer starts as the CUPS default" \
    "ok $(lpstat -d | sed 's/.*: //')" "$(grep -m1 '^current ' "$TRABAJO/lista" | cut -d' ' -f2-)"
check_eq "use=0 makes the first printer current" "ok $(echo "$esperadas" | sed -n 1p)" \
    "$(grep '^current ' "$TRABAJO/lista" | sed -n 2p | cut -d' ' -f2-)"
check_eq "use=2 makes the third printer current" "ok $(echo "$esperadas" | sed -n 3p)" \
    "$(grep '^current ' "$TRABAJO/lista" | sed -n 3p | cut -d' ' -f2-)"
lpadmin -d Caja_PS

# Index of a queue in the probe's list.
indice_de() { sed -n 's/^printer //p' "$TRABAJO/lista" | grep -nxF "$1" | cut -d: -f1 | awk '{print $1 - 1}'; }

# --- The documents of the drawer kick -----------------------------------------------
# name|queue|steps of the document (one Print of an empty line; two; an empty line,
# then a text in the control font at a size)
documentos=(
    "una linea vacia|Caja_PS|line=|end"
    "dos lineas vacias|Caja_PS|line=|line=|end"
    "texto en FontControl|Caja_PS|line=|size=12|font=FontControl|line=Apertura cajón 12|end"
    "texto en la cola RAW|Tickets_RAW|line=|size=12|font=FontControl|line=Ticket RAW|end"
    "texto en la tercera cola|Bixolon_Copia|line=|size=9.5|font=FontControl|line=Copia Bixolon|end"
)
declare -A trabajo_de
for documento in "${documentos[@]}"; do
    IFS='|' read -r -a partes <<<"$documento"
    nombre=${partes[0]}
    cola=${partes[1]}
    antes=$(trabajos "$cola")
    if ! probe "$TRABAJO/doc" "use=$(indice_de "$cola")" "${partes[@]:2}"; then
        fail "$nombre: the probe ended badly: $(cat "$TRABAJO/doc" "$TRABAJO/doc.err")"
    fi
    if grep -qvE ' ok( |$)' "$TRABAJO/doc"; then fail "$nombre: $(grep -vE ' ok( |$)' "$TRABAJO/doc")"; fi
    if archivo=$(nuevo_trabajo "$cola" "$antes"); then
        ok "$nombre: job reached $cola"
        trabajo_de[$nombre]=$archivo
    else
        fail "$nombre: no job reached $cola"
    fi
done
for nombre in "una linea vacia" "dos lineas vacias"; do
    archivo=${trabajo_de[$nombre]:-}
    [ -n "$archivo" ] || continue
    check_eq "$nombre: one blank page" "%%BoundingBox: 0 0 0 0" "$(cajas_de "$archivo")"
    check_eq "$nombre: no text" "" "$(texto_de "$archivo")"
done
for par in "texto en FontControl|Apertura cajón 12" "texto en la cola RAW|Ticket RAW" \
    "texto en la tercera cola|Copia Bixolon"; do
    nombre=${par%%|*}
    archivo=${trabajo_de[$nombre]:-}
    [ -n "$archivo" ] || continue
    check_eq "$nombre: the text is printed" "${par#*|}" "$(texto_de "$archivo")"
    check_eq "$nombre: on one page" 1 "$(cajas_de "$archivo" | wc -l)"
done

# Where and how big the text is: at the top left of the printable area, moved
# down by an empty line before it, taller at a bigger size; a font chosen before
# the first Print is used.
# texto_caja NAME STEPS... prints, on Caja_PS, "llx lly urx ury" of what is drawn
# then "llx lly urx ury" of the printable area, in points from the bottom left.
texto_caja() {
    local nombre=$1 antes archivo
    shift
    antes=$(trabajos Caja_PS)
    probe "$TRABAJO/caja" "use=$(indice_de Caja_PS)" "$@" end
    if ! archivo=$(nuevo_trabajo Caja_PS "$antes"); then
        fail "$nombre: no job"
        return 1
    fi
    echo "$(cajas_de "$archivo" | head -1 | cut -d' ' -f2-)" \
        "$(grep -a -m1 '^%%PageBoundingBox:' "$archivo" | cut -d' ' -f2-)"
}
if arriba=$(texto_caja "first line" size=12 font=FontControl "line=Caja") &&
    abajo=$(texto_caja "second line" "line=" size=12 font=FontControl "line=Caja") &&
    grande=$(texto_caja "24 points" "line=" size=24 font=FontControl "line=Caja"); then
    read -r x1 y1 _ top1 izquierda _ _ techo <<<"$arriba"
    read -r x2 _ _ top2 _ <<<"$abajo"
    read -r _ y3 _ top3 _ <<<"$grande"
    # A 12 point "C" starts within a few points of its cell's left and top.
    if [ $((x1 - izquierda)) -ge 0 ] && [ $((x1 - izquierda)) -le 4 ] && [ "$x2" -eq "$x1" ]; then
        ok "text at the left of the printable area"
    else
        fail "text not at the left of the printable area: $arriba / $abajo"
    fi
    if [ $((techo - top1)) -ge 0 ] && [ $((techo - top1)) -le 8 ]; then
        ok "first line at the top of the printable area"
    else
        fail "first line not at the top of the printable area: $arriba"
    fi
    if [ "$top2" -lt $((top1 - 6)) ]; then ok "an empty line moves the text down"; else
        fail "an empty line does not move the text down: $arriba / $abajo"
    fi
    alto12=$((top1 - y1))
    alto24=$((top3 - y3))
    if [ $((alto24 * 10)) -ge $((alto12 * 16)) ] && [ $((alto24 * 10)) -le $((alto12 * 24)) ]; then
        ok "24 points is about twice as tall as 12 ($alto24 / $alto12)"
    else
        fail "24 points is not about twice as tall as 12: $alto24 / $alto12"
    fi
fi

# More lines than a page holds go on to new pages, all of them printed.
lineas=()
for i in $(seq 1 120); do lineas+=("line=Linea $i"); done
antes=$(trabajos Caja_PS)
probe "$TRABAJO/largo" "use=$(indice_de Caja_PS)" "${lineas[@]}" end
if archivo=$(nuevo_trabajo Caja_PS "$antes"); then
    paginas=$(cajas_de "$archivo" | wc -l)
    if [ "$paginas" -ge 2 ]; then ok "120 lines take $paginas pages"; else fail "120 lines on $paginas page(s)"; fi
    check_eq "every line printed, in order" "$(seq -f 'Linea %g' 1 120)" "$(texto_de "$archivo")"
else
    fail "no job for 120 lines"
fi

# A document never ended is dropped when the program ends.
antes=$(trabajos Caja_PS)
probe "$TRABAJO/abandonado" "use=$(indice_de Caja_PS)" "line=Sin terminar"
if ningun_trabajo Caja_PS "$antes"; then ok "a document not ended prints nothing"; else
    fail "a document not ended was printed"
fi

# A size the printer refuses ends the document it was asked in: nothing of it is
# printed, and the next document goes to the printer current by then.
antes=$(trabajos Caja_PS)
antes_copia=$(trabajos Bixolon_Copia)
probe "$TRABAJO/tamano" "use=$(indice_de Caja_PS)" "line=Antes" size=0 \
    "use=$(indice_de Bixolon_Copia)" "line=Despues" end
check_eq "refused size: 380" "fallo 380 El valor de la propiedad no es válido" "$(resultado "$TRABAJO/tamano" size=0)"
if archivo=$(nuevo_trabajo Bixolon_Copia "$antes_copia"); then
    check_eq "refused size: the next document on the printer chosen after it" "Despues" "$(texto_de "$archivo")"
else
    fail "refused size: no document on the printer chosen after it"
fi
if ningun_trabajo Caja_PS "$antes"; then ok "refused size: nothing printed where it was refused"; else
    fail "refused size: a job reached the printer that refused the size"
fi

# --- A queue that rejects jobs ------------------------------------------------------
# The document fails with a number and a description, nothing is printed, and the
# same printing object prints again once the queue accepts jobs.
cupsreject Caja_PS
antes=$(trabajos Caja_PS)
rm -f "$TRABAJO/acepta"
probe "$TRABAJO/rechazo" "use=$(indice_de Caja_PS)" "line=" end say=rechazado "wait=Z:$TRABAJO/acepta" \
    "line=Otra vez" end &
probe_pid=$!
for i in $(seq 1 100); do
    grep -q '^say=rechazado' "$TRABAJO/rechazo" 2>/dev/null && break
    sleep 0.1
done
cupsaccept Caja_PS
touch "$TRABAJO/acepta"
if wait "$probe_pid"; then ok "rejected queue: no crash"; else fail "rejected queue: the probe ended badly"; fi
if resultado "$TRABAJO/rechazo" end | grep -qE '^fallo [1-9][0-9]* [^ ]'; then
    ok "rejected queue: EndDoc fails with $(resultado "$TRABAJO/rechazo" end)"
else
    fail "rejected queue: EndDoc gave [$(resultado "$TRABAJO/rechazo" end)]"
fi
check_eq "accepting again: the next document ends" "ok" "$(grep '^end ' "$TRABAJO/rechazo" | sed -n 2p | cut -d' ' -f2-)"
if archivo=$(nuevo_trabajo Caja_PS "$antes"); then
    check_eq "only the document after the rejection is printed" "Otra vez" "$(texto_de "$archivo")"
else
    fail "no job after the queue accepted again"
fi

# --- No CUPS server ---------------------------------------------------------------------
# libcups in the Wine process takes its server from CUPS_SERVER: nothing listens there.
if CUPS_SERVER=127.0.0.1:1 probe "$TRABAJO/sin-cups" list current "line=" end; then
    ok "no CUPS server: no crash"
else
    fail "no CUPS server: the probe ended badly"
fi
check_eq "no CUPS server: no printers" "ok 0" "$(resultado "$TRABAJO/sin-cups" list)"
check_eq "no CUPS server: no current printer" "fallo 482 No hay ninguna impresora instalada" \
    "$(resultado "$TRABAJO/sin-cups" current)"
check_eq "no CUPS server: printing fails" "fallo 482 No hay ninguna impresora instalada" \
    "$(resultado "$TRABAJO/sin-cups" line=)"
probe "$TRABAJO/con-cups" list
check_eq "CUPS reachable again: the printers are back" "ok $(echo "$esperadas" | wc -l)" \
    "$(resultado "$TRABAJO/con-cups" list)"

# --- A printer removed after the list was read ------------------------------------
antes=$(trabajos Bixolon_Copia)
rm -f "$TRABAJO/borrada"
probe "$TRABAJO/quitada" list say=listada "wait=Z:$TRABAJO/borrada" "use=$(indice_de Bixolon_Copia)" \
    "line=Impresora quitada" end &
probe_pid=$!
for i in $(seq 1 100); do
    grep -q '^say=listada' "$TRABAJO/quitada" 2>/dev/null && break
    sleep 0.1
done
lpadmin -x Bixolon_Copia
touch "$TRABAJO/borrada"
if wait "$probe_pid"; then ok "removed printer: no crash"; else fail "removed printer: the probe ended badly"; fi
fallos=$(grep -E '^(use|line|end)[^ ]* fallo [1-9][0-9]* [^ ]' "$TRABAJO/quitada")
if [ -n "$fallos" ]; then ok "removed printer: $fallos"; else
    fail "removed printer: no failure: $(tr '\n' ';' <"$TRABAJO/quitada")"
fi
if ningun_trabajo Bixolon_Copia "$antes"; then ok "removed printer: nothing printed"; else
    fail "removed printer: a job was captured"
fi
