# The web developer's kit, made from its one source, bridge/abrircajon.mjs.
# Sourced by scripts/package.sh, scripts/lib/package.sh and the tests.
#
#   cajon_kit DIR   writes into DIR: abrircajon.mjs (the ES module, as it
#                   stands), abrircajon.js (the same code as a classic
#                   script that sets window.AbrirCajon), abrircajon.d.ts and
#                   abrircajon.d.mts (its types, for the script and for the
#                   module) and demo.html

CAJON_ROOT=${CAJON_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}

# The classic script: the module's code in a function of its own, with
# "export" dropped, and its one object left on the page's global.
cajon_kit_clasico() {
    local mjs=$CAJON_ROOT/bridge/abrircajon.mjs
    printf '/* abrircajon.js: made from abrircajon.mjs by scripts/lib/kit.sh; edit that one. */\n'
    printf '(function (global) {\n"use strict";\n'
    sed -e '/^export default /d' -e 's/^export //' "$mjs"
    printf 'global.AbrirCajon = AbrirCajon;\n})(typeof window !== "undefined" ? window : this);\n'
}

cajon_kit() {
    local dir=$1
    mkdir -p "$dir" || return 1
    cp "$CAJON_ROOT/bridge/abrircajon.mjs" "$CAJON_ROOT/bridge/abrircajon.d.ts" \
        "$CAJON_ROOT/bridge/demo.html" "$dir/" || return 1
    # TypeScript looks for an .mjs file's types in .d.mts.
    cp "$CAJON_ROOT/bridge/abrircajon.d.ts" "$dir/abrircajon.d.mts" || return 1
    cajon_kit_clasico >"$dir/abrircajon.js"
}
