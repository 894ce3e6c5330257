// The web kit against a stand-in for the browser bridge on 127.0.0.1, in
// Node: every answer the bridge gives and what abrir() and estado() make of
// it, connections cut as a flood cuts them, no answer at all, the wait for
// the drawer's close; each case run on the module and on the classic script
// made from it. Prints "ok: ..." or "FAIL: ..." a line; exits 1 on a failure.
//   node kit_escenarios.mjs KIT_DIR
import http from "node:http";
import fs from "node:fs";
import path from "node:path";
import vm from "node:vm";
import { pathToFileURL } from "node:url";

const dir = process.argv[2];
let fallos = 0;
function comprobar(que, bien, detalle) {
  if (bien) console.log("ok: " + que);
  else { fallos++; console.log("FAIL: " + que + (detalle === undefined ? "" : ": " + JSON.stringify(detalle))); }
}

// The stand-in: each request goes to `plan(peticion)`, which answers
// {estado, cuerpo}, {cortar: true} (the connection is destroyed, as the
// bridge closes the oldest when it is full) or {callar: true} (never answers).
let plan = () => ({ estado: 200, cuerpo: { ok: true } });
let peticiones = [];
const colgadas = [];
const servidor = http.createServer((req, res) => {
  let cuerpo = "";
  req.on("data", (d) => { cuerpo += d; });
  req.on("end", () => {
    const p = { metodo: req.method, ruta: req.url, cuerpo: cuerpo ? JSON.parse(cuerpo) : null,
                tipo: req.headers["content-type"] || "" };
    peticiones.push(p);
    const a = plan(p, peticiones.length);
    if (a.cortar) { req.socket.destroy(); return; }
    if (a.callar) { colgadas.push(res); return; }
    res.writeHead(a.estado, { "Content-Type": "application/json" });
    res.end(JSON.stringify(a.cuerpo));
  });
});
await new Promise((listo) => servidor.listen(0, "127.0.0.1", listo));
const puerto = servidor.address().port;

const modulo = await import(pathToFileURL(path.join(dir, "abrircajon.mjs")));
vm.runInThisContext(fs.readFileSync(path.join(dir, "abrircajon.js"), "utf8"));
const clasico = globalThis.AbrirCajon;
comprobar("the classic script sets the global with abrir and estado",
  clasico && typeof clasico.abrir === "function" && typeof clasico.estado === "function");
comprobar("the module exports abrir, estado, AbrirCajon and a default",
  typeof modulo.abrir === "function" && typeof modulo.estado === "function" &&
  modulo.default === modulo.AbrirCajon && modulo.AbrirCajon.abrir === modulo.abrir);
comprobar("defaults: port 47110, 15000 ms", modulo.AbrirCajon.puerto === 47110 && modulo.AbrirCajon.espera === 15000);

async function caso(kit, nombre, fijar, llamada, revisar) {
  plan = fijar;
  peticiones = [];
  const t0 = Date.now();
  const r = await llamada(kit);
  const ms = Date.now() - t0;
  const fallo = revisar(r, peticiones, ms);
  comprobar(kit.nombre + ": " + nombre, !fallo, fallo ? { fallo, r, peticiones: peticiones.length, ms } : undefined);
}
const bien = { estado: 200, cuerpo: { ok: true } };

for (const k of [{ nombre: "module", ...modulo }, { nombre: "classic", abrir: clasico.abrir, estado: clasico.estado, AbrirCajon: clasico }]) {
  k.AbrirCajon.puerto = puerto;
  k.AbrirCajon.espera = 15000;

  await caso(k, "200: abierto, ok, a JSON POST to /v1/abrir with a new id",
    () => bien, (kit) => kit.abrir({ motivo: "Venta 7" }),
    (r, p) => r.resultado !== "abierto" ? "resultado" : !r.ok ? "ok" : r.texto !== "Cajón abierto." ? "texto" :
      p.length !== 1 || p[0].metodo !== "POST" || p[0].ruta !== "/v1/abrir" ? "request" :
      p[0].tipo !== "application/json" ? "content-type" : p[0].cuerpo.motivo !== "Venta 7" ? "motivo" :
      !p[0].cuerpo.id || p[0].cuerpo.id !== r.id ? "id" : r.cierre !== null ? "cierre" : "");

  let ids = [];
  for (let i = 0; i < 2; i++) {
    await caso(k, "each abrir() a new id (" + (i + 1) + ")", () => bien, (kit) => kit.abrir(),
      (r, p) => { ids.push(p[0].cuerpo.id); return ""; });
  }
  comprobar(k.nombre + ": two presses, two ids", ids[0] !== ids[1], ids);

  await caso(k, "the page's id is sent as given",
    () => bien, (kit) => kit.abrir({ id: "venta-8" }),
    (r, p) => p[0].cuerpo.id !== "venta-8" || r.id !== "venta-8" ? "id" : "");

  await caso(k, "a flood cuts five connections: retried with the same id, opened",
    (p, n) => (n <= 5 ? { cortar: true } : bien), (kit) => kit.abrir(),
    (r, p) => r.resultado !== "abierto" ? "resultado" : p.length !== 6 ? "six requests" :
      new Set(p.map((x) => x.cuerpo.id)).size !== 1 ? "one id" : "");

  await caso(k, "502: fallido with the message, never retried",
    () => ({ estado: 502, cuerpo: { ok: false, error: 2, mensaje: "2.No se encuentra el archivo" } }),
    (kit) => kit.abrir(),
    (r, p) => r.resultado !== "fallido" || r.ok ? "resultado" : r.error !== 2 ? "error" :
      !r.texto.includes("2.No se encuentra el archivo") || !r.texto.includes("pantalla de AbrirCajon") ? "texto" :
      p.length !== 1 ? "retried" : "");

  await caso(k, "502 replayed for the same id: fallido, repetida",
    () => ({ estado: 502, cuerpo: { ok: false, error: 2, mensaje: "x", repetida: true } }),
    (kit) => kit.abrir({ id: "r1" }), (r) => r.resultado !== "fallido" || !r.repetida ? "repetida" : "");

  await caso(k, "503 with 1460: noAtendido, which says it was not done, never to check whether it opened",
    () => ({ estado: 503, cuerpo: { ok: false, error: 1460, mensaje: "AbrirCajon no ha contestado en 10 segundos y no ha abierto el cajón" } }),
    (kit) => kit.abrir(),
    (r, p) => r.resultado !== "noAtendido" || r.ok ? "resultado" : r.error !== 1460 ? "error" :
      /mire si|compruebe si|se ha abierto antes/i.test(r.texto) ? "reads as maybe opened" :
      !r.texto.startsWith("No se ha abierto el cajón") ? "texto" : p.length !== 1 ? "retried" : "");

  await caso(k, "503 with 170: ocupado, with the program's reason",
    () => ({ estado: 503, cuerpo: { ok: false, error: 170, mensaje: "AbrirCajon tiene un mensaje abierto" } }),
    (kit) => kit.abrir(),
    (r) => r.resultado !== "ocupado" || r.ok || r.error !== 170 ? "resultado" :
      !r.texto.includes("tiene un mensaje abierto") ? "texto" : "");

  await caso(k, "429: yaAbierto, ok", () => ({ estado: 429, cuerpo: { ok: false, mensaje: "Ya se abrió" } }),
    (kit) => kit.abrir(), (r) => r.resultado !== "yaAbierto" || !r.ok ? "resultado" : "");

  await caso(k, "200 repeated: abierto, repetida", () => ({ estado: 200, cuerpo: { ok: true, repetida: true } }),
    (kit) => kit.abrir({ id: "x" }), (r) => r.resultado !== "abierto" || !r.repetida ? "repetida" : "");

  for (const estado of [400, 403, 413, 415]) {
    await caso(k, estado + ": rechazado, not retried", () => ({ estado, cuerpo: { ok: false, mensaje: "m" + estado } }),
      (kit) => kit.abrir(), (r, p) => r.resultado !== "rechazado" || r.ok || p.length !== 1 ? "resultado" :
        !r.texto.includes("m" + estado) ? "texto" : "");
  }

  await caso(k, "the motive cut at 80 characters, never inside an emoji",
    () => bien, (kit) => kit.abrir({ motivo: "x".repeat(79) + "\u{1F600}!" }),
    (r, p) => Array.from(p[0].cuerpo.motivo).length !== 80 || !p[0].cuerpo.motivo.endsWith("\u{1F600}") ? "motivo" : "");

  await caso(k, "no answer within espera: sinRespuesta after it, one request",
    () => ({ callar: true }), (kit) => kit.abrir({ espera: 1500 }),
    (r, p, ms) => r.resultado !== "sinRespuesta" || r.ok ? "resultado" : ms < 1400 || ms > 4000 ? "time" :
      p.length !== 1 ? "requests" : !/Mire si el cajón se ha abierto/.test(r.texto) ? "texto" : "");

  await caso(k, "every connection cut: retried until espera, then inaccesible",
    () => ({ cortar: true }), (kit) => kit.abrir({ espera: 2000 }),
    (r, p, ms) => r.resultado !== "inaccesible" ? "resultado" : ms < 1000 || ms > 4000 ? "time" :
      p.length < 4 ? "retries" : new Set(p.map((x) => x.cuerpo.id)).size !== 1 ? "one id" :
      !r.texto.includes("KovraWebOrigenes") ? "texto" : "");

  await caso(k, "estado(): a GET of /v1/estado, disponible, the drawer open 4 s",
    () => ({ estado: 200, cuerpo: { programa: "AbrirCajon", version: "1.2.3", cajon: "abierto", desde: 4 } }),
    (kit) => kit.estado(),
    (r, p) => p[0].metodo !== "GET" || p[0].ruta !== "/v1/estado" ? "request" :
      r.resultado !== "disponible" || !r.ok ? "resultado" : r.version !== "1.2.3" || r.programa !== "AbrirCajon" ? "version" :
      r.cajon !== "abierto" || r.desde !== 4 ? "cajon" : "");

  await caso(k, "estado() with the sensor off: cajon null",
    () => ({ estado: 200, cuerpo: { programa: "AbrirCajon", version: "1.2.3" } }),
    (kit) => kit.estado(), (r) => r.cajon !== null || r.desde !== null ? "cajon" : "");

  await caso(k, "estado() cut twice, then answered",
    (p, n) => (n <= 2 ? { cortar: true } : { estado: 200, cuerpo: { programa: "AbrirCajon", version: "1", cajon: "cerrado" } }),
    (kit) => kit.estado(), (r) => r.cajon !== "cerrado" || r.desde !== null ? "cajon" : "");

  await caso(k, "estado() of an unlisted origin: rechazado",
    () => ({ estado: 403, cuerpo: { ok: false, mensaje: "Origen no permitido" } }),
    (kit) => kit.estado(), (r) => r.resultado !== "rechazado" || r.ok || r.cajon !== null ? "resultado" : "");

  // The wait for the close: the previous watch's "cerrado", then the new one's.
  const secuencia = (estados) => (p) => {
    if (p.metodo === "POST") return bien;
    const cajon = estados.length > 1 ? estados.shift() : estados[0];
    return { estado: 200, cuerpo: { programa: "AbrirCajon", version: "1", ...(cajon ? { cajon } : {}) } };
  };
  await caso(k, "esperarCierre: open, then closed",
    secuencia(["cerrado", "desconocido", "abierto", "abierto", "cerrado"]),
    (kit) => kit.abrir({ esperarCierre: 20 }),
    (r, p) => r.resultado !== "abierto" || r.cierre !== "cerrado" ? "cierre" : r.texto !== "Cajón cerrado." ? "texto" :
      p.filter((x) => x.ruta === "/v1/estado").length !== 5 ? "five readings" : "");
  await caso(k, "esperarCierre: the sensor off",
    secuencia([null]), (kit) => kit.abrir({ esperarCierre: true }),
    (r) => r.cierre !== "sinSensor" || !r.ok || !r.texto.includes("KovraSensor") ? "cierre" : "");
  await caso(k, "esperarCierre: still open when its 2 s are over",
    secuencia(["abierto"]), (kit) => kit.abrir({ esperarCierre: 2 }),
    (r, p, ms) => r.cierre !== "abierto" ? "cierre" : ms < 1500 || ms > 4000 ? "time" : "");
  await caso(k, "esperarCierre: never seen open, closed after the program's 3 s",
    secuencia(["cerrado"]), (kit) => kit.abrir({ esperarCierre: 20 }),
    (r, p, ms) => r.cierre !== "cerrado" ? "cierre" : ms < 3500 || ms > 8000 ? "time" : "");
  await caso(k, "esperarCierre: not after a failed kick",
    () => ({ estado: 502, cuerpo: { ok: false, error: 5, mensaje: "5.Acceso denegado" } }),
    (kit) => kit.abrir({ esperarCierre: 20 }),
    (r, p) => r.cierre !== null || p.length !== 1 ? "cierre" : "");
}

for (const res of colgadas) res.destroy();
servidor.close();
console.log(fallos ? fallos + " check(s) failed" : "all checks passed");
process.exit(fallos ? 1 : 0);
