# A receipt printer with a drawer, for the sensor's tests:
#   impresora_escpos.py tcp LISTO REGISTRO ABIERTO   on 127.0.0.1, its port in LISTO
#   impresora_escpos.py pty LISTO REGISTRO ABIERTO   behind a pseudo-terminal, its
#                                                    slave's path in LISTO
# Every kick (ESC p ...) opens the drawer for ABIERTO seconds; DLE EOT 1 is
# answered with 0x12, plus 0x04 while the drawer is open (pin 3 high).
# ABIERTO "mudo": no answer ever; "parado" (terminal only): a printer that
# has said XOFF, so the line takes no byte. REGISTRO gets one line per kick, the bytes
# in hex; REGISTRO.preguntas one line per question; on the terminal,
# REGISTRO.baudios the line's speed as the program left it at each kick.
import os, select, socket, sys, termios, time, tty

modo, listo, registro, abierto = sys.argv[1:5]
mudo = abierto in ("mudo", "parado")
BAUDIOS = {getattr(termios, "B%d" % n): n for n in (1200, 2400, 4800, 9600, 19200, 38400, 115200)}
hasta = 0.0  # the drawer is open until then


def escribir(nombre, linea):
    with open(nombre, "a") as f:
        f.write(linea + "\n")


def atender(datos):
    """What the printer makes of the bytes, a kick before a question; returns its answer."""
    global hasta
    preguntas = datos.count(b"\x10\x04\x01")
    datos = datos.replace(b"\x10\x04\x01", b"")
    if datos:
        escribir(registro, datos.hex())
        if b"\x1bp" in datos and not mudo:
            hasta = time.time() + float(abierto)
    for _ in range(preguntas):
        escribir(registro + ".preguntas", "%.3f" % time.time())
    if mudo:
        return b""
    return bytes([0x12 | (0x04 if time.time() < hasta else 0)]) * preguntas


def anunciar(texto):
    with open(listo + ".tmp", "w") as f:
        f.write(texto + "\n")
    os.rename(listo + ".tmp", listo)


if modo == "tcp":
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    s.listen(16)
    anunciar(str(s.getsockname()[1]))
    while True:
        c, _ = s.accept()
        with c:
            datos = b""
            c.settimeout(2)
            try:
                while True:  # a question is answered at once; a kick ends with the close
                    parte = c.recv(4096)
                    if not parte:
                        break
                    datos += parte
                    if datos.endswith(b"\x10\x04\x01"):
                        c.sendall(atender(datos))
                        datos = b""
            except OSError:
                pass
            if datos:
                atender(datos)
else:
    maestro, esclavo = os.openpty()
    tty.setraw(esclavo)
    if abierto == "parado":
        atributos = termios.tcgetattr(esclavo)
        atributos[0] |= termios.IXON
        termios.tcsetattr(esclavo, termios.TCSANOW, atributos)
        os.write(maestro, b"\x13")
    anunciar(os.ttyname(esclavo))
    pendiente = b""
    while True:
        listos, _, _ = select.select([maestro], [], [], 0.1)
        if listos:
            pendiente += os.read(maestro, 4096)
            if pendiente.endswith(b"\x10\x04\x01"):
                os.write(maestro, atender(pendiente))
                pendiente = b""
        elif pendiente:  # a kick: its bytes, then a pause
            velocidad = termios.tcgetattr(esclavo)[4]
            escribir(registro + ".baudios", str(BAUDIOS.get(velocidad, velocidad)))
            atender(pendiente)
            pendiente = b""
