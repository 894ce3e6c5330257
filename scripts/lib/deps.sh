# Installs what building and testing need on Debian 12, when it is missing.
# Sourced by scripts/run.sh, scripts/test.sh and scripts/package.sh.
#
#   cajon_install_deps   installs what is missing; fails only when something
#                        other than Wine's i386 half cannot be installed. That
#                        half (the *:i386 packages) is installed only by a plan
#                        that removes and downgrades nothing: from the host's
#                        suites, else from the main suite alone (a mirror may
#                        serve the security suite's i386 index out of step with
#                        its Release file). Otherwise it is left out, one line
#                        says why, and CAJON_NO_I386 (exported, for the scripts
#                        this run starts) keeps later calls from trying again.
#                        Safe to call under set -e.

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
    local missing=() native=() i386=() p
    for p in "${CAJON_PACKAGES[@]}"; do
        [[ $p == *:i386 && -n ${CAJON_NO_I386:-} ]] && continue
        # A Node.js from elsewhere (NodeSource's, say) brings its own npm and
        # conflicts with Debian's: the command is what the tests need.
        [[ $p == npm ]] && command -v npm >/dev/null && continue
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    for p in "${missing[@]}"; do
        if [[ $p == *:i386 ]]; then i386+=("$p"); else native+=("$p"); fi
    done
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    # 32-bit Windows programs need Wine's i386 half, which needs the architecture first.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386 || return 1
    fi
    # A mirror caught in the middle of a sync serves an index that does not
    # match its Release file; it is usually whole again a little later. The
    # indexes that did download are used either way.
    local try out=""
    for try in 1 2 3; do
        out=$($sudo apt-get update -q 2>&1) || true
        echo "$out"
        grep -q '^E: ' <<<"$out" || break
        [ $try -eq 3 ] || { echo "apt-get update: an index failed to download; trying again in 20 s"; sleep 20; }
    done
    if [ ${#native[@]} -gt 0 ]; then
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${native[@]}" || return 1
    fi
    [ ${#i386[@]} -eq 0 ] && return 0
    local why
    if why=$(cajon_install_i386 "${i386[@]}"); then return 0; fi
    echo "Wine's 32-bit half (${i386[*]}) is not installed: $why"
    export CAJON_NO_I386=1
    return 0
}

# Installs the i386 packages named, from the host's suites or else from the
# main suite alone, each time only after apt's simulation of that install
# removes and downgrades nothing. On failure prints one line saying why.
cajon_install_i386() {
    local sudo="" why main tmp opts=()
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    if why=$(cajon_apt_plan_safe -- "$@"); then
        cajon_apt_install_safe -- "$@" && return 0
        why="apt-get install failed"
    fi
    echo "Wine's i386 half from this host's suites: $why" >&2
    # The main suite of the host's release, as its sources name it.
    local codename
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    main=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Created-By: Packages' 2>/dev/null |
        awk -v s="$codename" '$2 == s { print $1; exit }')
    if [ -z "$codename" ] || [ -z "$main" ]; then
        echo "$why; and the host's sources name no main suite to try alone"
        return 1
    fi
    # A sources list naming that suite only, and lists of its own: the host's
    # lists and package cache are left as they are.
    tmp=$(mktemp -d) || return 1
    chmod 755 "$tmp" # apt's downloads run as the _apt user
    mkdir -p "$tmp/lists/partial" "$tmp/parts"
    local keyring=/usr/share/keyrings/debian-archive-keyring.gpg signed=""
    [ -r "$keyring" ] && signed=" signed-by=$keyring"
    echo "deb [arch=amd64,i386$signed] $main $codename main" >"$tmp/sources.list"
    opts=(-o "Dir::Etc::SourceList=$tmp/sources.list" -o "Dir::Etc::SourceParts=$tmp/parts"
        -o "Dir::State::Lists=$tmp/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=)
    echo "Trying Wine's i386 half from $codename alone ($main)" >&2
    local out
    if ! out=$($sudo apt-get "${opts[@]}" update -q 2>&1) || grep -q '^E: ' <<<"$out"; then
        why="$why; and $codename's own index failed to download too"
    elif why=$(cajon_apt_plan_safe "${opts[@]}" -- "$@"); then
        if cajon_apt_install_safe "${opts[@]}" -- "$@"; then
            $sudo rm -rf "$tmp"
            return 0
        fi
        why="installing from $codename alone failed"
    else
        why="from $codename alone $why"
    fi
    $sudo rm -rf "$tmp"
    echo "$why"
    return 1
}

# cajon_apt_plan_safe [APT-OPTIONS...] -- PACKAGES...
# True when apt-get can install PACKAGES removing and downgrading nothing, by
# its simulation; otherwise prints why, in a few words.
cajon_apt_plan_safe() {
    local opts=() plan removed downgraded=() name old new
    while [ "$1" != -- ]; do opts+=("$1"); shift; done
    shift
    if ! plan=$(apt-get "${opts[@]}" -s -q install --no-install-recommends "$@" 2>&1); then
        echo "apt cannot satisfy their dependencies ($(grep -m1 '^E: ' <<<"$plan" | cut -c4-))"
        return 1
    fi
    removed=$(sed -nE 's/^Remv ([^ ]+) .*/\1/p' <<<"$plan")
    while read -r name old new; do
        [ -n "$name" ] && dpkg --compare-versions "$new" lt "$old" && downgraded+=("$name")
    done < <(sed -nE 's/^Inst ([^ ]+) \[([^]]+)\] \(([^ ]+) .*/\1 \2 \3/p' <<<"$plan")
    if [ -n "$removed" ]; then
        echo "apt would remove $(wc -l <<<"$removed") installed packages ($(head -6 <<<"$removed" | tr '\n' ' ')...)"
        return 1
    fi
    if [ ${#downgraded[@]} -gt 0 ]; then
        echo "apt would downgrade ${#downgraded[@]} installed packages (${downgraded[*]:0:6} ...)"
        return 1
    fi
    return 0
}

# cajon_apt_install_safe [APT-OPTIONS...] -- PACKAGES...
# The install itself, told to stop rather than remove or downgrade anything.
cajon_apt_install_safe() {
    local opts=() sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    while [ "$1" != -- ]; do opts+=("$1"); shift; done
    shift
    DEBIAN_FRONTEND=noninteractive $sudo apt-get "${opts[@]}" install -y -q --no-install-recommends \
        --no-remove "$@"
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
