#!/usr/bin/env bash
# The drawer kick on real ports under Wine: LPT1: mapped to a file and to a
# FIFO, plain file paths, and the failures a cashier can meet.
source "$(dirname "$0")/lib.sh"
: "${CAJON_KICK_DRIVER:?}"
e2e_begin port
work=$(mktemp -d)
trap 'rm -rf "$work"; e2e_end' EXIT
cajon=$E2E_DIR

kick() { e2e_wine_out "$CAJON_KICK_DRIVER" "$@"; }

# A reader on the FIFO that sees every kick: fd 7 keeps a writer open, so the
# reader gets no end of file when one kick closes the port.
start_reader() {
    : >"$work/fifo.out"
    exec 7<>"$work/lpt1.fifo"
    cat "$work/lpt1.fifo" >"$work/fifo.out" 7>&- &
    reader=$!
}
stop_reader() {
    sleep 0.2
    exec 7>&-
    wait "$reader" 2>/dev/null
}
hexof() { xxd -p "$1" | tr -d '\n'; }

# LPT1: to a file, the four write modes, byte for byte.
e2e_map_lpt1 "$work/lpt1.bin"
declare -A modes=(
    [11]=1b70000a64 [10]=1b70000a640d0a [01]=1b70000a64 [00]=1b0d0a700d0a000d0a0a0d0a640d0a
)
for m in 11 10 01 00; do
    : >"$work/lpt1.bin"
    out=$(kick "27 112 0 10 100" "LPT1:" "${m:0:1}" "${m:1:1}")
    check_eq "mode todojunto=${m:0:1} puntoycoma=${m:1:1}: no message" "ok" "$out"
    check_eq "mode todojunto=${m:0:1} puntoycoma=${m:1:1}: bytes" "${modes[$m]}" "$(hexof "$work/lpt1.bin")"
done

# LPT1: to a FIFO, the reader started first: every kick arrives whole.
mkfifo "$work/lpt1.fifo"
start_reader
e2e_map_lpt1 "$work/lpt1.fifo"
check_eq "fifo: three kicks" "ok" "$(kick "27 112 0 10 100" "LPT1:" 1 1 3 | head -1)"
stop_reader
check_eq "fifo: bytes of three kicks" "1b70000a641b70000a641b70000a64" "$(hexof "$work/fifo.out")"

# A bad item stops the kick after what its mode had already written.
e2e_map_lpt1 "$work/lpt1.bin"
: >"$work/lpt1.bin"
check_eq "empty item: message" 'stop: 13.No coinciden los tipos\r\nPuerto:LPT1:\r\nLínea: 0' \
    "$(kick "27 112  0 10 100" "LPT1:" 0 0)"
check_eq "empty item: bytes before it" "1b0d0a700d0a" "$(hexof "$work/lpt1.bin")"
: >"$work/lpt1.bin"
check_eq "item 256" 'stop: 5.Llamada a procedimiento o argumento no válidos\r\nPuerto:LPT1:\r\nLínea: 0' \
    "$(kick "27 256" "LPT1:" 1 1)"
check_eq "item 256: whole-sequence mode wrote nothing" "" "$(hexof "$work/lpt1.bin")"
check_eq "eleven nines" 'stop: 6.Desbordamiento\r\nPuerto:LPT1:\r\nLínea: 0' "$(kick "99999999999" "LPT1:" 1 1)"
printf '%100000s' '' >"$cajon/blancos.txt"
check_eq "100000 blanks" 'stop: 13.No coinciden los tipos\r\nPuerto:LPT1:\r\nLínea: 0' \
    "$(kick '@C:\e2e\port\blancos.txt' "LPT1:" 1 1)"
check_eq "thousands of digits" 'stop: 6.Desbordamiento\r\nPuerto:LPT1:\r\nLínea: 0' \
    "$(kick "$(printf '9%.0s' $(seq 1 3000))" "LPT1:" 0 1)"

# Ports that cannot be opened: the system's number and a Spanish description.
check_eq "unmapped LPT9:" 'stop: 2.No se encuentra el dispositivo o el archivo\r\nPuerto:LPT9:\r\nLínea: 0' \
    "$(kick "27 112 0 10 100" "LPT9:" 1 1)"
check_eq "missing folder" \
    'stop: 3.No se encuentra la ruta de acceso\r\nPuerto:C:\no\existe\cajon.bin\r\nLínea: 0' \
    "$(kick "27 112 0 10 100" 'C:\no\existe\cajon.bin' 1 1)"
out=$(kick "27 112 0 10 100" "" 1 1)
if [[ "$out" =~ ^stop:\ [0-9]+\.[^\\]+\\r\\nPuerto:\\r\\nLínea:\ 0$ ]]; then ok "empty port name: $out"; else
    fail "empty port name: $out"; fi
long=$(printf 'X%.0s' $(seq 1 1000))
out=$(kick "27" "C:\\$long" 1 1)
if [[ "$out" =~ ^stop:\ [0-9]+\. ]]; then ok "1000-character name: ${out:0:60}"; else fail "1000-character name: ${out:0:80}"; fi

# A plain file path is created, or emptied when it holds more.
printf 'contenido anterior mucho mas largo' >"$cajon/cajon.bin"
check_eq "file path: no message" "ok" "$(kick "27 112 0 10 100" 'C:\e2e\port\cajon.bin' 1 1)"
check_eq "file path: emptied, then the kick" "1b70000a64" "$(hexof "$cajon/cajon.bin")"
rm -f "$cajon/nuevo.bin"
kick "0 255" 'C:\e2e\port\nuevo.bin' 1 0 >/dev/null
check_eq "file path: created" "00ff0d0a" "$(hexof "$cajon/nuevo.bin")"

# The time of one kick, from call to port closed, for the record: 1000 kicks
# into the FIFO, every byte of them arriving.
start_reader
e2e_map_lpt1 "$work/lpt1.fifo"
timing=$(kick "27 112 0 10 100" "LPT1:" 1 1 1000 | tail -1)
echo "one kick on LPT1: (FIFO): $timing"
stop_reader
check_eq "1000 kicks, all bytes" "5000" "$(stat -c %s "$work/fifo.out")"
