# The main window's design, for the end-to-end tests: places in twips and the
# texts of its child windows, by control id (100 + tab index; 120 the picture).
# Sourced by the tests that check the layout at a given DPI.

MAIN="Apertura cajón"
ID_COMMAND=100 ID_PUERTO=101 ID_ASCII=102 ID_TODOJUNTO=103 ID_PUNTOYCOMA=104
ID_CHECKPRINTER=105 ID_TXTPRINTER=106 ID_LBLINFO=107 ID_CMDEND=108 ID_COMMAND1=109
ID_LBLINI=110 ID_SELECT=111 ID_COMENTARIO=112 ID_IMAGEN=120

declare -A DISENO_TWIPS=(
    [100]="150 4950 3915 915"   # Command "F12"
    [101]="570 3810 855 315"    # txtPuerto
    [102]="1440 3810 2235 285"  # txtAscii
    [103]="630 4140 3135 225"   # CheckTodoJunto
    [104]="600 4380 1815 225"   # CheckConPuntoyComa
    [105]="60 690 4125 435"     # CheckPrinter
    [106]="630 1770 3105 1395"  # txtPrinter
    [107]="630 90 9255 315"     # lblInfo
    [108]="120 6300 1575 1035"  # cmdEnd
    [109]="2490 6330 1575 1005" # Command1
    [110]="180 330 9255 315"    # lblIni
    [111]="60 1170 4155 405"    # cmdSelectPrinter
    [112]="90 7440 9915 495"    # LabelComentario
    [120]="4200 570 5910 6870"  # ImageInfo
)
declare -A DISENO_CLASE=(
    [100]=Button [101]=Edit [102]=Edit [103]=Button [104]=Button [105]=Button [106]=Edit
    [107]=Static [108]=Button [109]=Button [110]=Static [111]=Button [112]=Static [120]=Static
)
# Texts that load leaves as designed.
declare -A DISENO_TEXTO=(
    [100]="F12"
    [103]="Secuenda completa en un sólo paso"
    [104]="Con ; al imprimir"
    [107]="Recuerde: BIXOLON PRINTER CONFIG (Parám. KovraBloqueado bloquea INI)"
    [108]="Salir"
    [109]="Cerrar (Minimizar)"
    [111]="Seleccionar impresora"
    [112]="Truco: Puede crear 2 impresoras iguales, con distinta opción de corte / apertura cajón y usar diferente para abrir cajón o impresión"
)

# Twips to pixels at a DPI, to the nearest pixel (halves up).
twips_px() { echo $((($1 * $2 + 720) / 1440)); }

# "l,t,w,h" in pixels of a design place.
diseno_rect() {
    local dpi=$1 l t w h
    read -r l t w h <<<"$2"
    echo "$(twips_px "$l" "$dpi"),$(twips_px "$t" "$dpi"),$(twips_px "$w" "$dpi"),$(twips_px "$h" "$dpi")"
}

# Checks the client size, the centring and every child's place at a DPI.
check_diseno() {
    local dpi=$1 controls line id
    controls=$(e2e_helper controls "$MAIN")
    check_eq "client area at $dpi dpi" \
        "client=$(twips_px 10215 "$dpi"),$(twips_px 7920 "$dpi")" "$(head -1 <<<"$controls" | cut -d' ' -f1)"
    for id in "${!DISENO_TWIPS[@]}"; do
        line=$(grep -E "^id=$id " <<<"$controls")
        check_eq "id $id at its place at $dpi dpi" "$(diseno_rect "$dpi" "${DISENO_TWIPS[$id]}")" \
            "$(e2e_field rect <<<"$line")"
        check_eq "id $id class" "${DISENO_CLASE[$id]}" "$(e2e_field class <<<"$line")"
    done
    check_eq "fourteen child windows" 14 "$(grep -c '^id=' <<<"$controls")"
    # Centred on the screen (the frame's size is the system's business).
    local geo sw sh x y w h
    geo=$(xdotool getdisplaygeometry)
    sw=${geo% *} sh=${geo#* }
    read -r x y w h < <(e2e_helper windows | grep "caption=$MAIN\$" | head -1 |
        sed -E 's/.*rect=([-0-9]+),([-0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3 \4/')
    check_eq "window centred at $dpi dpi" "$(((sw - w) / 2)),$(((sh - h) / 2))" "$x,$y"
}

# The texts that load leaves as designed, Spanish letters included.
check_textos() {
    local id
    for id in "${!DISENO_TEXTO[@]}"; do
        check_eq "text of id $id" "${DISENO_TEXTO[$id]}" "$(e2e_control_text "$MAIN" "$id")"
    done
}

# Until the main window is shown, answers what start-up puts before it: the
# printer chooser (with `$1`, a function run on it first, then its close
# box) and a failure box (OK). Fails after 30 s.
answer_startup() {
    local al_elegir=${1:-} windows i
    for i in $(seq 1 150); do
        windows=$(e2e_helper windows)
        if grep -q "visible=1 .*caption=$MAIN\$" <<<"$windows"; then return 0; fi
        if grep -q "frmPrinters visible=1 .*caption=Form1\$" <<<"$windows"; then
            if [ -n "$al_elegir" ]; then
                "$al_elegir"
                al_elegir=""
            fi
            e2e_helper post Form1 0x0112 0xF060 0 >/dev/null  # WM_SYSCOMMAND SC_CLOSE
        elif grep -q "caption=AbrirCajon\$" <<<"$windows"; then
            echo "start-up box: $(e2e_box_text AbrirCajon)"
            e2e_helper command AbrirCajon 2 >/dev/null
        fi
        sleep 0.2
    done
    return 1
}

# The installed printers in the order Windows lists them under Wine.
cups_printers() { lpstat -e 2>/dev/null | sort -f; }
cups_default() { lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p'; }

# With the chooser's list focused (X window $1), picks the row that reads $2,
# never a row by its place: Home, then Down to it. Fails when none reads so.
elegir_fila() {
    local fila
    fila=$(e2e_helper list Form1 101 | tail -n +2 | grep -nxF -m1 "$2" | cut -d: -f1)
    [ -n "$fila" ] || return 1
    # shellcheck disable=SC2046  # one key name per row
    xdotool key --window "$1" Home $(for _ in $(seq 2 "$fila"); do echo Down; done)
    e2e_wait 5 eval 'e2e_helper list Form1 101 | head -1 | grep -q " selected=$((fila - 1))\$"'
}

# Clicks a control of the main window where a user would: its centre, or `$2`
# pixels from its left edge.
click_control() {
    local controls origin rect ox oy l t w h
    controls=$(e2e_helper controls "$MAIN")
    origin=$(head -1 <<<"$controls" | e2e_field origin)
    rect=$(grep -E "^id=$1 " <<<"$controls" | e2e_field rect)
    IFS=, read -r ox oy <<<"$origin"
    IFS=, read -r l t w h <<<"$rect"
    xdotool mousemove $((ox + l + ${2:-w / 2})) $((oy + t + h / 2)) click 1
}

# The main window's state as "visible=V iconic=I", and waiting for one.
state() { e2e_helper windows | grep "caption=$MAIN\$" | sed -E 's/.*visible=([01]) iconic=([01]).*/visible=\1 iconic=\2/'; }
wait_state() {
    local i
    for i in $(seq 1 30); do
        [ "$(state)" == "$1" ] && break
        sleep 0.1
    done
    state
}
