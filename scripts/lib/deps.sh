# Installs what building and testing need on Debian 12, when it is missing.
# Sourced by scripts/run.sh and scripts/test.sh.

CAJON_PACKAGES=(
    cmake g++ make googletest libgtest-dev clang libclang-rt-14-dev clang-format
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
    binutils-mingw-w64-x86-64 mingw-w64-tools
    wine wine64 wine32:i386 xvfb xdotool x11-utils xxd imagemagick fonts-dejavu-core
    # Wine's Marlett font: without it the caption buttons show as "0 1 r".
    fonts-wine
    cups cups-client cups-bsd ghostscript
    # A non-Western code page under Wine (tests/e2e/test_code_page.sh) needs
    # the Unix locale it comes from.
    locales
    # The release packages (scripts/package.sh): installer, signature, zip;
    # the per-machine MSI (wixl; msitools reads it back in the tests) and the
    # policy templates' check (xmllint).
    nsis osslsigncode zip unzip wixl msitools libxml2-utils
    # The shop's guide as a page (scripts/guia-html.py), and the tests' helpers.
    python3
    # The 32-bit Wine loads the i386 libcups to see the CUPS printers; without
    # it a 32-bit program lists none.
    libcups2:i386
    # A real browser calls the browser bridge (tests/e2e/test_puente_web.sh),
    # and curl speaks HTTP to it.
    chromium curl
    # The web kit's checks (tests/package/test_kit.sh) run it in Node, and
    # npm brings TypeScript's compiler for its types (cajon_tsc).
    nodejs npm
)

cajon_install_deps() {
    local missing=()
    local p
    for p in "${CAJON_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    # 32-bit Windows programs need Wine's i386 half, which needs the architecture first.
    dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
    # A mirror caught in the middle of a sync serves an index that does not
    # match its Release file; it is usually whole again a little later.
    local try out
    for try in 1 2 3; do
        out=$($sudo apt-get update -q 2>&1)
        echo "$out"
        grep -q '^E: ' <<<"$out" || break
        [ $try -lt 3 ] && echo "apt-get update: an index failed to download; trying again in 20 s" && sleep 20
    done
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" && return 0
    # With the i386 index still out of step with the amd64 one, the 32-bit
    # half cannot be installed: the rest still builds everything and runs the
    # 64-bit build, and the release's tests under Wine count as skipped.
    local without_i386=()
    for p in "${missing[@]}"; do [[ $p == *:i386 ]] || without_i386+=("$p"); done
    [ ${#without_i386[@]} -lt ${#missing[@]} ] || return 1
    echo "The i386 packages could not be installed; installing without them (no 32-bit Wine)"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${without_i386[@]}"
}

# TypeScript's compiler, for the web kit's types: from npm, into
# build/tools/ts of the checkout, the first time it is needed. Prints the
# path of tsc.
CAJON_TYPESCRIPT=typescript@5
cajon_tsc() {
    local dir=${CAJON_ROOT:?}/build/tools/ts
    if [ ! -x "$dir/node_modules/.bin/tsc" ]; then
        echo "Installing $CAJON_TYPESCRIPT into $dir" >&2
        mkdir -p "$dir" && (cd "$dir" && npm install --no-audit --no-fund --silent "$CAJON_TYPESCRIPT") >&2 ||
            return 1
    fi
    echo "$dir/node_modules/.bin/tsc"
}
