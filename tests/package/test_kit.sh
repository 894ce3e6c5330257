#!/usr/bin/env bash
# The web developer's kit (scripts/lib/kit.sh) as it ships: made from its one
# source, bridge/abrircajon.mjs, into a folder; the module and the classic
# script made from it both run every case of kit_escenarios.mjs in Node
# against a stand-in for the bridge; the types name exactly what the module
# exports; tsc --noEmit (TypeScript from npm, installed when missing) takes a
# page that uses every export and the classic global, and refuses one that
# misuses them, line by line; demo.html imports only what the module exports.
# Exits non-zero on a fault.
set -uo pipefail
CAJON_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$CAJON_ROOT"
source scripts/lib/deps.sh
source scripts/lib/kit.sh
fallos=0
falla() {
    echo "FAIL: $*"
    fallos=$((fallos + 1))
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
kit=$work/kit

cajon_kit "$kit" || falla "cajon_kit did not make the kit"
check_eq() { [ "$2" == "$3" ] && echo "ok: $1" || falla "$1: expected [$2], got [$3]"; }
check_eq "the kit's files" "abrircajon.d.mts abrircajon.d.ts abrircajon.js abrircajon.mjs demo.html" \
    "$(ls "$kit" | xargs)"
git ls-files --error-unmatch bridge/abrircajon.js >/dev/null 2>&1 &&
    falla "bridge/abrircajon.js is kept by hand: it is made from abrircajon.mjs"
check_eq "the classic script holds the module's code" "" \
    "$(diff <(sed -e '/^export default /d' -e 's/^export //' bridge/abrircajon.mjs) <(sed '1,3d;$d' "$kit/abrircajon.js" | sed '$d'))"

node tests/package/kit_escenarios.mjs "$kit" || falla "the kit's cases in Node"

exportado=$(cd "$kit" && node --input-type=module -e \
    'const m = await import("./abrircajon.mjs"); console.log(Object.keys(m).sort().join(" "))')
tipado=$( (sed -nE 's/^export declare (function|const) ([A-Za-z]+).*/\2/p; s/^export default .*/default/p' \
    bridge/abrircajon.d.ts) | sort | xargs)
check_eq "the types declare what the module exports" "$exportado" "$tipado"
demo=$(sed -nE 's/^import \{ ([^}]*) \} from "\.\/abrircajon\.mjs";/\1/p' bridge/demo.html | tr -d ',' | xargs -n1 | sort)
[ -n "$demo" ] && [ -z "$(comm -23 <(echo "$demo") <(xargs -n1 <<<"$exportado" | sort))" ] &&
    echo "ok: demo.html imports from the module what it exports ($(xargs <<<"$demo"))" ||
    falla "demo.html imports [$(xargs <<<"$demo")], the module exports [$exportado]"

if tsc=$(cajon_tsc); then
    cp tests/package/kit/*.ts "$kit/"
    opciones=(--noEmit --strict --target es2022 --module es2022 --moduleResolution bundler --lib es2022,dom)
    (cd "$kit" && "$tsc" "${opciones[@]}" modulo.ts clasico.ts) &&
        echo "ok: tsc takes every export and the classic global ($("$tsc" --version))" ||
        falla "tsc refused the pages that use the kit as documented"
    errores=$(cd "$kit" && "$tsc" "${opciones[@]}" mal.ts | grep -oE '^mal\.ts\([0-9]+' | sort -u | wc -l)
    check_eq "tsc refuses each misuse in mal.ts" "$(grep -c '^void ' tests/package/kit/mal.ts)" "$errores"
else
    falla "TypeScript could not be installed from npm"
fi

[ "$fallos" -eq 0 ] && echo "web kit: all checks passed"
[ "$fallos" -eq 0 ]
