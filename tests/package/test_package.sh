#!/usr/bin/env bash
# The release packages, as a shop and its IT would use them:
#   packages   scripts/package.sh: names, the zip's contents, LEAME.txt in
#              Windows-1252 with CRLF, installer stubs, the MSIs' platforms and
#              UpgradeCode, the policy templates beside them, "unsigned" said
#              and true
#   signing    with a throw-away self-signed certificate every exe is signed by
#              it; a wrong password fails the script and leaves no packages
#   install    for each installer this host can run (x64 everywhere, the 32-bit
#              one where the host runs 32-bit code), in a fresh Wine prefix of
#              its own, run unelevated as the till's user: silent install (files,
#              shortcut, Run value, Uninstall key, signed exe and uninstaller),
#              the program started from the installed folder shows its window
#              and saves in its INIS; a silent install of the next version
#              over the running copy leaves that version running and
#              PARAMETROS.INI byte-identical; a silent uninstall removes all
#              but INIS (settings and record of openings);
#              an upgrade into another folder with /D= ends the copy running
#              from the first and carries its PARAMETROS.INI over
#   pages      (x64) on Windows Vista the installer refuses to install (exit
#              1150); the installer's pages, clicked through with the keyboard,
#              "Iniciar con Windows" unchecked: no Run value, nor after a silent
#              upgrade, which run elevated leaves the running copy running and
#              puts the new exe in place; the uninstaller's
#              pages with "carpeta INIS" ticked leave no INIS and no folder;
#              screenshots of every page in build/package-test/
#   msi        for each MSI this host can run, in a fresh prefix, run as a
#              deployment tool runs msiexec (elevated): refused, in Spanish,
#              where the installing user has the per-user copy; a silent
#              install (exe and INIS in Program Files, no icacls run, HKLM
#              Run value, Uninstall entry with help link and contact, icon,
#              shortcut, event source as REG_EXPAND_SZ); the per-user
#              installer refused; the
#              program run from there by the till's user saves in that INIS;
#              with an INI others can write, /abrir refuses a file as port;
#              the next version's MSI over the running copy (left running,
#              its exe replaced at the restart, PARAMETROS.INI byte-identical,
#              one entry; the next start runs it); a downgrade refused in
#              Spanish; a repair; the uninstall removes all but INIS; a
#              folder of its own (icacls's command lines), an existing one
#              refused, its upgrade leaving the rights alone (not a move's); the 64-bit MSI
#              replacing the 32-bit one of the same version. And the tables
#              of both MSIs as an administrator's tools read them
# Needs the Windows builds configured with -DCAJON_E2E=ON (scripts/test.sh
# builds them so) and an X display (one is started when DISPLAY is unset).
# Ends with "N passed, N failed" (", N skipped"), one count per group above
# and installer; exits non-zero on any failure.
set -uo pipefail
CAJON_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$CAJON_ROOT"
source scripts/lib/deps.sh
source scripts/lib/services.sh
source scripts/lib/package.sh

# Once here, so that the three runs of scripts/package.sh below find it done
# (and, where Wine's i386 half cannot be installed, do not try it again).
cajon_install_deps || { echo "package tests: 0 passed, 1 failed, 0 skipped"; exit 1; }

work="$CAJON_ROOT/build/package-test"
rm -rf "$work"
mkdir -p "$work"
proceso="$CAJON_ROOT/build/win64/cajon_proceso_ventana.exe"
helper="$CAJON_ROOT/build/win64/cajon_e2e_helper.exe"
clase=AbrirCajon.frmAbrirCajon
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninst_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\AbrirCajon'
cn="AbrirCajon prueba de firma"

# The programs here see no printers, whether a CUPS server runs or not: the
# same first start every time, and nothing of the shared CUPS is used.
export CUPS_SERVER=/nonexistent/abrircajon-sin-impresoras

passed=0
failed=0
skipped=0
group_fails=0
ok() { echo "  ok: $*"; }
fail() {
    echo "  FAIL: $*"
    group_fails=$((group_fails + 1))
}
check_eq() { if [ "$2" == "$3" ]; then ok "$1"; else fail "$1: expected [$2], got [$3]"; fi; }
check() {  # check WHAT COMMAND...
    local what=$1
    shift
    if "$@"; then ok "$what"; else fail "$what"; fi
}
group() {
    echo "$1"
    group_fails=0
}
end_group() {
    if [ "$group_fails" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

prefixes=()
finish() {
    cajon_stop_services
    local p
    for p in "${prefixes[@]}"; do
        WINEPREFIX=$p "$WINESERVER" -k >/dev/null 2>&1
        rm -rf "$p"
    done
}
trap finish EXIT

# --- Wine helpers: output always through files (a pipe would hang) ----------

# Prints the data of one registry value, nothing when it is missing; a third
# argument /reg:32 reads the 32-bit view.
reg_value() {
    cajon_wine_tool reg query "$1" /v "$2" "${@:3}" </dev/null >"$work/reg.out" 2>/dev/null || return 0
    tr -d '\r' <"$work/reg.out" | sed -nE "s/^ +$2 +REG_[A-Z_]+ +//p"
}
no_key() { ! cajon_wine_tool reg query "$1" </dev/null >/dev/null 2>&1; }

# Lines "pid=N version=V image=PATH" for the program's main windows.
program_windows() {
    cajon_wine "$proceso" "$clase" </dev/null >"$work/proceso.out" 2>/dev/null
    tr -d '\r' <"$work/proceso.out"
}
field() { sed -nE "s/.*(^| )$1=([^ ]*).*/\2/p" | head -1; }

# Runs an installer as the till's user would: unelevated. Wine gives every
# program a full administrator's token, as "Ejecutar como administrador".
as_user() { cajon_wine "$helper" limited "Z:${1//\//\\}" "${@:2}"; }

# Waits until the program runs as version $1; prints its pid=... line.
wait_program_version() {
    local i line
    for i in $(seq 1 60); do
        line=$(program_windows | head -1)
        if [ "$(field version <<<"$line")" == "$1" ]; then
            echo "$line"
            return 0
        fi
        sleep 0.5
    done
    echo "$line"
    return 1
}

# A first start asks for the printer (the chooser, "Form1") before the main
# window shows: it is closed as from its close box. With no printer at all the
# program reports that in a box (caption "AbrirCajon"): it is answered. Then
# the main window must show.
main_window_shows() {
    local i
    for i in $(seq 1 120); do
        xdotool search --onlyvisible --name '^Apertura cajón$' >/dev/null 2>&1 && return 0
        if xdotool search --onlyvisible --name '^Form1$' >/dev/null 2>&1; then
            cajon_wine "$helper" post Form1 0x10 0 0 </dev/null >/dev/null 2>&1
        elif xdotool search --onlyvisible --name '^AbrirCajon$' >/dev/null 2>&1; then
            cajon_wine "$helper" command AbrirCajon 1 </dev/null >/dev/null 2>&1
        fi
        sleep 0.25
    done
    return 1
}

# Clicks the check box "Enviar a: ..." (id 105) of the main window, as a user
# would: the program stores KovraTipo at once.
click_check_printer() {
    local controls origin rect ox oy l t w h
    cajon_wine "$helper" controls 'Apertura cajón' </dev/null >"$work/controls.out" 2>/dev/null
    controls=$(tr -d '\r' <"$work/controls.out")
    origin=$(head -1 <<<"$controls" | field origin)
    rect=$(grep -E '^id=105 ' <<<"$controls" | field rect)
    IFS=, read -r ox oy <<<"$origin"
    IFS=, read -r l t w h <<<"$rect"
    [ -n "$h" ] || return 1
    xdotool mousemove $((ox + l + 10)) $((oy + t + h / 2)) click 1
    sleep 0.5
}

# The Linux path of a Windows path in the prefix (C: only).
unix_path() { sed -E 's|^[Cc]:\\|'"$WINEPREFIX"'/drive_c/|; s|\\|/|g' <<<"$1"; }

# Waits until a path is gone (the uninstaller runs on as a copy of itself).
wait_gone() {
    local i
    for i in $(seq 1 60); do
        [ -e "$1" ] || return 0
        sleep 0.5
    done
    return 1
}

# osslsigncode accepts the signature against the test certificate, and the
# certificate it carries is that one (compared by fingerprint, whatever the
# tool's version prints).
signed_by_test_cert() {
    local fp
    osslsigncode verify -in "$1" -CAfile "$work/cert.pem" >"$work/verify.out" 2>&1 || return 1
    rm -f "$work/sig.der"
    osslsigncode extract-signature -in "$1" -out "$work/sig.der" >/dev/null 2>&1 || return 1
    fp=$(openssl pkcs7 -inform DER -in "$work/sig.der" -print_certs | openssl x509 -noout -fingerprint -sha256)
    [ -n "$fp" ] && [ "$fp" == "$(openssl x509 -in "$work/cert.pem" -noout -fingerprint -sha256)" ]
}

pe_magic_of() { cajon_pe_magic "$1"; }

# Exports the tables an administrator's tools read into $work/tablas/.
msi_tables() {
    local t
    rm -rf "$work/tablas" && mkdir -p "$work/tablas"
    for t in File MsiFileHash Registry Property Upgrade CustomAction; do
        msiinfo export "$1" "$t" 2>/dev/null | tr -d '\r' | tail -n +4 >"$work/tablas/$t"
    done
}

# --- packages -----------------------------------------------------------------

group "packages: scripts/package.sh without a certificate"
version=$(cajon_built_version build/win64)
version4=$(cajon_version4 "$version")
# The version cajon_version_siguiente carries: the same program, one version on.
next_version=$(tr -d '\r\n' <build/win64/version-siguiente/version.txt)
unsigned="$work/sin-firma"
if env -u CAJON_SIGN_PKCS12 CAJON_DIST="$unsigned" scripts/package.sh >"$work/package.log" 2>&1; then
    ok "package.sh succeeds"
else
    fail "package.sh failed: $(tail -5 "$work/package.log")"
fi
check "it says the packages are unsigned" grep -q UNSIGNED "$work/package.log"
check_eq "the packages, named by the version, and the templates" \
    "AbrirCajon-$version-instalar-x64.exe AbrirCajon-$version-instalar.exe AbrirCajon-$version-x64.msi AbrirCajon-$version.msi AbrirCajon-$version.zip policies" \
    "$(cd "$unsigned" 2>/dev/null && echo *)"
plantillas="policies/AbrirCajon.admx policies/en-US/AbrirCajon.adml policies/es-ES/AbrirCajon.adml"
check_eq "the templates beside the MSIs" "$plantillas" "$(cd "$unsigned" && find policies -type f | sort | xargs)"
check "they are the repository's" bash -c 'for f in $2; do cmp -s "$1/$f" "$f" || exit 1; done' _ "$unsigned" "$plantillas"
zip="$unsigned/AbrirCajon-$version.zip"
check_eq "the zip holds the exe, INIS, LEAME.txt, the guide, the web kit and the templates" \
    "AbrirCajon.exe INIS/ LEAME.txt abrircajon.d.mts abrircajon.d.ts abrircajon.js abrircajon.mjs demo.html guia.html policies/ policies/AbrirCajon.admx policies/en-US/ policies/en-US/AbrirCajon.adml policies/es-ES/ policies/es-ES/AbrirCajon.adml" \
    "$(unzip -Z1 "$zip" 2>/dev/null | LC_ALL=C sort | xargs)"
mkdir -p "$work/zip" && unzip -q -o "$zip" -d "$work/zip" 2>/dev/null
check "the zip's exe is the 32-bit release" cmp -s "$work/zip/AbrirCajon.exe" build/win32/AbrirCajon.exe
# Under Program Files a write must never go to the user's VirtualStore.
check "the exe declares asInvoker" grep -q 'requestedExecutionLevel level="asInvoker"' "$work/zip/AbrirCajon.exe"
leame="$work/zip/LEAME.txt"
check "LEAME.txt ends every line with CRLF" \
    test "$(grep -c $'\r$' "$leame")" -eq "$(wc -l <"$leame")" -a "$(wc -l <"$leame")" -gt 20
check "LEAME.txt is Windows-1252 (ó as byte F3) and names the version" \
    bash -c 'LC_ALL=C grep -q $'"'"'caj\xf3n'"'"' "$1" && grep -q "AbrirCajon $2" "$1"' _ "$leame" "$version"
check "LEAME.txt has no placeholder left" bash -c '! grep -q @ "$1"' _ "$leame"
# The guide as the program's menu opens it, and the kit made from its source.
cajon_kit "$work/kit-fuente"
check "the zip's kit is the one made from bridge/abrircajon.mjs" \
    bash -c 'for f in abrircajon.js abrircajon.mjs abrircajon.d.ts abrircajon.d.mts demo.html; do cmp -s "$1/$f" "$2/$f" || exit 1; done' \
    _ "$work/zip" "$work/kit-fuente"
check "the zip's guia.html is docs/guia.md with this version" \
    bash -c 'xmllint --noout "$1" && grep -q "<h2 id=\"números-de-error\">" "$1" && grep -q "AbrirCajon $2" "$1"' \
    _ "$work/zip/guia.html" "$version"
check_eq "the shop's installer has the 32-bit stub" 010b "$(pe_magic_of "$unsigned/AbrirCajon-$version-instalar.exe")"
check_eq "the x64 installer has the 64-bit stub" 020b "$(pe_magic_of "$unsigned/AbrirCajon-$version-instalar-x64.exe")"
check "the installer is unsigned" bash -c '! osslsigncode verify -in "$1" >/dev/null 2>&1' _ \
    "$unsigned/AbrirCajon-$version-instalar.exe"
upgrade_code="{$(cajon_msi_upgrade_code)}"
for m in "AbrirCajon-$version.msi Intel x86 win32" "AbrirCajon-$version-x64.msi x64 x64 win64"; do
    read -r msi plataforma arch preset <<<"$m"
    msiinfo export "$unsigned/$msi" Property 2>/dev/null | tr -d '\r' >"$work/propiedades.out"
    check_eq "$msi: platform, UpgradeCode, per machine" "$plataforma;3082 $upgrade_code 1" \
        "$(msiinfo suminfo "$unsigned/$msi" 2>/dev/null | sed -n 's/^Template: //p') $(sed -n 's/^UpgradeCode\t//p' \
            "$work/propiedades.out") $(sed -n 's/^ALLUSERS\t//p' "$work/propiedades.out")"
    # Wine runs any order; Windows refuses a RemoveExistingProducts inside
    # the script (2613) and registers no InstallLocation set after it.
    check_eq "$msi: actions in order" "UbicacionARP InstallValidate RemoveExistingProducts InstallInitialize \
CrearCarpeta BorrarCarpeta PropietarioCarpeta DerechosCarpeta CreateFolders InstallFiles RegisterProduct InstallFinalize" \
        "$(msiinfo export "$unsigned/$msi" InstallExecuteSequence 2>/dev/null | tr -d '\r' |
            awk -F'\t' 'NR > 3 { print $3, $1 }' | sort -n | awk '{ print $2 }' |
            grep -xE 'UbicacionARP|InstallValidate|RemoveExistingProducts|InstallInitialize|CreateFolders|CrearCarpeta|BorrarCarpeta|PropietarioCarpeta|DerechosCarpeta|InstallFiles|RegisterProduct|InstallFinalize' |
            xargs)"
    msi_tables "$unsigned/$msi"
    check_eq "$msi: the exe's version and language in File, without a hash" "$(cajon_exe_version "build/$preset/AbrirCajon.exe") 3082 0" \
        "$(awk -F'\t' '$1 == "AbrirCajon.exe" { print $5, $6 }' "$work/tablas/File") $(grep -c '^AbrirCajon.exe' "$work/tablas/MsiFileHash")"
    check_eq "$msi: EventMessageFile expandable" '#%[#AbrirCajon.exe]' \
        "$(awk -F'\t' '$4 == "EventMessageFile" { print $5 }' "$work/tablas/Registry")"
    check_eq "$msi: the ProductCode made from the version and the build" "{$(cajon_msi_product_code "$version" "$arch")}" \
        "$(sed -n 's/^ProductCode\t//p' "$work/tablas/Property")"
    # ICE61: only older versions removed (bounded above by this one, not
    # included), the same one detected only; every row's property secure.
    check_eq "$msi: Upgrade rows" "$version $version 770 MISMAVERSIONINSTALADA| $version 1 WIX_UPGRADE_DETECTED|$version  2 WIX_DOWNGRADE_DETECTED" \
        "$(awk -F'\t' -v c="$upgrade_code" '$1 == c { printf "%s%s %s %s %s", n++ ? "|" : "", $2, $3, $5, $7 }' "$work/tablas/Upgrade")"
    check_eq "$msi: secure properties" "ARPCONTACT INSTALLDIR MISMAVERSIONINSTALADA WIX_DOWNGRADE_DETECTED WIX_UPGRADE_DETECTED" \
        "$(sed -n 's/^SecureCustomProperties\t//p' "$work/tablas/Property" | tr ';' '\n' | sort | xargs)"
    # Every icacls call: on a junction itself (/L), ignored where a drive has
    # no rights (type bit 64), Users given read and run at most.
    check_eq "$msi: icacls calls" "2 2 0" "$(awk -F'\t' '$3 == "ICACLS" && $2 >= 1024 { n++; if (int($2 / 64) % 2 && $4 ~ / \/L /) ok++;
        if ($4 ~ /545:[^ ]*[MFW]/) bad++ } END { print n + 0, ok + 0, bad + 0 }' "$work/tablas/CustomAction")"
    # As SYSTEM: mkdir failing the install if the folder exists; rmdir (empty only) on rollback.
    check_eq "$msi: the folder made by cmd" '3122 /d /c mkdir "[INSTALLDIR]"|3442 /d /c rmdir "[INSTALLDIR]"' \
        "$(awk -F'\t' '$3 == "CMD" && $2 >= 1024 { printf "%s%s %s", n++ ? "|" : "", $2, $4 }' "$work/tablas/CustomAction")"
    check_eq "$msi: Add/Remove Programs' contact and help link" "yes [INSTALLDIR]guia.html" \
        "$(grep -q $'^ARPCONTACT\t.' "$work/tablas/Property" && echo yes) $(awk -F'\t' '$3 == "ARPHELPLINK" { print $4 }' "$work/tablas/CustomAction")"
done
echo "  sizes: $(cd "$unsigned" && stat -c '%n %s' ./*.msi | xargs)"
end_group

# --- signing -------------------------------------------------------------------

group "signing: scripts/package.sh with a throw-away certificate"
signed="$work/firmado"
password='una "clave" con blancos'
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=$cn" \
    -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1 &&
    openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.p12" \
        -passout "pass:$password" ||
    fail "could not make the certificate"
if CAJON_SIGN_PKCS12="$work/cert.p12" CAJON_SIGN_PASSWORD="$password" CAJON_DIST="$signed" \
    scripts/package.sh >"$work/package-signed.log" 2>&1; then
    ok "package.sh signs"
else
    fail "package.sh with a certificate failed: $(tail -5 "$work/package-signed.log")"
fi
unzip -q -o "$signed/AbrirCajon-$version.zip" AbrirCajon.exe -d "$work/zip-firmado" 2>/dev/null
for f in "$signed/AbrirCajon-$version-instalar.exe" "$signed/AbrirCajon-$version-instalar-x64.exe" \
    "$signed/AbrirCajon-$version.msi" "$signed/AbrirCajon-$version-x64.msi" "$work/zip-firmado/AbrirCajon.exe"; do
    check "signed by the test certificate: ${f#"$work"/}" signed_by_test_cert "$f"
done
if CAJON_SIGN_PKCS12="$work/cert.p12" CAJON_SIGN_PASSWORD=wrong CAJON_DIST="$work/mala-clave" \
    scripts/package.sh >"$work/package-wrong.log" 2>&1; then
    fail "a wrong password passed"
else
    ok "a wrong password fails the script"
fi
check "and leaves no packages" test ! -e "$work/mala-clave"
end_group

# --- install, upgrade, uninstall -------------------------------------------------

cajon_start_display || { echo "no X display"; exit 1; }

fresh_prefix() {
    export WINEPREFIX="$work/prefix-$1"
    prefixes+=("$WINEPREFIX")
    cajon_start_wine >/dev/null
}

# install_cycle ARCH PRESET INSTALLER
install_cycle() {
    local arch=$1 preset=$2 installer=$3
    group "install ($arch): $(basename "$installer")"
    fresh_prefix "$arch" || {
        fail "no Wine prefix"
        end_group
        return
    }
    local next=$next_version next4 next_installer
    next4=$(cajon_version4 "$next")
    next_installer="$work/AbrirCajon-$next-$arch.exe"
    cajon_make_installer "$arch" "build/$preset/cajon_version_siguiente.exe" "$next" "$next_installer" \
        >"$work/next-$arch.log" 2>&1 || fail "could not build the $next installer"

    as_user "$installer" /S </dev/null >"$work/install-$arch.log" 2>&1
    check_eq "silent install exits 0" 0 $?
    local location dir exe_w
    location=$(reg_value "$uninst_key" InstallLocation)
    dir=$(unix_path "$location")
    exe_w="$location\\AbrirCajon.exe"
    check_eq "installed under LOCALAPPDATA\\Programs" 'AppData\Local\Programs\AbrirCajon' \
        "$(sed -E 's|^C:\\users\\[^\\]+\\||' <<<"$location")"
    check "the exe, the uninstaller and INIS are there" \
        test -f "$dir/AbrirCajon.exe" -a -f "$dir/Desinstalar.exe" -a -d "$dir/INIS"
    check "the installed exe is signed" signed_by_test_cert "$dir/AbrirCajon.exe"
    check "the uninstaller is signed" signed_by_test_cert "$dir/Desinstalar.exe"
    local shortcut
    shortcut=$(find "$WINEPREFIX/drive_c/users" -path '*Start Menu/Programs/AbrirCajon.lnk' | head -1)
    check "Start-menu shortcut" test -n "$shortcut"
    check "Start-menu shortcut to the guide" \
        test -n "$(find "$WINEPREFIX/drive_c/users" -path '*Start Menu/Programs/Guía de AbrirCajon.lnk' | head -1)"
    check "Start-menu shortcut to the drawer assistant" \
        test -n "$(find "$WINEPREFIX/drive_c/users" -path '*Start Menu/Programs/Configurar el cajón.lnk' | head -1)"
    check_eq "Run value" "\"$exe_w\"" "$(reg_value "$run_key" AbrirCajon)"
    check_eq "Uninstall: DisplayName" AbrirCajon "$(reg_value "$uninst_key" DisplayName)"
    check_eq "Uninstall: DisplayVersion" "$version" "$(reg_value "$uninst_key" DisplayVersion)"
    check "Uninstall: Publisher" test -n "$(reg_value "$uninst_key" Publisher)"
    check_eq "Uninstall: DisplayIcon" "$exe_w,0" "$(reg_value "$uninst_key" DisplayIcon)"
    check_eq "Uninstall: UninstallString" "\"$location\\Desinstalar.exe\"" "$(reg_value "$uninst_key" UninstallString)"
    check_eq "Uninstall: QuietUninstallString" "\"$location\\Desinstalar.exe\" /S" \
        "$(reg_value "$uninst_key" QuietUninstallString)"
    check "Uninstall: EstimatedSize in KB" test $(($(reg_value "$uninst_key" EstimatedSize))) -gt 100

    # The install started the program from its folder.
    local first
    first=$(wait_program_version "$version4") || fail "version $version4 not running: [$first]"
    check_eq "it runs from the installed exe" "$exe_w" "$(field image <<<"$first")"
    check "its window shows" main_window_shows
    import -window root "$work/$arch-installed.png" 2>/dev/null
    local ini="$dir/INIS/PARAMETROS.INI"
    click_check_printer || fail "no check box \"Enviar a\" in the window"
    check "it saves its parameters in the installed INIS" grep -q '^KovraTipo=' "$ini"
    check "the guide and the web kit are installed beside it" \
        bash -c 'xmllint --noout "$1/guia.html" || exit 1
            for f in abrircajon.js abrircajon.mjs abrircajon.d.ts abrircajon.d.mts demo.html; do cmp -s "$1/$f" "$2/$f" || exit 1; done' \
        _ "$dir" "$work/zip"

    # The shop's settings, with bytes a rewrite would change.
    printf '; ajustes de la tienda: caj\xf3n 2\r\nKovraPuerto=COM7:\r\n' >>"$ini"
    local before
    before=$(md5sum <"$ini")
    as_user "$next_installer" /S </dev/null >"$work/upgrade-$arch.log" 2>&1
    check_eq "silent upgrade exits 0" 0 $?
    local second
    second=$(wait_program_version "$next4") || fail "version $next4 not running after the upgrade: [$second]"
    check "the copy that ran was ended" test "$(field pid <<<"$second")" != "$(field pid <<<"$first")"
    check_eq "the new version runs from the installed exe" "$exe_w" "$(field image <<<"$second")"
    check_eq "one copy runs" 1 "$(program_windows | grep -c pid=)"
    check "its window shows" main_window_shows
    check_eq "Uninstall: DisplayVersion after the upgrade" "$next" "$(reg_value "$uninst_key" DisplayVersion)"
    check_eq "the Run value stays" "\"$exe_w\"" "$(reg_value "$run_key" AbrirCajon)"
    check_eq "PARAMETROS.INI byte-identical after the upgrade" "$before" "$(md5sum <"$ini")"

    touch "$dir/INIS/APERTURAS.CSV" "$dir/INIS/APERTURAS-ANTERIOR.CSV"
    cajon_wine "$dir/Desinstalar.exe" /S </dev/null >"$work/uninstall-$arch.log" 2>&1
    check_eq "silent uninstall exits 0" 0 $?
    check "the uninstaller is removed" wait_gone "$dir/Desinstalar.exe"
    check "the exe is removed" test ! -e "$dir/AbrirCajon.exe"
    check "the shortcut is removed" test ! -e "$shortcut"
    check_eq "the Run value is removed" "" "$(reg_value "$run_key" AbrirCajon)"
    check "the Uninstall key is removed" no_key "$uninst_key"
    check_eq "no copy runs" 0 "$(program_windows | grep -c pid=)"
    check_eq "PARAMETROS.INI kept byte-identical" "$before" "$(md5sum <"$ini" 2>/dev/null)"
    check_eq "nothing else is left" "INIS INIS/APERTURAS-ANTERIOR.CSV INIS/APERTURAS.CSV INIS/PARAMETROS.INI" \
        "$(cd "$dir" && find . -mindepth 1 | sed 's|^\./||' | sort | xargs)"

    # Installed again there and running, then upgraded into another folder:
    # /D= (a folder with a blank in its name) comes last and unquoted, as on a
    # Windows command line: two words for Wine.
    as_user "$installer" /S </dev/null >/dev/null 2>&1
    wait_program_version "$version4" >/dev/null || fail "installed again: the program does not run"
    local other='C:\Tienda Uno\AbrirCajon' third
    as_user "$next_installer" /S '/D=C:\Tienda' 'Uno\AbrirCajon' </dev/null >"$work/install-d-$arch.log" 2>&1
    check "/D= installs into the folder given" test -f "$(unix_path "$other")/AbrirCajon.exe"
    check_eq "/D=: the Run value names it" "\"$other\\AbrirCajon.exe\"" "$(reg_value "$run_key" AbrirCajon)"
    third=$(wait_program_version "$next4") || fail "/D=: the new version does not run: [$third]"
    check_eq "/D=: the first folder's copy was ended, one runs from the new one" "1 $other\\AbrirCajon.exe" \
        "$(program_windows | grep -c pid=) ${third#* image=}"
    check_eq "/D=: PARAMETROS.INI carried over" "$before" "$(md5sum <"$(unix_path "$other")/INIS/PARAMETROS.INI")"
    cajon_wine "$(unix_path "$other")/Desinstalar.exe" /S </dev/null >/dev/null 2>&1
    check "/D=: the silent uninstall removes it" wait_gone "$(unix_path "$other")/Desinstalar.exe"
    cajon_wine "$dir/Desinstalar.exe" /S </dev/null >/dev/null 2>&1
    wait_gone "$dir/Desinstalar.exe"
    check "the first folder's PARAMETROS.INI is untouched" test "$(md5sum <"$ini")" == "$before"
    end_group
}

# The installer's window and its pages: they all carry this caption.
wait_caption() {
    local i id
    for i in $(seq 1 80); do
        id=$(xdotool search --onlyvisible --name "^$1" 2>/dev/null | head -1)
        [ -n "$id" ] && echo "$id" && return 0
        sleep 0.25
    done
    return 1
}
press() {  # press WINDOW KEY SCREENSHOT-NAME-AFTERWARDS
    cajon_key "$1" "$2"
    sleep 1.5
    [ -z "${3:-}" ] || import -window root "$work/pagina-$3.png" 2>/dev/null
}
wait_pid() {
    local i
    for i in $(seq 1 60); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.5
    done
    return 1
}

# pages INSTALLER: in the prefix of the last install cycle.
pages() {
    local installer=$1 next_x64=$2 w pid dir
    group "pages (x64): the installer and the uninstaller clicked through"
    dir="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Local/Programs/AbrirCajon"
    cp "$installer" "$work/en-vista.exe"
    cajon_wine_tool reg add 'HKCU\Software\Wine\AppDefaults\en-vista.exe' /v Version /d vista /f </dev/null >/dev/null 2>&1
    as_user "$work/en-vista.exe" /S </dev/null >"$work/en-vista.out" 2>&1
    check_eq "on Windows Vista it refuses to install" "exit code 1150 " \
        "$(tr -d '\r' <"$work/en-vista.out") $(reg_value "$uninst_key" InstallLocation)"
    (as_user "$installer" </dev/null >"$work/pages.log" 2>&1) &
    pid=$!
    if w=$(wait_caption 'Instalación de AbrirCajon'); then
        sleep 1
        import -window root "$work/pagina-1-bienvenida.png" 2>/dev/null
        press "$w" Return 2-carpeta
        press "$w" Return 3-componentes
        press "$w" Down
        press "$w" space 4-sin-iniciar-con-windows
        press "$w" Return
        check "Instalar installs" wait_program_files "$dir/AbrirCajon.exe"
        sleep 2
        import -window root "$work/pagina-5-terminar.png" 2>/dev/null
        press "$w" Return
        check "Terminar ends the installer" wait_pid "$pid"
        check_eq "\"Iniciar con Windows\" unchecked: no Run value" "" "$(reg_value "$run_key" AbrirCajon)"
        wait_program_version "$version4" >/dev/null
        check_eq "\"Iniciar AbrirCajon ahora\" started it" 0 $?
        # A silent upgrade keeps that choice; run elevated, it leaves the
        # running copy running and the new exe in place for the next start.
        local antes
        antes=$(program_windows)
        cajon_wine "$next_x64" /S </dev/null >"$work/pages-upgrade.log" 2>&1
        check_eq "a silent upgrade after it adds no Run value" "" "$(reg_value "$run_key" AbrirCajon)"
        check "elevated, the new version's exe is in place" wait_same "$dir/AbrirCajon.exe" \
            build/win64/cajon_version_siguiente.exe
        sleep 1  # time for a second copy to show, were one started
        check_eq "elevated, the copy that ran still runs, alone" "$(field pid <<<"$antes") 1" \
            "$(program_windows | field pid) $(program_windows | grep -c pid=)"
    else
        fail "no installer window"
    fi
    kill "$pid" 2>/dev/null

    touch "$dir/INIS/APERTURAS.CSV" "$dir/INIS/APERTURAS-ANTERIOR.CSV"
    (cajon_wine_exec "$dir/Desinstalar.exe" </dev/null >"$work/pages-un.log" 2>&1) &
    pid=$!
    if w=$(wait_caption 'Desinstalación de AbrirCajon'); then
        sleep 1
        import -window root "$work/pagina-6-desinstalar.png" 2>/dev/null
        press "$w" Return
        press "$w" Down
        press "$w" space 7-desinstalar-componentes
        press "$w" Return 8-desinstalado
        check "Desinstalar with \"carpeta INIS\" ticked: no INIS and no folder left" wait_gone "$dir"
        press "$w" Return
    else
        fail "no uninstaller window"
    fi
    wait_pid "$pid" || kill "$pid" 2>/dev/null
    end_group
}

# wait_same A B: A holds B's bytes within 15 s.
wait_same() {
    local i
    for i in $(seq 1 60); do
        cmp -s "$1" "$2" && return 0
        sleep 0.25
    done
    return 1
}

wait_program_files() {
    local i
    for i in $(seq 1 60); do
        [ -e "$1" ] && return 0
        sleep 0.5
    done
    return 1
}

# --- the per-machine MSI ------------------------------------------------------

msi_run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
msi_uninst_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
event_key='HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\AbrirCajon'

# msiexec as a deployment tool runs it: elevated. Wine's exit status keeps 8
# bits of Windows Installer's: 1603 (failed) is 67, 3010 (restart needed) 194.
msiexec() { cajon_wine_tool msiexec "$@" </dev/null; }
win_path() { echo "Z:${1//\//\\}"; }

# The ProductCode of the installed AbrirCajon, looked for in both registry
# views (Wine keeps a 32-bit package's entry in the 32-bit one; Windows
# keeps every MSI's in the 64-bit one).
msi_product() {
    local view
    for view in /reg:64 /reg:32; do
        cajon_wine_tool reg query "$msi_uninst_key" /s "$view" </dev/null >"$work/reg.out" 2>/dev/null
        tr -d '\r' <"$work/reg.out" | awk '/^HKEY/ { k = $0 } /^ +DisplayName +REG_SZ +AbrirCajon$/ { print k }' |
            sed 's/.*\\//'
    done
}

# Waits up to 30 s for a message box whose text holds $1 (Wine captions
# msiexec's "Install Failed"), and answers it.
answer_box() {
    local i caption
    for i in $(seq 1 60); do
        cajon_wine "$helper" windows </dev/null >"$work/windows.out" 2>/dev/null
        while read -r caption; do
            cajon_wine "$helper" boxtext "$caption" </dev/null >"$work/boxtext.out" 2>/dev/null
            if grep -qF "$1" "$work/boxtext.out"; then
                cajon_wine "$helper" command "$caption" 1 </dev/null >/dev/null 2>&1
                return 0
            fi
        done < <(tr -d '\r' <"$work/windows.out" | sed -n 's/.* class=#32770 visible=1 .* caption=//p')
        sleep 0.5
    done
    return 1
}

# msi_refused WHAT MESSAGE-PART ARGS...: msiexec with basic UI, as an
# administrator running it by hand sees it.
msi_refused() {
    local what=$1 part=$2 pid
    shift 2
    msiexec "$@" /qb >/dev/null 2>&1 &
    pid=$!
    check "$what: it says so in Spanish" answer_box "$part"
    wait_pid "$pid" || kill "$pid"
    wait "$pid"
    check_eq "$what: refused (1603)" 67 $?
}

# Starts the program as the till's user does at log-on: unelevated, by the
# path the Run value names.
start_as_user() { (cajon_wine "$helper" limited "$1" </dev/null >/dev/null 2>&1 &); }

# msi_cycle ARCH PRESET MSI NSIS-INSTALLER
msi_cycle() {
    local arch=$1 preset=$2 msi=$3 nsis=$4 pf=Program\ Files view=()
    group "msi ($arch): $(basename "$msi")"
    if [ "$arch" == x86 ]; then pf='Program Files (x86)' view=(/reg:32); fi
    fresh_prefix "msi-$arch" || {
        fail "no Wine prefix"
        end_group
        return
    }
    local dir="$WINEPREFIX/drive_c/$pf/AbrirCajon" dir_w="C:\\$pf\\AbrirCajon" next_msi
    local exe_w="C:\\$pf\\AbrirCajon\\AbrirCajon.exe" ini="$WINEPREFIX/drive_c/$pf/AbrirCajon/INIS/PARAMETROS.INI"
    next_msi="$work/AbrirCajon-$next_version-$arch.msi"
    cajon_make_msi "$arch" "build/$preset/cajon_version_siguiente.exe" "$next_version" "$next_msi" \
        >"$work/next-msi-$arch.log" 2>&1 || fail "could not build the $next_version MSI"

    # The per-user copy of the user who installs is seen.
    as_user "$nsis" /S >/dev/null 2>&1
    main_window_shows || fail "the per-user copy does not start"
    local per_user
    per_user=$(reg_value "$uninst_key" InstallLocation)
    msi_refused "with the per-user copy" "solo para este usuario, en $per_user." /i "$(win_path "$msi")"
    check "nothing is installed" test ! -e "$dir/AbrirCajon.exe"
    cajon_wine "$(unix_path "$per_user")/Desinstalar.exe" /S </dev/null >/dev/null 2>&1
    wait_gone "$(unix_path "$per_user")/Desinstalar.exe" || fail "the per-user copy was not removed"

    WINEDEBUG=-all,fixme+icacls msiexec /i "$(win_path "$msi")" /qn >/dev/null 2>"$work/msi-$arch.err"
    check_eq "silent install exits 0" 0 $?
    check "the exe, INIS, the guide and the web kit in $pf" test -f "$dir/AbrirCajon.exe" -a -d "$dir/INIS" -a \
        -f "$dir/guia.html" -a -f "$dir/abrircajon.js" -a -f "$dir/abrircajon.mjs" -a -f "$dir/abrircajon.d.ts" -a \
        -f "$dir/abrircajon.d.mts" -a -f "$dir/demo.html"
    check "the installed exe is signed" signed_by_test_cert "$dir/AbrirCajon.exe"
    check_eq "the exe is the $arch build" "$(pe_magic_of "build/$preset/AbrirCajon.exe")" "$(pe_magic_of "$dir/AbrirCajon.exe")"
    # Wine's icacls only prints what it was asked: the command line is all
    # that can be seen here.
    check "in $pf the rights are the folder's: icacls is not run" bash -c '! grep -q icacls "$1"' _ "$work/msi-$arch.err"
    check_eq "Run value for every user (HKLM)" "\"$exe_w\"" "$(reg_value "$msi_run_key" AbrirCajon "${view[@]}")"
    local product
    product=$(msi_product)
    check_eq "Uninstall entry in HKLM: one" 1 "$(grep -c . <<<"$product")"
    local entry="$msi_uninst_key\\$product"
    check_eq "Uninstall: version, publisher, folder" "$version|AbrirCajon|$dir_w\\" \
        "$(reg_value "$entry" DisplayVersion "${view[@]}")|$(reg_value "$entry" Publisher "${view[@]}")|$(reg_value "$entry" InstallLocation "${view[@]}")"
    # Wine writes no DisplayIcon; Windows names this file in it.
    check "Uninstall: the product's icon" cmp -s resources/abrircajon.ico \
        "$WINEPREFIX/drive_c/windows/Installer/$product/abrircajon.ico"
    check_eq "event source: the exe's messages (REG_EXPAND_SZ), three types" "$exe_w 1 0x7" \
        "$(reg_value "$event_key" EventMessageFile) $(grep -c REG_EXPAND_SZ "$work/reg.out") $(reg_value "$event_key" TypesSupported)"
    # reg prints in the console's code page: the contact up to its "á".
    check_eq "Uninstall: help link (the guide) and contact" "$dir_w\\guia.html|El departamento de inform" \
        "$(reg_value "$entry" HelpLink "${view[@]}")|$(reg_value "$entry" Contact "${view[@]}" | LC_ALL=C cut -c1-25)"
    local shortcut
    shortcut=$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/AbrirCajon.lnk' | head -1)
    check "Start-menu shortcut" test -n "$shortcut"
    check "Start-menu shortcut to the guide" \
        test -n "$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Guía de AbrirCajon.lnk' | head -1)"
    check "Start-menu shortcut to the drawer assistant" \
        test -n "$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Configurar el cajón.lnk' | head -1)"

    as_user "$nsis" /S </dev/null >"$work/nsis-refused-$arch.out" 2>&1
    check_eq "the per-user installer refuses (1638)" "exit code 1638" "$(tr -d '\r' <"$work/nsis-refused-$arch.out")"
    check "and installs nothing" no_key "$uninst_key"

    # The till's user starts it, as the Run value does at log-on.
    start_as_user "$exe_w"
    local first
    first=$(wait_program_version "$version4") || fail "version $version4 not running: [$first]"
    check "its window shows" main_window_shows
    click_check_printer || fail "no check box \"Enviar a\" in the window"
    check "it saves its parameters in INIS in $pf" grep -q '^KovraTipo=' "$ini"
    printf '; ajustes de la tienda: caj\xf3n 2\r\nKovraPuerto=COM7:\r\n' >>"$ini"
    local before
    before=$(md5sum <"$ini")

    msiexec /i "$(win_path "$next_msi")" /qn >/dev/null 2>&1
    check_eq "the next version over the running copy: done, restart needed (3010)" 194 $?
    check_eq "the copy that ran still runs" "$(field pid <<<"$first")" "$(program_windows | field pid)"
    product=$(msi_product)
    check_eq "one Uninstall entry, of the next version" "1 $next_version" \
        "$(grep -c . <<<"$product") $(reg_value "$msi_uninst_key\\$product" DisplayVersion "${view[@]}")"
    check_eq "the Run value stays" "\"$exe_w\"" "$(reg_value "$msi_run_key" AbrirCajon "${view[@]}")"
    check_eq "PARAMETROS.INI byte-identical after the upgrade" "$before" "$(md5sum <"$ini")"
    cajon_wine "$dir/AbrirCajon.exe" /salir </dev/null >/dev/null 2>&1
    cajon_wine_tool wineboot -r </dev/null >/dev/null 2>&1
    check "after a restart the next version's exe is in place" \
        cmp -s "$dir/AbrirCajon.exe" "build/$preset/cajon_version_siguiente.exe"

    msi_refused "a downgrade" "Ya está instalada una versión más reciente de AbrirCajon." /i "$(win_path "$msi")"
    check_eq "the next version stays" "$next_version" "$(reg_value "$msi_uninst_key\\$product" DisplayVersion "${view[@]}")"

    # A repair (msiexec /fa; Wine's msiexec knows only this form of it).
    rm -f "$dir/AbrirCajon.exe"
    msiexec /i "$(win_path "$next_msi")" REINSTALL=ALL REINSTALLMODE=amus /qn >/dev/null 2>&1
    check "a repair puts the exe back, PARAMETROS.INI untouched" \
        test -f "$dir/AbrirCajon.exe" -a "$(md5sum <"$ini")" == "$before"

    start_as_user "$exe_w"
    wait_program_version "$(cajon_version4 "$next_version")" >/dev/null
    check_eq "the next start runs the next version" 0 $?
    touch "$dir/INIS/APERTURAS.CSV"
    # Ended first: Wine's msiexec leaves an exe in use where it is, where
    # Windows removes it at the next restart.
    cajon_wine "$dir/AbrirCajon.exe" /salir </dev/null >/dev/null 2>&1

    # Settings another user can change (o+w: Wine's Everyone may write).
    local registro pid
    registro=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local | grep -v /Public/ | head -1)/AbrirCajon/APERTURAS.CSV
    cp -p "$ini" "$work/ini-$arch" && chmod 666 "$ini"
    printf '[Parametros]\r\nKovraTipo=0\r\nKovraPuerto=C:\\plantado.cmd\r\nKovraASCII=101 99 104 111\r\nKovraRegistro=0\r\n' >"$ini"
    cajon_wine "$helper" limited "$exe_w" /abrir </dev/null >/dev/null 2>&1 &
    pid=$!
    check "a settings file others can write: the stop box says why" answer_box "5.Acceso denegado: otros usuarios pueden"
    wait_pid "$pid" || kill "$pid"
    check "no byte to the file it names" test ! -e "$WINEPREFIX/drive_c/plantado.cmd"
    check "the opening in the user's own record" grep -qF 'C:\plantado.cmd;' "$registro"
    cp -p "$work/ini-$arch" "$ini"
    msiexec /x "$product" /qn >/dev/null 2>&1
    check_eq "silent uninstall exits 0" 0 $?
    check "the exe is removed" test ! -e "$dir/AbrirCajon.exe"
    check_eq "the Run value is removed" "" "$(reg_value "$msi_run_key" AbrirCajon "${view[@]}")"
    check "the Uninstall entry is removed" test -z "$(msi_product)"
    check "the event source is removed" no_key "$event_key"
    check "the shortcut is removed" test ! -e "$shortcut"
    check_eq "PARAMETROS.INI kept byte-identical" "$before" "$(md5sum <"$ini" 2>/dev/null)"
    check_eq "nothing else is left" "INIS INIS/APERTURAS.CSV INIS/PARAMETROS.INI" \
        "$(cd "$dir" && find . -mindepth 1 | sed 's|^\./||' | sort | xargs)"

    # Installed into a folder of its own, then upgraded by a command line
    # that names none, as Group Policy's does: the upgrade stays there.
    local caja="$WINEPREFIX/drive_c/Caja Uno/AbrirCajon"
    rm -rf "$dir"
    WINEDEBUG=-all,fixme+icacls msiexec /i "$(win_path "$msi")" 'INSTALLDIR=C:\Caja Uno\AbrirCajon' /qn >/dev/null \
        2>"$work/msi-caja-$arch.err"
    check_eq "outside $pf: owner Administrators, then nothing inherited, users read and run, on the folder itself" \
        "1 1" "$(grep -cF '"C:\\Caja Uno\\AbrirCajon\\." "/setowner" "*S-1-5-32-544" "/L"' "$work/msi-caja-$arch.err") $(grep -cF \
            '"/inheritance:r" "/grant:r" "*S-1-5-32-544:(OI)(CI)F" "*S-1-5-18:(OI)(CI)F" "*S-1-5-32-545:(OI)(CI)RX" "/L"' \
            "$work/msi-caja-$arch.err")"
    mkdir -p "$WINEPREFIX/drive_c/Caja Dos"
    msi_refused "a folder outside $pf that exists" "ya existe. Fuera de Archivos de programa" /i "$(win_path "$next_msi")" \
        'INSTALLDIR=C:\Caja Dos'
    printf '[Parametros]\r\nKovraPuerto=COM7:\r\n' >"$caja/INIS/PARAMETROS.INI"
    before=$(md5sum <"$caja/INIS/PARAMETROS.INI")
    WINEDEBUG=-all,fixme+icacls msiexec /i "$(win_path "$next_msi")" /qn >/dev/null 2>"$work/msi-caja2-$arch.err"
    check "the upgrade leaves the folder's rights alone" bash -c '! grep -q icacls "$1"' _ "$work/msi-caja2-$arch.err"
    check "an upgrade stays in the folder given at install, with its INIS" bash -c \
        'cmp -s "$1/AbrirCajon.exe" "$2" && [ "$(md5sum <"$1/INIS/PARAMETROS.INI")" == "$3" ] && [ ! -e "$4" ]' \
        _ "$caja" "build/$preset/cajon_version_siguiente.exe" "$before" "$dir"
    msiexec /x "$(win_path "$next_msi")" /qn >/dev/null 2>&1
    check "msiexec /x with the package removes it there" test ! -e "$caja/AbrirCajon.exe"
    msiexec /i "$(win_path "$msi")" /qn >/dev/null 2>&1
    WINEDEBUG=-all,fixme+icacls msiexec /i "$(win_path "$next_msi")" 'INSTALLDIR=C:\Caja Cinco' /qn >/dev/null \
        2>"$work/msi-caja5-$arch.err"
    check_eq "an upgrade into a new folder: there, with its rights set" "there 1" "$(test -f \
        "$WINEPREFIX/drive_c/Caja Cinco/AbrirCajon.exe" && echo there) $(grep -c 'Caja Cinco.*/inheritance:r' "$work/msi-caja5-$arch.err")"
    msiexec /x "$(win_path "$next_msi")" /qn >/dev/null 2>&1
    if [ "$arch" == x64 ]; then
        # One copy per machine: the 64-bit package replaces the 32-bit one of
        # the same version (installing the 32-bit one runs no 32-bit code).
        msiexec /i "$(win_path "$signed/AbrirCajon-$version.msi")" /qn >/dev/null 2>&1
        msiexec /i "$(win_path "$msi")" /qn >/dev/null 2>&1
        check_eq "the 64-bit package replaces the 32-bit one of the same version" "1 gone there" \
            "$(msi_product | grep -c .) $(test -e "$WINEPREFIX/drive_c/Program Files (x86)/AbrirCajon/AbrirCajon.exe" ||
                echo gone) $(test -e "$dir/AbrirCajon.exe" && echo there)"
    fi
    if [ "$arch" == x86 ]; then
        # One copy per machine, also when IT switches builds.
        msiexec /i "$(win_path "$work/AbrirCajon-$next_version-x64.msi")" /qn >/dev/null 2>&1
        msiexec /i "$(win_path "$next_msi")" /qn >/dev/null 2>&1
        check_eq "the 32-bit package replaces the 64-bit one of the same version" "1 gone there" \
            "$(msi_product | grep -c .) $(test -e "$WINEPREFIX/drive_c/Program Files/AbrirCajon/AbrirCajon.exe" ||
                echo gone) $(test -e "$dir/AbrirCajon.exe" && echo there)"
    fi
    end_group
}

install_cycle x64 win64 "$signed/AbrirCajon-$version-instalar-x64.exe"
pages "$signed/AbrirCajon-$version-instalar-x64.exe" "$work/AbrirCajon-$next_version-x64.exe"
if cajon_host_runs_32bit; then
    install_cycle x86 win32 "$signed/AbrirCajon-$version-instalar.exe"
else
    echo "install (x86): skipped: $(cajon_no_32bit_reason)"
    skipped=$((skipped + 1))
fi
msi_cycle x64 win64 "$signed/AbrirCajon-$version-x64.msi" "$signed/AbrirCajon-$version-instalar-x64.exe"
if cajon_host_runs_32bit; then
    msi_cycle x86 win32 "$signed/AbrirCajon-$version.msi" "$signed/AbrirCajon-$version-instalar.exe"
else
    echo "msi (x86): skipped: $(cajon_no_32bit_reason)"
    skipped=$((skipped + 1))
fi

echo "package tests: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
