# A receipt printer with a drawer, for the sensor's tests:
#   impresora_escpos.py tcp LISTO REGISTRO ABIERTO [OPCION...]   on 127.0.0.1, its port in LISTO
#   impresora_escpos.py pty LISTO REGISTRO ABIERTO [OPCION...]   behind a pseudo-terminal, its
#                                                                slave's path in LISTO
# A kick (ESC p ...) opens a closed drawer for ABIERTO seconds (a kick while it
# is open changes nothing); DLE EOT 1 is answered with 0x12, plus 0x04 while
# the drawer is open (pin 3 high).
# ABIERTO "mudo": no answer ever; "parado" (terminal only): a printer that
# has said XOFF, so the line takes no byte.
# OPCION, as a till's printer may behave:
#   tarde=S      the drawer opens S seconds after the kick (a stiff drawer, or
#                a kick waiting behind receipt data)
#   sorda=A-B    questions from A to B seconds after the last kick get no answer
#                (the sales program printing); on tcp, rechaza=A-B resets them
#   asb          Automatic Status Back: a group of four bytes ahead of every
#                answer, and on the terminal one unasked at every change
#   xon          XON before every answer and XOFF after it
#   lenta=S      every answer comes S seconds late (a slow network)
#   abre=F       only this family of commands opens the drawer: pin2 (ESC p 0),
#                pin5 (ESC p 1), star (BEL, FS or SUB) or nada (none); any ESC p without
#   bajo         pin 3 reads low while the drawer is open, high while closed
# REGISTRO gets one line per kick, the bytes in hex; REGISTRO.preguntas one
# line per question (time, answered or not); on the terminal,
# REGISTRO.baudios the line's speed as the program left it at each kick.
import os, select, socket, sys, termios, time, tty

modo, listo, registro, abierto = sys.argv[1:5]
opciones = dict(o.split("=", 1) if "=" in o else (o, "") for o in sys.argv[5:])
mudo = abierto in ("mudo", "parado")
BAUDIOS = {getattr(termios, "B%d" % n): n for n in (1200, 2400, 4800, 9600, 19200, 38400, 115200)}
desde = hasta = patada = 0.0  # the drawer is open from `desde` until `hasta`


def tramo(nombre):
    if nombre not in opciones:
        return False
    a, b = (float(x) for x in opciones[nombre].split("-"))
    return a <= time.time() - patada < b


def escribir(nombre, linea):
    with open(nombre, "a") as f:
        f.write(linea + "\n")


FAMILIAS = {"pin2": [b"\x1bp\x00"], "pin5": [b"\x1bp\x01"], "star": [b"\x07", b"\x1c", b"\x1a"],
            "nada": []}


def abre(datos):
    return any(f in datos for f in FAMILIAS.get(opciones.get("abre"), [b"\x1bp"]))


def estado():
    return 0x12 | (0x04 if (desde <= time.time() < hasta) != ("bajo" in opciones) else 0)


def asb():
    return bytes([0x10 | (0x04 if estado() & 0x04 else 0), 0, 0, 0x0F]) if "asb" in opciones else b""


def atender(datos):
    """What the printer makes of the bytes, a kick before a question; returns its answer."""
    global desde, hasta, patada
    preguntas = datos.count(b"\x10\x04\x01")
    datos = datos.replace(b"\x10\x04\x01", b"")
    if datos:
        escribir(registro, datos.hex())
        if abre(datos) and not mudo:
            patada = time.time()
            if not desde <= patada < hasta:
                desde = patada + float(opciones.get("tarde", 0))
                hasta = desde + float(abierto)
    sorda = mudo or tramo("sorda")
    for _ in range(preguntas):
        escribir(registro + ".preguntas", "%.3f %s" % (time.time(), "no" if sorda else "si"))
    if sorda:
        return b""
    if preguntas:
        time.sleep(float(opciones.get("lenta", 0)))
    respuesta = asb() + bytes([estado()])
    if "xon" in opciones:
        respuesta = b"\x11" + respuesta + b"\x13"
    return respuesta * preguntas


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
            if tramo("rechaza"):  # a reset, as a printer busy with another connection
                c.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\1\0\0\0\0\0\0\0")
                escribir(registro + ".preguntas", "%.3f rechazada" % time.time())
                continue
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
    antes = estado()
    while True:
        listos, _, _ = select.select([maestro], [], [], 0.1)
        if estado() != antes:  # a status group nobody asked for
            antes = estado()
            os.write(maestro, asb())
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
