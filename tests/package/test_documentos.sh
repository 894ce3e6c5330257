#!/usr/bin/env bash
# The documents against the program and against each other. The parameters'
# table, docs/parametros.tsv (key, policy scope, default, use), is the one
# source: its keys are the program's (the `claves` constants); the guide's
# table (docs/guia.md) is its rows as they stand; LEAME.txt names every key,
# and its "por defecto" values are the table's; each policy of the ADMX has
# the table's scope (Machine: "equipo", Both: "equipo y usuario"), and in both
# ADMLs its name carries its key and its text box the table's default. The
# event IDs and levels in docs/it-admin.md and docs/informatica.md are those
# of the message table (resources/Eventos.mc) and drawer/EventosApertura.h.
# The guide's page (scripts/guia-html.py) is well-formed and has the guide's
# sections and tables. Files the README links to exist. Exits non-zero on a
# fault.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
fallos=0
falla() {
    echo "FAIL: $*"
    fallos=$((fallos + 1))
}
igual() {  # igual WHAT EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then echo "ok: $1"; else falla "$1: $(diff <(echo "$2") <(echo "$3") | grep '^[<>]' | head -8 | xargs -0)"; fi
}
tsv=docs/parametros.tsv
admx=policies/AbrirCajon.admx
admls=(policies/es-ES/AbrirCajon.adml policies/en-US/AbrirCajon.adml)
valores() { xmllint --xpath "$1" "$2" 2>/dev/null | grep -oE '"[^"]*"' | tr -d '"'; }
texto() { xmllint --xpath "string($1)" "$2" 2>/dev/null; }
el() { echo "//*[local-name()=\"$1\"]"; }

programa=$(for h in $(git ls-files 'settings/*.h' 'drawer/*.h' 'bridge/*.h' 'ui/*.h'); do
    sed -n '/^namespace claves {/,/^}/p' "$h"
done | sed -nE 's/^inline constexpr std::string_view ([A-Za-z0-9_]+) = "\1";$/\1/p' | sort)
[ -n "$programa" ] || falla "no key found in the program's headers"
igual "the table's keys are the program's" "$programa" "$(tail -n +2 "$tsv" | cut -f1 | sort)"
igual "the table has four columns a row" "4" "$(awk -F'\t' '{print NF}' "$tsv" | sort -u | xargs)"

# The guide: its table, row by row.
esperada=$(tail -n +2 "$tsv" | awk -F'\t' '{ d = $3 == "" ? "(vacío)" : "`" $3 "`"; printf "| `%s` | %s | %s |\n", $1, d, $4 }')
guia=$(sed -n '/^| clave | por defecto | uso |$/,/^$/p' docs/guia.md | tail -n +3 | sed '/^$/d')
igual "docs/guia.md: the parameters' table is docs/parametros.tsv" "$esperada" "$guia"

# LEAME.txt: one entry a key in its Parámetros section, with the defaults it states.
leame=$(sed -n '/^Parámetros$/,/^Cualquiera de estas claves/p' installer/LEAME.txt)
while IFS=$'\t' read -r clave _ defecto _; do
    entrada=$(awk -v k="$clave" '$1 == k { dentro = 1; print; next }
        dentro && /^  [A-Za-z_]+ / { exit } dentro { print }' <<<"$leame" | tr -s ' \n' '  ')
    if [ -z "$entrada" ]; then
        falla "LEAME.txt does not name $clave in its Parámetros section"
    elif [[ $entrada == *"por defecto"* ]] && [[ $entrada != *"por defecto $defecto"* ]]; then
        falla "LEAME.txt: $clave by default is [$defecto] in $tsv: $entrada"
    fi
done < <(tail -n +2 "$tsv")
antes=$fallos

# The templates: scope, names and defaults.
while IFS=$'\t' read -r clave ambito defecto _; do
    politica="$(el policy)[@name=\"$clave\"]"
    clase=$(valores "$politica/@class" "$admx")
    case "$ambito" in
        equipo) [ "$clase" == Machine ] || falla "$clave: policy class [$clase], the table says $ambito" ;;
        "equipo y usuario") [ "$clase" == Both ] || falla "$clave: policy class [$clase], the table says $ambito" ;;
        *) falla "$clave: scope [$ambito] is neither equipo nor equipo y usuario" ;;
    esac
    for adml in "${admls[@]}"; do
        [[ $(texto "$(el string)[@id=\"$clave\"]" "$adml") == *"($clave)" ]] ||
            falla "$adml: the name of $clave does not end in ($clave)"
        explicacion=$(texto "$(el string)[@id=\"${clave}_Explain\"]" "$adml")
        [[ $explicacion == *"$clave"* ]] || falla "$adml: the explanation of $clave does not name it"
        caja=$(texto "$(el presentation)[@id=\"$clave\"]/*[local-name()=\"textBox\"]/*[local-name()=\"defaultValue\"]" "$adml")
        [ -z "$caja" ] || [ "$caja" == "$defecto" ] || falla "$adml: $clave's box shows [$caja], the default is [$defecto]"
        numero=$(valores "$(el presentation)[@id=\"$clave\"]/*[local-name()=\"decimalTextBox\"]/@defaultValue" "$adml")
        [ -z "$numero" ] || [ "$numero" == "$defecto" ] || falla "$adml: $clave's box shows [$numero], the default is [$defecto]"
    done
done < <(tail -n +2 "$tsv")
[ "$fallos" -eq "$antes" ] && echo "ok: LEAME.txt names every key with the table's defaults; the templates' scopes, names and defaults"
# What the program does with the lock and without the origins' policy.
for adml in "${admls[@]}"; do
    bloqueo=$(texto "$(el string)[@id=\"KovraBloqueado_Explain\"]" "$adml")
    [[ $bloqueo == *"Configurado por el administrador"* ]] || falla "$adml: KovraBloqueado does not say the controls are greyed"
    grep -qiE 'hasta que se cierre el programa|until the program (ends|closes)' <<<"$bloqueo" &&
        falla "$adml: KovraBloqueado says changes last until the program ends"
done

# Events: each ID with its level, in both documents, as the program writes them.
mc=$(sed -nE 's/^MessageId=([0-9]+) .*/\1/p' resources/*.mc | sort)
declare -A nivel=([Informacion]=Information [Aviso]=Warning [Error]=Error)
programa_ev=$(sed -nE 's/^inline constexpr ClaseEvento k[A-Za-z]+\{([0-9]+), TipoEvento::([A-Za-z]+)\};/\1 \2/p' \
    drawer/EventosApertura.h | while read -r id n; do echo "$id ${nivel[$n]:-$n}"; done | sort)
igual "the program's event IDs are the message table's" "$mc" "$(cut -d' ' -f1 <<<"$programa_ev")"
igual "docs/it-admin.md: every event ID with its level" "$programa_ev" \
    "$(sed -nE 's/^\| ([0-9]{4}) \| (Information|Warning|Error) \|.*/\1 \2/p' docs/it-admin.md | sort)"
declare -A es=([Information]=Información [Warning]=Advertencia [Error]=Error)
igual "docs/informatica.md: every event ID with its level" \
    "$(while read -r id n; do echo "$id ${es[$n]}"; done <<<"$programa_ev")" \
    "$(sed -nE 's/^\| ([0-9]{4}) \| (Información|Advertencia|Error) \|.*/\1 \2/p' docs/informatica.md | sort)"
for doc in docs/it-admin.md docs/informatica.md; do
    grep -q 'CF935498-885B-4E21-A2B6-57E559428C95' "$doc" &&
        [ "$(xmllint --xpath 'string(//*[local-name()="Product"]/@UpgradeCode)' installer/AbrirCajon.wxs)" == \
            CF935498-885B-4E21-A2B6-57E559428C95 ] || falla "$doc: not the package's UpgradeCode"
done
igual "docs/it-admin.md and docs/informatica.md: as many sections" \
    "$(grep -c '^## ' docs/informatica.md)" "$(grep -c '^## ' docs/it-admin.md)"

# The guide's page.
pagina=$(mktemp)
trap 'rm -f "$pagina"' EXIT
if python3 scripts/guia-html.py docs/guia.md "$pagina" 9.9.9 && xmllint --noout "$pagina"; then
    igual "guia.html: the guide's sections" "$(sed -nE 's/^## (.*)/\1/p' docs/guia.md | sed 's/[`*]//g')" \
        "$(grep -oE '<h2 id="[^"]*">[^<]*' "$pagina" | sed 's/.*">//' | python3 -c 'import html, sys; print(html.unescape(sys.stdin.read()), end="")')"
    igual "guia.html: the guide's tables" "$(grep -cE '^ *\|[-|]+\|$' docs/guia.md)" "$(grep -c '<table>' "$pagina")"
    grep -q 'AbrirCajon 9.9.9' "$pagina" || falla "guia.html does not carry its version"
else
    falla "guia.html is not well-formed"
fi

for f in $(grep -oE '\]\(([A-Za-z0-9_./-]+\.(md|tsv|html|png))\)' README.md | sed -E 's/\]\((.*)\)/\1/'); do
    [ -f "$f" ] || falla "README.md links to $f, which does not exist"
done

[ "$fallos" -eq 0 ] && echo "documents: all checks passed"
[ "$fallos" -eq 0 ]
