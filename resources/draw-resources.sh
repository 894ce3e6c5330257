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
# are shown) and the alpha is cut at 40 %: smooth on grey buttons, and only a
# faint grey fringe on other backgrounds (the dark outlines hide most of it).
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

###############################################################################
# infocajon.jpg: mock-up of a printer driver's "Paper Cut / Drawer" page
###############################################################################
# The program shows this picture to tell the user which two driver settings to
# change (drawer #1 kick at job start, paper cut). It is a drawing, not a
# screenshot, with a made-up driver name. Widgets are emitted as MVG by the
# helpers below; all 1-px edges are no-stroke filled rectangles, which
# ImageMagick fills pixel-exactly, so the 3D bevels stay crisp like real ones.

mvg=$work/dialog.mvg
: >"$mvg"
emit() { printf '%s\n' "$*" >>"$mvg"; }

# Classic (Windows 2000 "Standard") system colours.
hilite='#FFFFFF' shadow='#808080' dkshadow='#404040'

box()  { emit "fill '$5' rectangle $1,$2 $3,$4"; }          # x1 y1 x2 y2 colour
hline() { box "$1" "$3" "$2" "$3" "$4"; }                    # x1 x2 y colour
vline() { box "$3" "$1" "$3" "$2" "$4"; }                    # y1 y2 x colour

# Two-pixel bevel: outer top-left, outer bottom-right, inner tl, inner br.
bevel() {
    local x1=$1 y1=$2 x2=$3 y2=$4
    hline "$x1" "$x2" "$y1" "$5"; vline "$y1" "$y2" "$x1" "$5"
    hline "$x1" "$x2" "$y2" "$6"; vline "$y1" "$y2" "$x2" "$6"
    hline $((x1+1)) $((x2-1)) $((y1+1)) "$7"; vline $((y1+1)) $((y2-1)) $((x1+1)) "$7"
    hline $((x1+1)) $((x2-1)) $((y2-1)) "$8"; vline $((y1+1)) $((y2-1)) $((x2-1)) "$8"
}
raised() { bevel "$@" "$face" "$dkshadow" "$hilite" "$shadow"; }
sunken() { bevel "$@" "$shadow" "$hilite" "$dkshadow" "$face"; }

# text X BASELINE STRING [font] [colour] [anchor]
text() {
    local t=${3//\"/\\\"}
    emit "font '${4:-$sans}' fill '${5:-#000000}' text-anchor ${6:-start} text $1,$2 \"$t\""
}
width() { convert -font "${2:-$sans}" -pointsize 11 label:"$1" -format %w info:; }

button() {  # x1 y1 x2 y2 label [default]
    local x1=$1 y1=$2 x2=$3 y2=$4
    box "$x1" "$y1" "$x2" "$y2" "$face"
    if [[ ${6:-} == default ]]; then
        # the default button: a 1-px black frame, the usual bevel inside it
        emit "fill none stroke '#000000' stroke-width 1 rectangle $x1.5,$y1.5 $x2.5,$y2.5 stroke none"
        x1=$((x1+1)) y1=$((y1+1)) x2=$((x2-1)) y2=$((y2-1))
    fi
    raised "$x1" "$y1" "$x2" "$y2"
    text $(((x1+x2)/2)) $(((y1+y2)/2+4)) "$5" "$sans" '#000000' middle
}

edit() {  # x1 y1 x2 y2 text
    sunken "$1" "$2" "$3" "$4"
    box $(($1+2)) $(($2+2)) $(($3-2)) $(($4-2)) "$hilite"
    text $(($1+5)) $(($4-6)) "$5"
}

combo() {  # x1 y1 x2 y2 text
    edit "$@"
    local bx=$(($3-17))
    box "$bx" $(($2+2)) $(($3-2)) $(($4-2)) "$face"
    raised "$bx" $(($2+2)) $(($3-2)) $(($4-2))
    local cx=$((bx+8)) cy=$((($2+$4)/2+1))
    emit "fill '#000000' polygon $((cx-4)),$((cy-2)) $((cx+4)),$((cy-2)) $cx,$((cy+2))"
}

checkbox() {  # x y(top) label checked(0/1)
    local x=$1 y=$2
    sunken "$x" "$y" $((x+12)) $((y+12))
    box $((x+2)) $((y+2)) $((x+10)) $((y+10)) "$hilite"
    if [[ $4 == 1 ]]; then
        emit "fill none stroke '#000000' stroke-width 2 stroke-linecap square polyline $((x+3)),$((y+6)) $((x+5)),$((y+8)) $((x+9)),$((y+4)) stroke none"
    fi
    text $((x+18)) $((y+10)) "$3"
}

radio() {  # x y(top) label selected(0/1)
    local cx=$(($1+6)) cy=$(($2+6))
    emit "fill '$hilite' stroke none circle $cx,$cy $cx,$((cy+6))"
    emit "fill none stroke-width 1 stroke '$shadow' ellipse $cx,$cy 5.5,5.5 135,315"
    emit "stroke '$hilite' ellipse $cx,$cy 5.5,5.5 315,495"
    emit "stroke '$dkshadow' ellipse $cx,$cy 4.5,4.5 135,315"
    emit "stroke '$face' ellipse $cx,$cy 4.5,4.5 315,495 stroke none"
    [[ $4 == 1 ]] && emit "fill '#000000' circle $cx,$cy $cx,$((cy+2))"
    text $(($1+18)) $(($2+10)) "$3"
}

groupbox() {  # x1 y1 x2 y2 label: etched frame with the label cut into it
    local x1=$1 y1=$2 x2=$3 y2=$4 w
    emit "fill none stroke-width 1 stroke '$shadow' rectangle $x1.5,$y1.5 $((x2-1)).5,$((y2-1)).5"
    emit "stroke '$hilite' polyline $((x1+1)).5,$((y2-1)) $((x1+1)).5,$((y1+1)).5 $((x2-1)),$((y1+1)).5"
    emit "polyline $x1,$y2.5 $x2.5,$y2.5 $x2.5,$y1 stroke none"
    w=$(width "$5")
    box $((x1+6)) "$y1" $((x1+10+w)) $((y1+1)) "$face"
    text $((x1+8)) $((y1+4)) "$5"
}

# ring CX CY HALF-W HALF-H SQUARENESS SEED: a red "marker pen" loop. A
# superellipse (exponent 1 = ellipse, smaller = squarer corners, needed so a
# ring round a whole group box clears its caption), slightly tilted, with a
# wobbling radius and a spiral overshoot so the ends cross like a real stroke.
ring() {
    local pts
    pts=$(awk -v cx="$1" -v cy="$2" -v a="$3" -v b="$4" -v e="$5" -v seed="$6" 'BEGIN {
        pi = atan2(0, -1); tilt = -0.012 * (seed % 2 ? 1 : -1)
        for (i = 0; i <= 220; i++) {
            t = -0.15 + (2 * pi + 0.45) * i / 220
            s = 0.975 + 0.05 * i / 220 + 0.008 * sin(3 * t + seed) + 0.005 * sin(7 * t + 2 * seed)
            c = cos(t); n = sin(t)
            x = a * s * (c < 0 ? -1 : 1) * (c < 0 ? -c : c) ^ e
            y = b * s * (n < 0 ? -1 : 1) * (n < 0 ? -n : n) ^ e
            printf "%.2f,%.2f ", cx + x * cos(tilt) - y * sin(tilt), cy + x * sin(tilt) + y * cos(tilt)
        }
    }')
    emit "fill none stroke '#E0161B' stroke-width 3 stroke-linecap round stroke-linejoin round polyline $pts stroke none"
}

W=394 H=458
emit "stroke none font-size 11"

# Window frame and caption (the caption gradient is composited underneath).
raised 0 0 $((W-1)) $((H-1))
text 26 17 "Propiedades de POS-80 Receipt Printer" "$bold" '#FFFFFF'
for b in 352 370; do
    button "$b" 6 $((b+15)) 19 ""
done
text 359 17 "?" "$bold"
emit "fill none stroke '#000000' stroke-width 1.6 line 374,9.5 381,15.5 line 381,9.5 374,15.5 stroke none"

# Tab strip: the selected tab is taller and opens into the page below it.
panel_top=52
raised 8 $panel_top $((W-9)) 413
tx=10 sel_x1=0 sel_x2=0
for tab in "General" "Paper Cut / Drawer" "Advanced"; do
    w=$(( $(width "$tab") + 16 ))
    if [[ $tab == "Paper Cut / Drawer" ]]; then
        sel_x1=$((tx-2)) sel_x2=$((tx+w+1))
        tx=$((tx+w))
        continue
    fi
    hline $((tx+2)) $((tx+w-3)) 32 "$hilite"; vline 34 $((panel_top-1)) "$tx" "$hilite"
    box $((tx+1)) 33 $((tx+1)) 33 "$hilite"
    vline 33 $((panel_top-1)) $((tx+w-2)) "$shadow"; vline 34 $((panel_top-1)) $((tx+w-1)) "$dkshadow"
    text $((tx+8)) 46 "$tab"
    tx=$((tx+w))
done
box "$sel_x1" 29 "$sel_x2" $((panel_top+1)) "$face"
hline $((sel_x1+2)) $((sel_x2-3)) 30 "$hilite"; vline 32 $((panel_top)) "$sel_x1" "$hilite"
box $((sel_x1+1)) 31 $((sel_x1+1)) 31 "$hilite"
vline 31 $((panel_top)) $((sel_x2-1)) "$shadow"; vline 32 $((panel_top)) "$sel_x2" "$dkshadow"
text $((sel_x1+10)) 45 "Paper Cut / Drawer"
# focus rectangle around the selected tab's caption
emit "fill none stroke '#000000' stroke-width 1 stroke-dasharray 1,1 rectangle $((sel_x1+6)).5,33.5 $((sel_x2-5)).5,48.5 stroke-dasharray none stroke none"

# Page header: printer picture (pasted later at 20,58) and driver name.
text 62 70 "POS-80 Receipt Printer Driver" "$bold"
text 62 86 "Version 2.10  -  80 mm thermal, USB / Serial" "$sans" '#303030'
hline 18 375 96 "$shadow"; hline 18 375 97 "$hilite"

# Paper Cut group.
groupbox 18 112 375 222 "Paper Cut"
radio 30 126 "No cut" 0
radio 30 146 "Partial cut" 1
radio 30 166 "Full cut" 0
checkbox 190 126 "Cut at end of document" 1
checkbox 190 146 "Cut at end of each page" 0
checkbox 190 166 "Feed before cut" 1
text 30 203 "Feed before cut:"
edit 130 189 170 209 "4"
text 177 203 "lines (0 - 10)"

# Cash Drawer group.
groupbox 18 242 375 378 "Cash Drawer"
checkbox 30 260 "Drawer #1:" 1
combo 120 255 362 275 "Open at start of document"
checkbox 30 290 "Drawer #2:" 0
combo 120 285 362 305 "Don't open"
text 30 333 "Pulse on:"
edit 92 319 136 339 "100"
text 141 333 "ms"
text 190 333 "Pulse off:"
edit 254 319 298 339 "200"
text 303 333 "ms"
button 30 349 150 371 "Open drawer now"
text 164 364 "Connector: pin 2 (drawer #1)" "$sans" '#303030'

text 20 400 "Settings apply to every job sent to this printer." "$sans" '#303030'

# Dialog buttons.
button 147 423 221 445 "OK" default
button 229 423 303 445 "Cancel"
button 311 423 385 445 "Apply"

# The two settings the user must change.
ring 196.5 165 186 68 0.25 1
ring 196 265.5 183 19 0.45 2

# Compose: background, caption gradient, the MVG, then the header picture.
# The MVG goes in as a string: Debian's ImageMagick policy forbids "@file".
# The header reuses the program icon's master so picture and icon match.
# 4:4:4 chroma keeps the thin red rings and coloured text from bleeding;
# baseline JFIF at 96 dpi is what the program's picture box loads reliably.
# Quality 75 looks the same at this size as 90 did and is 19 KB smaller, in a
# release that must stay within 640 KB.
convert -size ${W}x${H} "xc:$face" \
    \( -size 18x386 gradient:'#A6CAF0-#0A246A' -rotate 90 \) -geometry +4+4 -composite \
    -draw "$(<"$mvg")" \
    \( "$work/abrircajon-master.png" -filter Lanczos -resize 32x32 \) -geometry +20+58 -composite \
    \( "$work/abrircajon-master.png" -filter Lanczos -resize 16x16 \) -geometry +6+5 -composite \
    -alpha off -colorspace sRGB -strip -interlace None \
    -sampling-factor 4:4:4 -quality 75 \
    -density 96 -units PixelsPerInch "JPEG:$here/infocajon.jpg"
