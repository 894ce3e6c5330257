"""Loads a page in headless Chromium, driven over DevTools on a pipe (no port,
no extra package), and prints its title once it starts with "R:" or "E:",
then the page's t0 if it set one. PERMISSION, unless "prompt", is set first
for loopback requests, as the cashier's answer to the browser's prompt. With
--tambien, another page is opened first in the same browser and left to run.
Waits CDP_ESPERA seconds at most (30); ends at once, with Chromium's reason,
if Chromium ends first.
    cdp_pagina.py URL PROFILE granted|denied|prompt [--tambien URL] [CHROMIUM FLAGS...]"""
import fcntl, json, os, subprocess, sys, time

url, perfil, permiso, extra = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
tambien = extra[1] if extra[:1] == ["--tambien"] else None
extra = extra[2:] if tambien else extra
# Chromium reads orders on its fd 3 and writes answers on its fd 4.
def alto(fd):
    nuevo = fcntl.fcntl(fd, fcntl.F_DUPFD_CLOEXEC, 10)
    os.close(fd)
    return nuevo
a_chromium, de_aqui = map(alto, os.pipe())
a_aqui, de_chromium = map(alto, os.pipe())
os.makedirs(perfil, exist_ok=True)
errores = open(os.path.join(perfil, "chromium.log"), "w+b")
proceso = subprocess.Popen(
    ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
     "--disable-component-update", "--disable-sync", "--no-first-run", "--remote-debugging-pipe",
     "--user-data-dir=" + perfil, *extra, "about:blank"],
    preexec_fn=lambda: (os.dup2(a_chromium, 3), os.dup2(de_chromium, 4)), pass_fds=(3, 4),
    stdout=subprocess.DEVNULL, stderr=errores,
    # Its singleton folder goes there too: it is killed, and would leave one in /tmp a run.
    env={**os.environ, "TMPDIR": perfil})
os.close(a_chromium), os.close(de_chromium)
salida, entrada, resto, siguiente = os.fdopen(de_aqui, "wb"), a_aqui, b"", 0


def orden(metodo, sesion=None, **params):
    global siguiente, resto
    siguiente += 1
    mensaje = {"id": siguiente, "method": metodo, "params": params}
    if sesion:
        mensaje["sessionId"] = sesion
    salida.write(json.dumps(mensaje).encode() + b"\0")
    salida.flush()
    while True:
        while b"\0" not in resto:
            leido = os.read(entrada, 65536)
            if not leido:
                errores.seek(0)
                razon = errores.read().decode(errors="replace").strip().splitlines()[-5:]
                sys.exit("Chromium ended (exit code %s): %s" % (proceso.wait(), " | ".join(razon)))
            resto += leido
        texto, resto = resto.split(b"\0", 1)
        respuesta = json.loads(texto)
        if respuesta.get("id") == siguiente:
            return respuesta


def abrir(direccion):
    objetivo = orden("Target.createTarget", url=direccion)["result"]["targetId"]
    return orden("Target.attachToTarget", targetId=objetivo, flatten=True)["result"]["sessionId"]


try:
    origen = "/".join(url.split("/")[:3])
    if permiso != "prompt":
        for nombre in ("loopback-network", "local-network-access"):
            orden("Browser.setPermission", origin=origen, permission={"name": nombre},
                  setting=permiso)
    if tambien:
        abrir(tambien)
    sesion, titulo = abrir(url), ""
    fin = time.monotonic() + float(os.environ.get("CDP_ESPERA", "30"))
    while time.monotonic() < fin:
        r = orden("Runtime.evaluate", sesion, expression="document.title + '\\n' + (self.t0 || '')")
        titulo = r.get("result", {}).get("result", {}).get("value", "")
        if titulo.startswith(("R:", "E:")):
            break
        time.sleep(0.1)
    print(titulo or "sin respuesta")
finally:
    proceso.kill()
    proceso.wait()
