"""Loads a page in headless Chromium, driven over DevTools on a pipe (no port,
no extra package), and prints its title once it starts with "R:" or "E:",
then the page's t0 if it set one. PERMISSION, unless "prompt", is set first
for loopback requests, as the cashier's answer to the browser's prompt:
    cdp_pagina.py URL PROFILE granted|denied|prompt [CHROMIUM FLAGS...]"""
import fcntl, json, os, subprocess, sys, time

url, perfil, permiso, extra = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
# Chromium reads orders on its fd 3 and writes answers on its fd 4.
def alto(fd):
    nuevo = fcntl.fcntl(fd, fcntl.F_DUPFD_CLOEXEC, 10)
    os.close(fd)
    return nuevo
a_chromium, de_aqui = map(alto, os.pipe())
a_aqui, de_chromium = map(alto, os.pipe())
proceso = subprocess.Popen(
    ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
     "--disable-component-update", "--disable-sync", "--no-first-run", "--remote-debugging-pipe",
     "--user-data-dir=" + perfil, *extra, "about:blank"],
    preexec_fn=lambda: (os.dup2(a_chromium, 3), os.dup2(de_chromium, 4)), pass_fds=(3, 4),
    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
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
            resto += os.read(entrada, 65536)
        texto, resto = resto.split(b"\0", 1)
        respuesta = json.loads(texto)
        if respuesta.get("id") == siguiente:
            return respuesta


try:
    origen = "/".join(url.split("/")[:3])
    if permiso != "prompt":
        for nombre in ("loopback-network", "local-network-access"):
            orden("Browser.setPermission", origin=origen, permission={"name": nombre},
                  setting=permiso)
    objetivo = orden("Target.createTarget", url=url)["result"]["targetId"]
    sesion = orden("Target.attachToTarget", targetId=objetivo, flatten=True)["result"]["sessionId"]
    titulo = ""
    for _ in range(100):
        r = orden("Runtime.evaluate", sesion, expression="document.title + '\\n' + (self.t0 || '')")
        titulo = r.get("result", {}).get("result", {}).get("value", "")
        if titulo.startswith(("R:", "E:")):
            break
        time.sleep(0.1)
    print(titulo or "sin respuesta")
finally:
    proceso.kill()
    proceso.wait()
