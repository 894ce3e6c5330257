#!/usr/bin/env bash
# Builds the release packages into build/dist/ (CAJON_DIST names another
# folder), from a clean tree as well:
#   AbrirCajon-<version>.zip                the 32-bit release exe, an empty INIS
#                                           folder, LEAME.txt, the guide (guia.html),
#                                           the web kit (abrircajon.js, .mjs, .d.ts,
#                                           .d.mts, demo.html) and the policy
#                                           templates, to install by hand
#   AbrirCajon-<version>-instalar.exe       the installer a shop downloads: 32-bit,
#                                           installs the 32-bit release
#   AbrirCajon-<version>-instalar-x64.exe   the same installer for 64-bit Windows,
#                                           installing the 64-bit build
#   AbrirCajon-<version>.msi                the per-machine package for Group
#                                           Policy, Intune, SCCM: the 32-bit release
#   AbrirCajon-<version>-x64.msi            the same with the 64-bit build
#   policies/                               the policy templates (ADMX, ADML)
# The version is the one in project() in CMakeLists.txt, as both builds carry it.
# With CAJON_SIGN_PKCS12 (and CAJON_SIGN_PASSWORD) set, the exes, the
# installers, their uninstallers and the MSIs are signed (see
# scripts/lib/package.sh); otherwise they are unsigned and the script says so.
set -euo pipefail
CAJON_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$CAJON_ROOT"
source scripts/lib/deps.sh
source scripts/lib/package.sh

cajon_install_deps || { echo "Could not install what building the packages needs." >&2; exit 1; }
dist=${CAJON_DIST:-$CAJON_ROOT/build/dist}
logs="$CAJON_ROOT/build/package-logs"
mkdir -p "$logs"

for preset in win32 win64; do
    echo "Building $preset..."
    if ! { cmake --preset "$preset" && cmake --build --preset "$preset" --target AbrirCajon; } \
        >"$logs/build-$preset.log" 2>&1; then
        tail -30 "$logs/build-$preset.log"
        echo "The $preset build failed (log: $logs/build-$preset.log)." >&2
        exit 1
    fi
done
version=$(cajon_built_version build/win32)
if [ "$version" != "$(cajon_built_version build/win64)" ]; then
    echo "build/win32 and build/win64 carry different versions: reconfigure both." >&2
    exit 1
fi

if cajon_signing_configured; then
    echo "Signing with the certificate in $CAJON_SIGN_PKCS12."
else
    echo "No code-signing certificate (CAJON_SIGN_PKCS12 is not set): the packages are UNSIGNED."
fi

# Everything is made aside and moved into place at the end: a failure leaves
# no half set of packages behind.
work="$CAJON_ROOT/build/package-work"
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/win32" "$work/win64" "$work/zip/INIS" "$work/dist"
for preset in win32 win64; do
    cp "build/$preset/AbrirCajon.exe" "$work/$preset/AbrirCajon.exe"
    if cajon_signing_configured; then cajon_sign "$work/$preset/AbrirCajon.exe"; fi
done

# The zip, for installing by hand: LEAME.txt as Notepad on any Windows reads it.
cp "$work/win32/AbrirCajon.exe" "$work/zip/"
cajon_make_extras "$work/extras" "$version"
cp "${CAJON_EXTRAS[@]/#/$work/extras/}" "$work/zip/"
sed "s/@VERSION@/$version/g; s/\$/\r/" installer/LEAME.txt | iconv -f UTF-8 -t WINDOWS-1252 >"$work/zip/LEAME.txt"
cp -r policies "$work/zip/policies"
zip_file="$work/dist/AbrirCajon-$version.zip"
(cd "$work/zip" && zip -q -X -r "$zip_file" AbrirCajon.exe INIS LEAME.txt "${CAJON_EXTRAS[@]}" policies)
cp -r policies "$work/dist/policies"

cajon_make_installer x86 "$work/win32/AbrirCajon.exe" "$version" "$work/dist/AbrirCajon-$version-instalar.exe" \
    >"$logs/installer-x86.log" 2>&1 || { cat "$logs/installer-x86.log"; exit 1; }
cajon_make_installer x64 "$work/win64/AbrirCajon.exe" "$version" "$work/dist/AbrirCajon-$version-instalar-x64.exe" \
    >"$logs/installer-x64.log" 2>&1 || { cat "$logs/installer-x64.log"; exit 1; }
cajon_make_msi x86 "$work/win32/AbrirCajon.exe" "$version" "$work/dist/AbrirCajon-$version.msi" \
    >"$logs/msi-x86.log" 2>&1 || { cat "$logs/msi-x86.log"; exit 1; }
cajon_make_msi x64 "$work/win64/AbrirCajon.exe" "$version" "$work/dist/AbrirCajon-$version-x64.msi" \
    >"$logs/msi-x64.log" 2>&1 || { cat "$logs/msi-x64.log"; exit 1; }
rm -rf "$dist"
mkdir -p "$(dirname "$dist")"
mv "$work/dist" "$dist"

echo "Packages of AbrirCajon $version in $dist:"
(cd "$dist" && ls -l AbrirCajon-* && find policies -type f | sort)
