# The jobs that the CUPS capture queues of the tests' own server received
# (tests/e2e/cups/): sourced by the printing tests, after lib.sh.
#   trabajos QUEUE                   the job files of a queue, oldest first
#   nuevo_trabajo QUEUE BEFORE [T]   the path of the first job not in BEFORE,
#                                    waiting for it up to T tenths of a second
#                                    (10 s by default)
#   texto_de JOB                     the text of a PostScript job, one line per
#                                    printed line
CAPTURAS=$CAJON_CUPS_DIR/capturas

trabajos() { find "$CAPTURAS/$1" -maxdepth 1 -name '[0-9]*.prn' -printf '%f\n' 2>/dev/null | sort -n; }

nuevo_trabajo() {
    local cola=$1 antes=$2 i nuevo
    for i in $(seq 1 "${3:-100}"); do
        nuevo=$(trabajos "$cola" | grep -vxF -f <(echo "$antes") | head -1)
        if [ -n "$nuevo" ]; then
            echo "$CAPTURAS/$cola/$nuevo"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# txtwrite ends its lines with CR LF and pads them with blanks.
texto_de() { gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite -sOutputFile=- "$1" 2>/dev/null |
    tr -d '\r' | sed -E 's/^ +//; s/ +$//' | grep -v '^$'; }
