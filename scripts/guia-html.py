#!/usr/bin/env python3
"""Writes the shop's guide, docs/guia.md, as one page of HTML that the
program's folder carries (guia.html): no style sheet, picture or script of
its own beside it, readable in any browser without a network.

    guia-html.py docs/guia.md guia.html [VERSION]

The Markdown it reads is the part the guide uses: headings (#, ##, ###),
paragraphs, lists (- and 1.) with what is indented under an item, tables,
fenced code, `code`, **bold**, *italic* and [links](url). A link to another
.md of the repository is not there once installed: its text stays, as plain
text. Anything else is written as text, never dropped; the output is
well-formed XML, which the package check reads back with xmllint."""
import html
import re
import sys

ESTILO = """
body { font-family: "Segoe UI", system-ui, sans-serif; line-height: 1.45; margin: 1.5em auto; max-width: 52em; padding: 0 1em; color: #1b1b1b; }
h1 { border-bottom: 2px solid #2b5797; padding-bottom: .2em; }
h2 { border-bottom: 1px solid #ccc; padding-bottom: .15em; margin-top: 1.8em; }
code, pre { font-family: Consolas, "DejaVu Sans Mono", monospace; background: #f3f3f3; }
code { padding: 0 .2em; }
pre { padding: .6em .8em; overflow-x: auto; }
table { border-collapse: collapse; margin: .6em 0; }
th, td { border: 1px solid #bbb; padding: .25em .5em; vertical-align: top; text-align: left; }
th { background: #e8eef7; }
nav { background: #f6f8fb; border: 1px solid #dde; padding: .4em 1em; }
nav ul { margin: .3em 0; }
"""


def en_linea(texto):
    """Inline Markdown to HTML: code first, so that nothing inside it counts."""
    partes = re.split(r"(`[^`]*`)", texto)
    salida = []
    for parte in partes:
        if len(parte) >= 2 and parte.startswith("`") and parte.endswith("`"):
            salida.append("<code>" + html.escape(parte[1:-1], quote=False) + "</code>")
            continue
        t = html.escape(parte, quote=False)
        t = re.sub(r"\*\*(.+?)\*\*", r"<strong>\1</strong>", t)
        t = re.sub(r"(?<![\w*])\*(?!\s)(.+?)(?<!\s)\*(?![\w*])", r"<em>\1</em>", t)

        def enlace(m):
            etiqueta, destino = m.group(1), m.group(2)
            if not re.match(r"^(https?:|mailto:|#)", destino):
                return etiqueta  # a file of the repository: not installed
            return '<a href="%s">%s</a>' % (html.escape(destino, quote=True), etiqueta)

        t = re.sub(r"\[([^\]]+)\]\(([^)\s]+)\)", enlace, t)
        salida.append(t)
    return "".join(salida)


def ancla(texto):
    t = re.sub(r"[`*]", "", texto).lower()
    t = re.sub(r"[^\w\- ]", "", t, flags=re.UNICODE).strip()
    return re.sub(r"\s+", "-", t)


def celdas(linea):
    linea = linea.strip()
    if linea.startswith("|"):
        linea = linea[1:]
    if linea.endswith("|"):
        linea = linea[:-1]
    # A | inside `code` belongs to the code.
    partes, actual, en_codigo = [], "", False
    for c in linea:
        if c == "`":
            en_codigo = not en_codigo
        if c == "|" and not en_codigo:
            partes.append(actual)
            actual = ""
        else:
            actual += c
    partes.append(actual)
    return [p.strip() for p in partes]


ITEM = re.compile(r"^( *)(-|\d+\.) +(.*)$")


def bloques(lineas, titulos):
    """The blocks of a run of lines (already without their common indent)."""
    out = []
    i = 0
    while i < len(lineas):
        linea = lineas[i]
        if not linea.strip():
            i += 1
            continue
        m = re.match(r"^(#{1,4}) +(.*)$", linea)
        if m:
            nivel, texto = len(m.group(1)), m.group(2).strip()
            ident = ancla(texto)
            titulos.append((nivel, ident, texto))
            out.append('<h%d id="%s">%s</h%d>' % (nivel, ident, en_linea(texto), nivel))
            i += 1
            continue
        if linea.startswith("```"):
            fin = i + 1
            while fin < len(lineas) and not lineas[fin].startswith("```"):
                fin += 1
            out.append("<pre><code>" + html.escape("\n".join(lineas[i + 1:fin]), quote=False) +
                       "</code></pre>")
            i = fin + 1
            continue
        if linea.lstrip().startswith("|"):
            filas = []
            while i < len(lineas) and lineas[i].lstrip().startswith("|"):
                filas.append(celdas(lineas[i]))
                i += 1
            cabeza = filas[0]
            cuerpo = [f for f in filas[1:] if not all(re.fullmatch(r":?-+:?", c) for c in f)]
            t = ["<table>", "<tr>" + "".join("<th>%s</th>" % en_linea(c) for c in cabeza) + "</tr>"]
            for f in cuerpo:
                t.append("<tr>" + "".join("<td>%s</td>" % en_linea(c) for c in f) + "</tr>")
            t.append("</table>")
            out.append("\n".join(t))
            continue
        m = ITEM.match(linea)
        if m:
            ordenada = m.group(2) != "-"
            items = []
            while i < len(lineas):
                m = ITEM.match(lineas[i])
                if not m or (m.group(2) != "-") != ordenada:
                    break
                sangria = len(m.group(1)) + len(m.group(2)) + 1
                contenido = [m.group(3)]
                i += 1
                # What follows, indented under the item, or after a blank line
                # still indented, is the item's.
                while i < len(lineas):
                    siguiente = lineas[i]
                    if not siguiente.strip():
                        if i + 1 < len(lineas) and lineas[i + 1].startswith(" " * sangria):
                            contenido.append("")
                            i += 1
                            continue
                        break
                    if siguiente.startswith(" " * sangria):
                        contenido.append(siguiente[sangria:])
                        i += 1
                        continue
                    if ITEM.match(siguiente) or siguiente.lstrip().startswith(("|", "```", "#")):
                        break
                    contenido.append(siguiente.strip())  # a lazy continuation
                    i += 1
                items.append(contenido)
                while i < len(lineas) and not lineas[i].strip():
                    if i + 1 < len(lineas) and ITEM.match(lineas[i + 1]):
                        i += 1
                    else:
                        break
            etiqueta = "ol" if ordenada else "ul"
            html_items = []
            for contenido in items:
                # A first paragraph stays inline; the rest are blocks.
                primero = []
                while contenido and contenido[0].strip() and not ITEM.match(contenido[0]) and \
                        not contenido[0].lstrip().startswith(("|", "```")):
                    primero.append(contenido.pop(0).strip())
                dentro = en_linea(" ".join(primero))
                resto = bloques(contenido, titulos)
                html_items.append("<li>" + dentro + ("\n" + "\n".join(resto) if resto else "") + "</li>")
            out.append("<%s>\n%s\n</%s>" % (etiqueta, "\n".join(html_items), etiqueta))
            continue
        parrafo = []
        while i < len(lineas) and lineas[i].strip() and not ITEM.match(lineas[i]) and \
                not lineas[i].lstrip().startswith(("|", "```", "#")):
            parrafo.append(lineas[i].strip())
            i += 1
        out.append("<p>" + en_linea(" ".join(parrafo)) + "</p>")
    return out


def main():
    origen, destino = sys.argv[1], sys.argv[2]
    version = sys.argv[3] if len(sys.argv) > 3 else ""
    with open(origen, encoding="utf-8") as f:
        lineas = f.read().splitlines()
    titulos = []
    cuerpo = bloques(lineas, titulos)
    titulo = next((t for n, _, t in titulos if n == 1), "AbrirCajon")
    indice = ["<nav><strong>Contenido</strong><ul>"]
    indice += ['<li><a href="#%s">%s</a></li>' % (i, en_linea(t)) for n, i, t in titulos if n == 2]
    indice.append("</ul></nav>")
    # After the first heading: the table of contents.
    cuerpo[1:1] = indice
    pie = "<p><small>AbrirCajon %s</small></p>" % html.escape(version) if version else ""
    pagina = ('<!DOCTYPE html>\n<html lang="es">\n<head>\n<meta charset="utf-8"/>\n'
              '<meta name="viewport" content="width=device-width, initial-scale=1"/>\n'
              "<title>%s</title>\n<style>%s</style>\n</head>\n<body>\n%s\n%s\n</body>\n</html>\n"
              % (html.escape(re.sub(r"[`*]", "", titulo)), ESTILO, "\n".join(cuerpo), pie))
    with open(destino, "w", encoding="utf-8", newline="\n") as f:
        f.write(pagina)


if __name__ == "__main__":
    main()
