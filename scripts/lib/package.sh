# Making the release packages: the version the build carries, the installer,
# the per-machine MSI, the optional code signature. Sourced by
# scripts/package.sh and the package tests (which build a second installer
# and MSI of a newer version with it).
#
#   cajon_built_version BUILD_DIR       the version a configured build carries
#   cajon_version4 VERSION              VERSION as four numbers: 1.2 -> 1.2.0.0
#   cajon_signing_configured            true when a certificate is named
#   cajon_sign FILE                     signs FILE in place with that certificate
#   cajon_make_installer ARCH EXE VERSION OUT
#                                       writes the installer OUT (ARCH x86 or x64)
#                                       installing EXE as version VERSION; signed
#                                       (with its uninstaller) when configured
#   cajon_make_msi ARCH EXE VERSION OUT writes the per-machine MSI OUT (ARCH x86
#                                       or x64) installing EXE as version
#                                       VERSION; signed when configured
#   cajon_msi_upgrade_code              the MSI's UpgradeCode, which the
#                                       installer looks for
#   cajon_msi_product_code VERSION ARCH the MSI's ProductCode: the same for the
#                                       same version and build, made anew
#                                       for every other one
#   cajon_exe_version EXE               the file version in EXE's version
#                                       resource (four numbers)
#   cajon_make_extras DIR VERSION       writes what goes beside the exe in
#                                       every package into DIR: the web kit
#                                       (scripts/lib/kit.sh) and the shop's
#                                       guide as a page, guia.html (from
#                                       docs/guia.md)
#   CAJON_EXTRAS                        the names of those files
#
# Signing: CAJON_SIGN_PKCS12 names a PKCS#12 file (.pfx/.p12) holding the
# code-signing certificate and its key, CAJON_SIGN_PASSWORD is its password
# (empty when unset); CAJON_SIGN_TIMESTAMP_URL, when set, names an RFC 3161
# time-stamping server, so that the signature outlives the certificate.

CAJON_ROOT=${CAJON_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
source "$CAJON_ROOT/scripts/lib/kit.sh"

# The program opens <its folder>\guia.html from its window's menu: the name is
# the program's, not only the packages'.
CAJON_EXTRAS=(guia.html abrircajon.js abrircajon.mjs abrircajon.d.ts abrircajon.d.mts demo.html)
# Where the installers and the MSIs take them from (wixl wants a path
# relative to the repository).
CAJON_EXTRAS_DIR=build/extras

cajon_make_extras() {
    local dir=$1 version=$2
    rm -rf "$dir" && cajon_kit "$dir" &&
        python3 "$CAJON_ROOT/scripts/guia-html.py" "$CAJON_ROOT/docs/guia.md" "$dir/guia.html" "$version"
}

cajon_built_version() {
    local f="$1/version/version.txt"
    [ -s "$f" ] || { echo "no version in $1 (is it configured?)" >&2; return 1; }
    tr -d '\r\n' <"$f"
}

cajon_version4() {
    local v=$1
    while [ "$(tr -cd . <<<"$v" | wc -c)" -lt 3 ]; do v="$v.0"; done
    echo "$v"
}

cajon_signing_configured() { [ -n "${CAJON_SIGN_PKCS12:-}" ]; }

cajon_sign() {
    local file=$1 signed="$1.firmado" ts=()
    [ -r "$CAJON_SIGN_PKCS12" ] || { echo "cannot read CAJON_SIGN_PKCS12=$CAJON_SIGN_PKCS12" >&2; return 1; }
    [ -n "${CAJON_SIGN_TIMESTAMP_URL:-}" ] && ts=(-ts "$CAJON_SIGN_TIMESTAMP_URL")
    rm -f "$signed"
    # The password goes through a descriptor, never on a command line.
    osslsigncode sign -pkcs12 "$CAJON_SIGN_PKCS12" -readpass /dev/fd/3 -h sha256 \
        -n "AbrirCajon" "${ts[@]}" -in "$file" -out "$signed" >/dev/null \
        3<<<"${CAJON_SIGN_PASSWORD:-}" || { rm -f "$signed"; echo "signing $file failed" >&2; return 1; }
    mv -f "$signed" "$file"
}

cajon_make_installer() {
    # makensis works in the script's folder: absolute paths.
    local arch=$1 exe version=$3 out firmar=()
    exe=$(realpath "$2") && out=$(realpath -m "$4") || return 1
    cajon_signing_configured && firmar=(-DCAJON_FIRMAR="$CAJON_ROOT/scripts/lib/sign.sh")
    cajon_make_extras "$CAJON_ROOT/$CAJON_EXTRAS_DIR" "$version" || return 1
    makensis -WX -V2 -INPUTCHARSET UTF8 -DCAJON_EXTRAS="$CAJON_ROOT/$CAJON_EXTRAS_DIR" -DCAJON_VERSION="$version" -DCAJON_VERSION4="$(cajon_version4 "$version")" \
        -DCAJON_EXE="$exe" -DCAJON_ARCH="$arch" -DCAJON_SALIDA="$out" "${firmar[@]}" \
        -DCAJON_CODIGO_MSI="$(cajon_msi_upgrade_code)" "$CAJON_ROOT/installer/AbrirCajon.nsi"
}

cajon_msi_upgrade_code() {
    xmllint --xpath 'string(//*[local-name()="Product"]/@UpgradeCode)' "$CAJON_ROOT/installer/AbrirCajon.wxs"
}

cajon_msi_product_code() {
    # A name-based UUID (RFC 4122, SHA-1) in the UpgradeCode's namespace.
    python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2] + " " + sys.argv[3])).upper())' \
        "$(cajon_msi_upgrade_code)" "$1" "$2"
}

cajon_exe_version() {
    # VS_FIXEDFILEINFO: its signature, then dwFileVersionMS and LS.
    python3 -c '
import struct, sys
data = open(sys.argv[1], "rb").read()
i = data.find(struct.pack("<I", 0xFEEF04BD))
if i < 0: sys.exit("no version resource in " + sys.argv[1])
ms, ls = struct.unpack_from("<II", data, i + 8)
print("%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF))' "$1"
}

cajon_make_msi() {
    # wixl 0.101 finds files by relative paths only: it runs in the
    # repository's folder.
    local arch=$1 exe version=$3 out
    exe=$(realpath --relative-to="$CAJON_ROOT" "$2") && out=$(realpath -m "$4") || return 1
    # Windows Installer compares the first three numbers only (at most
    # 255.255.65535): a fourth would make two versions look the same, and the
    # newer would not replace the older.
    if ! [[ $version =~ ^([0-9]+)\.([0-9]+)(\.([0-9]+))?$ ]] ||
        ((10#${BASH_REMATCH[1]} > 255 || 10#${BASH_REMATCH[2]} > 255 || 10#${BASH_REMATCH[4]:-0} > 65535)); then
        echo "$version cannot be an MSI's version (two or three numbers, at most 255.255.65535)" >&2
        return 1
    fi
    cajon_make_extras "$CAJON_ROOT/$CAJON_EXTRAS_DIR" "$version" || return 1
    (cd "$CAJON_ROOT" && wixl -a "$arch" -D Arch="$arch" -D Version="$version" -D Exe="$exe" -D Extras="$CAJON_EXTRAS_DIR" \
        -D ProductCode="$(cajon_msi_product_code "$version" "$arch")" -o "$out" installer/AbrirCajon.wxs) || return 1
    cajon_msi_tables "$out" "$(cajon_exe_version "$2")" || { rm -f "$out"; return 1; }
    if cajon_signing_configured; then cajon_sign "$out"; fi
}

# What wixl 0.101 cannot write, as AbrirCajon.wxs wants it and an
# administrator's tools read it: the exe's version and language in the File
# table (a versioned file has no hash), the event source's message file as
# REG_EXPAND_SZ ("#%"), BorrarCarpeta as a rollback action (wixl drops
# Execute="rollback"), the same version's row detected up to this version
# included, the folder given with INSTALLDIR looked for (CARPETAEXISTENTE),
# the properties a command line hands to the installing service, and the
# package's language (Spanish, as the product's).
cajon_msi_tables() {
    local msi=$1 exe_version=$2 upgrade_code version secure template subject package_code
    upgrade_code="{$(cajon_msi_upgrade_code)}"
    version=$(msiinfo export "$msi" Property | tr -d '\r' | sed -n 's/^ProductVersion\t//p')
    secure=$(msiinfo export "$msi" Property | tr -d '\r' | sed -n 's/^SecureCustomProperties\t//p')
    template=$(msiinfo suminfo "$msi" | sed -n 's/^Template: //p')
    subject=$(msiinfo suminfo "$msi" | sed -n 's/^Subject: //p')
    # msibuild -s would give every package one and the same package code.
    package_code=$(msiinfo suminfo "$msi" | sed -n 's/^Revision number (UUID): //p')
    [ -n "$exe_version" ] && [ -n "$version" ] && [ -n "$template" ] && [ -n "$package_code" ] || return 1
    msibuild "$msi" \
        -q "UPDATE File SET Version='$exe_version', Language='3082' WHERE File='AbrirCajon.exe'" \
        -q "DELETE FROM MsiFileHash WHERE File_='AbrirCajon.exe'" \
        -q "UPDATE Registry SET Value='#%[#AbrirCajon.exe]' WHERE Name='EventMessageFile'" \
        -q "UPDATE CustomAction SET Type=3442 WHERE Action='BorrarCarpeta'" \
        -q "DELETE FROM Upgrade WHERE ActionProperty='MISMAVERSIONINSTALADA'" \
        -q "INSERT INTO Upgrade (UpgradeCode, VersionMin, VersionMax, Attributes, ActionProperty) VALUES \
            ('$upgrade_code', '$version', '$version', 770, 'MISMAVERSIONINSTALADA')" \
        -q "CREATE TABLE DrLocator (Signature_ CHAR(72) NOT NULL, Parent CHAR(72), Path CHAR(255), Depth SHORT \
            PRIMARY KEY Signature_, Parent, Path)" \
        -q "INSERT INTO DrLocator (Signature_, Path, Depth) VALUES ('BuscarCarpetaExistente', '[INSTALLDIR]', 0)" \
        -q "INSERT INTO AppSearch (Property, Signature_) VALUES ('CARPETAEXISTENTE', 'BuscarCarpetaExistente')" \
        -q "UPDATE Property SET Value='$secure;ARPCONTACT;INSTALLDIR' WHERE Property='SecureCustomProperties'" \
        -s "$subject" AbrirCajon "${template%;*};3082" "$package_code" >/dev/null
}
