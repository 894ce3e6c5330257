#!/usr/bin/env bash
# On a Windows whose code page is not Windows-1252 (Central European, 1250
# here), from a folder whose name holds letters of that code page: the
# parameter file is found, read and written, its values in the system's own
# code page, and lblIni shows the path that is used. Wine takes the code page
# from the Unix locale it starts with, and can only start a program from a
# folder with such a name when that locale exists: the test makes it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/diseno_principal.sh"
LOCALE=pl_PL.UTF-8

locale_presente() { locale -a 2>/dev/null | grep -qix 'pl_PL.utf8'; }
if ! locale_presente; then
    # Debian's `locales`: enable the line and generate it (one writer at a time).
    if [ -f /etc/locale.gen ] && command -v locale-gen >/dev/null; then
        flock /tmp/abrircajon-locale.lock bash -c "
            locale -a 2>/dev/null | grep -qix 'pl_PL.utf8' && exit 0
            sed -i 's/^# *\\($LOCALE UTF-8\\)/\\1/' /etc/locale.gen
            grep -qx '$LOCALE UTF-8' /etc/locale.gen || echo '$LOCALE UTF-8' >>/etc/locale.gen
            locale-gen >/dev/null"
    fi
    locale_presente || { echo "FAIL: the locale $LOCALE is missing and could not be made (package locales)"; exit 1; }
fi

e2e_begin code_page
CARPETA="$E2E_DIR/Łódź"
mkdir -p "$CARPETA/INIS"
mv "$E2E_DIR/AbrirCajon.exe" "$CARPETA/"
rmdir "$E2E_DIR/INIS"
E2E_DIR=$CARPETA
ini_1250() { iconv -f UTF-8 -t CP1250 | sed 's/$/\r/' >"$E2E_DIR/INIS/PARAMETROS.INI"; }
valor_1250() { iconv -f CP1250 -t UTF-8 <"$E2E_DIR/INIS/PARAMETROS.INI" | tr -d '\r' | sed -n "s/^$1=//p"; }
ini_1250 <<EOF
[Parametros]
KovraPuerto=\\\\kasa\\drukarka_żółć
KovraTipo=0
PrinterDeviceName=$(cups_default)
AC_BIXOLON_Char=Zażółć
EOF

export LC_ALL=$LOCALE
e2e_start
unset LC_ALL
answer_startup || fail "main window not shown"
win=$(e2e_wait_window "$MAIN")
sleep 0.5
check_eq "lblIni: the path used" 'C:\e2e\code_page\Łódź\INIS\PARAMETROS.INI' "$(e2e_control_text "$MAIN" $ID_LBLINI)"
check_eq "txtPuerto from the file" '\\kasa\drukarka_żółć' "$(e2e_control_text "$MAIN" $ID_PUERTO)"
check_eq "CheckPrinter from the file" 0 "$(e2e_control "$MAIN" $ID_CHECKPRINTER | e2e_field checked)"
check_eq "txtPrinter: the control text in the system's code page" \
    'Printer.FontName "FontControl"\r\nPrinter.Print "Zażółć"\r\nPrinter.EndDoc ' \
    "$(e2e_control_text "$MAIN" $ID_TXTPRINTER)"

# Writes reach the same file, in the same code page.
click_control $ID_PUERTO
xdotool key --window "$win" End
xdotool type --window "$win" "2"
click_control $ID_ASCII
check_until "KovraPuerto written, in code page 1250" '\\kasa\drukarka_żółć2' valor_1250 KovraPuerto
click_control $ID_CHECKPRINTER
check_until "KovraTipo written" 1 valor_1250 KovraTipo
