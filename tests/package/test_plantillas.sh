#!/usr/bin/env bash
# The policy templates (policies/AbrirCajon.admx and its es-ES and en-US
# .adml), read with xmllint as the Group Policy editor and Intune read them:
# well-formed; every string and presentation the template names exists in
# both languages, and each presentation has a control for every element of
# its policy and no other; every category and support level named is
# defined; every policy writes under Software\Policies\AbrirCajon only; one
# policy for each parameter the program reads (its key constants, `claves`)
# and none for any other; what Intune refuses: a key under
# Software\Policies\Microsoft, combo boxes, 1 MB. Exits non-zero on a fault.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
admx=policies/AbrirCajon.admx
admls=(policies/es-ES/AbrirCajon.adml policies/en-US/AbrirCajon.adml)
fallos=0
falla() {
    echo "FAIL: $*"
    fallos=$((fallos + 1))
}
# The values of the attributes an XPath selects, one a line.
valores() { xmllint --xpath "$1" "$2" 2>/dev/null | grep -oE '"[^"]*"' | tr -d '"'; }
el() { echo "//*[local-name()=\"$1\"]"; }

for f in "$admx" "${admls[@]}"; do
    xmllint --noout "$f" || falla "$f is not well-formed"
done

# Names in the template and in each language.
nombrados() { grep -oE "\\\$\\($1\\.[A-Za-z0-9_]+\\)" "$admx" | sed -E 's/.*\.(.*)\)/\1/' | sort -u; }
for adml in "${admls[@]}"; do
    for tipo in string presentation; do
        faltan=$(comm -23 <(nombrados "$tipo") <(valores "$(el "$tipo")/@id" "$adml" | sort -u))
        [ -z "$faltan" ] || falla "$adml lacks the ${tipo}s $(xargs <<<"$faltan")"
    done
done
[ "$(valores "$(el string)/@id" "${admls[0]}" | sort)" == "$(valores "$(el string)/@id" "${admls[1]}" | sort)" ] ||
    falla "the two languages have different strings"

for p in $(valores "$(el policy)/@name" "$admx"); do
    politica="$(el policy)[@name=\"$p\"]"
    presentacion=$(valores "$politica/@presentation" "$admx" | sed -E 's/.*\.(.*)\)/\1/')
    elementos=$(valores "$politica$(el elements)/*/@id" "$admx" | sort)
    for adml in "${admls[@]}"; do
        controles=""
        [ -z "$presentacion" ] ||
            controles=$(valores "$(el presentation)[@id=\"$presentacion\"]/*/@refId" "$adml" | sort)
        [ "$controles" == "$elementos" ] ||
            falla "$p: its elements [$(xargs <<<"$elementos")] and the controls in $adml [$(xargs <<<"$controles")]"
    done
    for ref in parentCategory supportedOn; do
        nombre=$(valores "$politica$(el $ref)/@ref" "$admx")
        [ -n "$nombre" ] && valores "$(el category)/@name | $(el definition)/@name" "$admx" | grep -qxF "$nombre" ||
            falla "$p: its $ref [$nombre] is not defined"
    done
done

claves=$(valores "$(el policy)/@key | $(el policy)//*/@key" "$admx" | sort -u)
[ "$claves" == 'Software\Policies\AbrirCajon' ] || falla "keys other than Software\\Policies\\AbrirCajon: $claves"

# Every value a policy writes is a parameter the program reads, one policy
# each; and every parameter has its policy.
programa=$(for h in $(git ls-files 'settings/*.h' 'drawer/*.h' 'bridge/*.h' 'ui/*.h'); do
    sed -n '/^namespace claves {/,/^}/p' "$h"
done | sed -nE 's/^inline constexpr std::string_view ([A-Za-z0-9_]+) = "\1";$/\1/p' | sort)
por_politica=$(for p in $(valores "$(el policy)/@name" "$admx"); do
    valores "$(el policy)[@name=\"$p\"]//@valueName" "$admx" | sort -u
done | sort)
[ "$por_politica" == "$programa" ] ||
    falla "policies and the program's parameters differ: $(diff <(echo "$por_politica") <(echo "$programa") | grep '^[<>]' | xargs)"

grep -qi 'Software\\Policies\\Microsoft' "$admx" && falla "a key under Software\\Policies\\Microsoft"
grep -q '<comboBox' "${admls[@]}" && falla "a combo box, which Intune does not import"
tamano=$(cat "$admx" "${admls[@]}" | wc -c)
[ "$tamano" -lt 262144 ] || falla "the templates take $tamano bytes"

[ "$fallos" -eq 0 ] && echo "policy templates: $(valores "$(el policy)/@name" "$admx" | wc -l) policies, $tamano bytes"
[ "$fallos" -eq 0 ]
