#!/usr/bin/env bash
# Draws every picture resource of abrircajon from scratch with ImageMagick 6,
# so the binaries in resources/ can be rebuilt and reviewed as text: nothing
# here is copied from any vendor. Re-running overwrites the same four files.
#
#   abrircajon.ico  program/window icon (receipt printer on a cash drawer)
#   iconoA.ico      "F12" open-drawer button (printer, drawer slid open)
#   iconoB.ico      "Salir" / "Cerrar (Minimizar)" buttons (left arrow, blue disc)
#   infocajon.jpg   mock-up of a printer driver property page, 394x458
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fonts=/usr/share/fonts/truetype/dejavu
sans=$fonts/DejaVuSans.ttf
bold=$fonts/DejaVuSans-Bold.ttf

# Classic Windows "button face". Icons are matted against it (see make_ico)
# and the dialog mock-up uses it as its background.
face='#D4D0C8'

###############################################################################
# Icons
###############################################################################
# Each icon is drawn once as a 256x256 vector master and scaled down, instead
# of hand-placing pixels per size: one drawing keeps the sizes consistent.

# make_ico MASTER OUT SIZE...
# Windows' LoadImage (and the resource compiler) want classic BMP entries, and
# the program's original icon was 256-colour, so every size is quantised to an
# 8-bit palette with a 1-bit AND mask. A 1-bit mask cannot hold soft edges, so
# the anti-aliased fringe is pre-blended into button face grey (where the icons
# are shown) and the alpha is cut at 40 %, which keeps outlines from looking
# jagged on grey buttons without a halo on the white/blue title bar.
make_ico() {
    local master=$1 out=$2
    shift 2
    local parts=() s
    for s in "$@"; do
        convert "$master" -filter Lanczos -resize "${s}x${s}" \
            \( -clone 0 -background "$face" -flatten \) \
            \( -clone 0 -alpha extract -threshold 40% \) \
            -delete 0 -alpha off -compose CopyOpacity -composite \
            "PNG32:$work/$(basename "$out" .ico)-$s.png"
        parts+=("$work/$(basename "$out" .ico)-$s.png")
    done
    # -colors inside the writing command keeps the images PseudoClass, which
    # is what makes the ICO coder emit 8-bit palette BMP entries, not 32-bit.
    # No dithering: dots look like dirt at 16x16.
    convert "${parts[@]}" +dither -colors 256 "$out"
}

# --- abrircajon.ico: receipt printer standing on a closed cash drawer --------
# Three-quarter view with a light top, mid front and dark side so it still
# reads as a box at 16x16; the paper slip is the recognisable part.
convert -size 256x256 xc:none -draw "
  stroke-linejoin round
  stroke '#1b1d21' stroke-width 6
  fill '#9aa0aa' polygon 18,182 50,154 242,154 210,182
  fill '#7d838d' polygon 210,182 242,154 242,218 210,246
  fill '#b9bec6' rectangle 18,182 210,246
  stroke-width 4
  fill '#2a2d33' rectangle 84,206 144,218
  fill '#d8b23a' circle 178,212 178,219
  stroke-width 6
  fill '#55595f' polygon 44,116 72,92 220,92 192,116
  fill '#26282c' polygon 192,116 220,92 220,150 192,174
  fill '#3d4046' rectangle 44,116 192,174
  stroke none fill '#5c6068' rectangle 50,122 186,130
  fill '#35e04a' circle 170,156 170,163
  stroke '#0d0e10' stroke-width 6 line 70,104 186,104
  stroke '#1b1d21' stroke-width 5
  fill '#ffffff' polygon 90,104 90,22 101,12 112,22 123,12 134,22 145,12 156,22 167,12 178,22 178,104
  stroke none fill '#8a8f98'
  rectangle 102,38 166,44
  rectangle 102,54 156,60
  rectangle 102,70 166,76
  rectangle 120,86 166,92
" "$work/abrircajon-master.png"
make_ico "$work/abrircajon-master.png" "$here/abrircajon.ico" 16 32 48

# --- iconoA.ico: printer with its drawer pulled open, money inside ----------
# Drawn front-on (unlike the program icon) and with the open tray and green
# banknotes dominating, so the F12 button says "open the drawer", not "print".
convert -size 256x256 xc:none -draw "
  stroke-linejoin round
  stroke '#1b1d21' stroke-width 6
  fill '#ffffff' polygon 96,80 96,18 106,8 116,18 126,8 136,18 146,8 156,18 166,8 160,18 160,80
  stroke none fill '#8a8f98'
  rectangle 106,30 150,35
  rectangle 106,44 144,49
  rectangle 106,58 150,63
  stroke '#1b1d21' stroke-width 6
  fill '#e6e2d6' roundrectangle 56,64 200,134 10,10
  stroke none fill '#f7f5ef' rectangle 62,70 194,78
  stroke '#0d0e10' stroke-width 6 line 84,72 172,72
  stroke none fill '#35e04a' circle 182,118 182,125
  stroke '#1b1d21' stroke-width 6
  fill '#3d4046' rectangle 26,134 230,172
  fill '#2a2d33' polygon 26,172 230,172 250,222 6,222
  stroke '#1b1d21' stroke-width 3
  fill '#3fae4a' polygon 40,182 88,182 90,212 34,212
  fill '#3fae4a' polygon 98,182 146,182 148,212 94,212
  fill '#3fae4a' polygon 156,182 204,182 210,212 154,212
  stroke none fill '#8fdc93'
  rectangle 50,192 78,196
  rectangle 108,192 136,196
  rectangle 166,192 196,196
  stroke '#7a5a00' stroke-width 3 fill '#f2c230'
  circle 214,196 214,206
  circle 226,210 226,219
  stroke '#1b1d21' stroke-width 6
  fill '#6b707a' rectangle 4,222 252,250
  fill '#1b1d21' rectangle 100,232 156,240
" "$work/iconoA-master.png"
make_ico "$work/iconoA-master.png" "$here/iconoA.ico" 16 32

# --- iconoB.ico: white left arrow on a blue disc ------------------------------
# A dark rim keeps the disc edge crisp after the 1-bit mask; the pale upper
# crescent gives it the classic glossy-button look. Outside the disc is
# transparent.
convert -size 256x256 xc:none -draw "
  stroke '#0a2f78' stroke-width 10 fill '#1f5fd0' circle 128,128 128,10
  stroke none fill '#4f8cf0' ellipse 128,86 88,62 180,360
  fill '#2f6fe0' ellipse 128,150 100,80 0,180
  stroke-linejoin round stroke '#0a2f78' stroke-width 6
  fill '#ffffff' polygon 40,128 122,50 122,96 212,96 212,160 122,160 122,206
" "$work/iconoB-master.png"
make_ico "$work/iconoB-master.png" "$here/iconoB.ico" 16 32
