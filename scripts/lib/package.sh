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
    (cd "$CAJON_ROOT" && wixl -a "$arch" -D Arch="$arch" -D Version="$version" -D Exe="$exe" -D Extras="$CAJON_EXTRAS_DIR" -o "$out" \
        installer/AbrirCajon.wxs) || return 1
    if cajon_signing_configured; then cajon_sign "$out"; fi
}
