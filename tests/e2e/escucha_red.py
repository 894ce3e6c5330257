# A network printer's stand-in on 127.0.0.1: escucha_red.py PUERTOS REGISTRO
# writes to PUERTOS four ports: one that appends to REGISTRO each connection's
# bytes in hex, one line per connection; one that refuses (bound, not
# listening); one that never answers (its backlog full); one that takes each
# connection and, 0.6 s later, resets it without reading a byte. A DNS server
# on 127.0.0.77 takes every question and answers none.
import os, socket, struct, sys, threading, time

acepta, rechaza, lleno, corta = (socket.socket() for _ in range(4))
for s in (acepta, rechaza, lleno, corta):
    s.bind(("127.0.0.1", 0))
acepta.listen(64)
lleno.listen(0)
corta.listen(8)


def cortar():
    while True:
        conexion = corta.accept()[0]
        time.sleep(0.6)  # the bytes have arrived; with linger 0 the close resets
        conexion.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        conexion.close()


threading.Thread(target=cortar, daemon=True).start()
relleno = [socket.socket() for _ in range(3)]  # they fill the backlog
for c in relleno:
    c.setblocking(False)
    c.connect_ex(lleno.getsockname())
with open(sys.argv[1] + ".tmp", "w") as f:
    f.write(" ".join(str(s.getsockname()[1]) for s in (acepta, rechaza, lleno, corta)) + "\n")
os.rename(sys.argv[1] + ".tmp", sys.argv[1])
dns = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
try:
    dns.bind(("127.0.0.77", 53))
except OSError as e:  # the DNS check then fails on its own, with this reason
    print("escucha_red: no DNS stand-in:", e, file=sys.stderr)
while True:
    conexion, _ = acepta.accept()
    with conexion, open(sys.argv[2], "a") as registro:
        registro.write(b"".join(iter(lambda: conexion.recv(4096), b"")).hex() + "\n")
