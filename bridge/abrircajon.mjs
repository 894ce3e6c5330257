/* abrircajon.mjs: abre el cajón de dinero (la gaveta) desde la página del
 * programa de ventas, con AbrirCajon abierto en la misma caja. JavaScript sin
 * más: sin compilar y sin dependencias. Cópielo junto a sus páginas, con
 * abrircajon.d.ts si usa TypeScript.
 *
 * Como módulo:
 *   <script type="module">
 *     import { abrir, estado } from "./abrircajon.mjs";
 *     const r = await abrir({ motivo: "Venta 1234" });
 *     if (!r.ok) avisarAlCajero(r.texto);
 *   </script>
 * Como script clásico, abrircajon.js (el mismo código) deja lo mismo en
 * window.AbrirCajon:
 *   <script src="abrircajon.js"></script>
 *   const r = await AbrirCajon.abrir({ motivo: "Venta 1234" });
 *
 * abrir({motivo, id, esperarCierre, puerto, espera}) da siempre un resultado,
 * nunca un error: { ok, resultado, texto, error, mensaje, repetida, id, cierre }
 * resultado:
 *   "abierto"       el cajón se ha abierto (repetida: ya lo había abierto esta
 *                   misma petición, con su id, y no se ha abierto otra vez)
 *   "yaAbierto"     el cajón se acaba de abrir (hace menos de un segundo) y no
 *                   se ha abierto otra vez: un doble clic; ok es true
 *   "fallido"       no se ha abierto: AbrirCajon muestra el mensaje de error en
 *                   la pantalla de la caja; no lo repita sin que el cajero lo vea
 *   "ocupado"       no se ha hecho nada (un mensaje abierto en AbrirCajon, otra
 *                   apertura en curso): puede repetirse cuando el cajero haya
 *                   cerrado el mensaje
 *   "noAtendido"    no se ha hecho nada: AbrirCajon no ha tomado la apertura
 *                   en 10 segundos; puede repetirse
 *   "sinRespuesta"  AbrirCajon no ha contestado a tiempo: el cajón puede
 *                   haberse abierto; repetirla con el mismo id (r.id) nunca lo
 *                   abre dos veces
 *   "inaccesible"   la página no llega a AbrirCajon: no está abierto, el
 *                   navegador no da permiso o el origen no está en
 *                   KovraWebOrigenes (el navegador no dice cuál)
 *   "rechazado"     AbrirCajon no admite la petición (un error de la página)
 * texto: lo que se puede mostrar al cajero, en español.
 *
 * id: un texto de 64 caracteres como mucho que nombra esta apertura (una por
 * pulsación del botón de la página); si no se da, se crea uno nuevo en cada
 * abrir(). Si no hay respuesta (la conexión falla o se corta, por ejemplo
 * porque otra página inunda el puerto), abrir() repite la petición con el
 * mismo id durante 5 s como mucho (dentro de `espera`): AbrirCajon contesta lo mismo que a la
 * primera y no abre dos veces. Una respuesta, aunque sea "fallido", no se
 * repite: AbrirCajon recuerda durante 10 minutos la respuesta de cada id, y
 * una nueva pulsación necesita un id nuevo.
 *
 * esperarCierre (true, o los segundos, de 1 a 3600; true son 60): tras abrir
 * el cajón, espera a que el sensor del cajón (KovraSensor) lo vea cerrado.
 * r.cierre dice cómo acabó: "cerrado" (también si no llegó a abrirse),
 * "abierto" (sigue abierto al acabar el tiempo), "sinSensor" (el sensor está
 * apagado) o "desconocido" (el sensor no contesta).
 *
 * estado() pregunta por AbrirCajon sin abrir nada: { ok, resultado, texto,
 * programa, version, cajon, desde }, con resultado "disponible" o uno de los
 * de abrir(); cajon es "abierto" (desde: los segundos que lleva abierto),
 * "cerrado" o "desconocido", o null con el sensor apagado. Llámelo al iniciar
 * sesión, para que el navegador pida su permiso entonces y no en medio de una
 * venta.
 *
 * Los textos van escritos con \u: el archivo vale aunque el servidor no diga
 * que es UTF-8.
 *
 * AbrirCajon.puerto (47110) debe ser el de KovraWebPuerto; AbrirCajon.espera,
 * los milisegundos que abrir() y estado() esperan como mucho (15000). Los dos
 * valen también por llamada: abrir({puerto, espera}).
 */

export const AbrirCajon = { puerto: 47110, espera: 15000, abrir, estado };
export default AbrirCajon;

// After a connection that failed or was cut: the wait before the next try,
// doubled each time up to a second, so that a flood of another page's
// connections is outlasted without hammering the port.
const kPrimerReintentoMs = 100;
const kMaxReintentoMs = 1000;
// A page flooding the port is shaken off within a few tries; retrying for the
// whole wait would keep a cashier 15 s on a till where AbrirCajon is not
// running at all, which the browser cannot tell apart.
const kVentanaReintentosMs = 5000;
// How often estado() is read while waiting for the drawer's close, and how
// long a "cerrado" read at once is taken for the previous watch's: the
// program waits 3 s for a drawer to open before calling it closed.
const kCadaEstadoMs = 500;
const kCerradoSeguroMs = 4000;

function nuevoId() {
  const c = globalThis.crypto;
  if (c && c.randomUUID) return c.randomUUID();
  return Date.now().toString(36) + "-" + Math.random().toString(36).slice(2);
}

function dormir(ms) {
  return new Promise(function (listo) { setTimeout(listo, ms); });
}

function texto(resultado, mensaje) {
  const origen = globalThis.location ? globalThis.location.origin : "esta p\u00e1gina";
  switch (resultado) {
    case "abierto":
      return "Caj\u00f3n abierto.";
    case "yaAbierto":
      return "El caj\u00f3n se acaba de abrir.";
    case "fallido":
      return "No se ha abierto el caj\u00f3n: " + mensaje +
        ". El mensaje est\u00e1 en la pantalla de AbrirCajon: ci\u00e9rrelo y compruebe la impresora antes de volver a intentarlo.";
    case "ocupado":
      return "No se ha abierto el caj\u00f3n: " + mensaje +
        ". Cierre el mensaje de AbrirCajon, si lo hay, y vuelva a intentarlo.";
    case "noAtendido":
      return "No se ha abierto el caj\u00f3n: AbrirCajon no ha podido atender la petici\u00f3n a tiempo. Vuelva a intentarlo.";
    case "sinRespuesta":
      return "AbrirCajon no ha contestado a tiempo. Mire si el caj\u00f3n se ha abierto antes de volver a intentarlo.";
    case "inaccesible":
      return "No se puede hablar con AbrirCajon. Compruebe que AbrirCajon est\u00e1 abierto en esta caja " +
        "(su icono junto al reloj); que el navegador permite a esta p\u00e1gina acceder a las aplicaciones " +
        "de este dispositivo (el candado junto a la direcci\u00f3n); y que " + origen +
        " est\u00e1 en KovraWebOrigenes, tal cual.";
    default:
      return "AbrirCajon no admite la petici\u00f3n de esta p\u00e1gina: " + mensaje + ".";
  }
}

const kTextosCierre = {
  cerrado: "Caj\u00f3n cerrado.",
  abierto: "El caj\u00f3n sigue abierto: ci\u00e9rrelo antes de seguir.",
  sinSensor: "Caj\u00f3n abierto. AbrirCajon no puede saber cu\u00e1ndo se cierra: el sensor del caj\u00f3n est\u00e1 apagado (KovraSensor).",
  desconocido: "Caj\u00f3n abierto. El sensor del caj\u00f3n no contesta: no se sabe si se ha cerrado."
};

function resultado(nombre, cuerpo) {
  cuerpo = cuerpo || {};
  const r = {
    ok: nombre === "abierto" || nombre === "yaAbierto" || nombre === "disponible",
    resultado: nombre,
    texto: nombre === "disponible" ? "AbrirCajon est\u00e1 abierto." : texto(nombre, cuerpo.mensaje || ""),
    error: cuerpo.error || 0,
    mensaje: cuerpo.mensaje || "",
    repetida: cuerpo.repetida === true
  };
  return r;
}

// One request within the time left: the answer's status and body, or why
// there is none ("sinRespuesta" when the time ran out, "inaccesible" when
// the connection failed: refused, cut, or barred by the browser, which never
// says which).
function pedir(puerto, ruta, opciones, plazo) {
  const control = new AbortController();
  const reloj = setTimeout(function () { control.abort(); }, Math.max(0, plazo - Date.now()));
  opciones.signal = control.signal;
  opciones.cache = "no-store";
  return fetch("http://127.0.0.1:" + puerto + ruta, opciones)
    .then(function (r) {
      return r.json().catch(function () { return {}; }).then(function (cuerpo) {
        return { estado: r.status, cuerpo: cuerpo };
      });
    }, function (e) {
      return { estado: 0, sin: e && e.name === "AbortError" ? "sinRespuesta" : "inaccesible" };
    })
    .finally(function () { clearTimeout(reloj); });
}

// The same request again while there is no answer and time is left. Safe for
// a kick because its id goes with it: a request that reached AbrirCajon is
// answered as it was (or waits for its outcome), and opens nothing more.
async function conReintentos(una, plazo) {
  plazo = Math.min(plazo, Date.now() + kVentanaReintentosMs);
  let pausa = kPrimerReintentoMs;
  for (;;) {
    const r = await una();
    if (r.sin !== "inaccesible" || Date.now() + pausa >= plazo) return r;
    await dormir(pausa);
    pausa = Math.min(pausa * 2, kMaxReintentoMs);
  }
}

function deRespuesta(r) {
  if (r.sin) return resultado(r.sin);
  if (r.estado === 200) return resultado("abierto", r.cuerpo);
  if (r.estado === 502) return resultado("fallido", r.cuerpo);
  // Not taken in time: nothing was done, and the id is not remembered.
  if (r.estado === 503 && r.cuerpo.error === 1460) return resultado("noAtendido", r.cuerpo);
  // A kick went out less than a second ago: the drawer is open, and this
  // press was the second of a double click.
  if (r.estado === 429) return resultado("yaAbierto", r.cuerpo);
  if (r.estado === 503) return resultado("ocupado", r.cuerpo);
  return resultado("rechazado", r.cuerpo);
}

function deEstado(r) {
  const e = r.estado === 200 ? resultado("disponible", r.cuerpo) : deRespuesta(r);
  const c = r.estado === 200 ? r.cuerpo : {};
  e.programa = c.programa || "";
  e.version = c.version || "";
  // Without the member the sensor is off (KovraSensor).
  e.cajon = typeof c.cajon === "string" ? c.cajon : null;
  e.desde = e.cajon === "abierto" && typeof c.desde === "number" ? c.desde : null;
  return e;
}

export function estado(opciones) {
  opciones = opciones || {};
  const puerto = opciones.puerto || AbrirCajon.puerto;
  const plazo = Date.now() + (opciones.espera || AbrirCajon.espera);
  return conReintentos(function () {
    return pedir(puerto, "/v1/estado", { method: "GET" }, plazo);
  }, plazo).then(deEstado);
}

// Reads the drawer until the sensor's watch of this kick ends, as
// AbrirCajon.exe /abrir /esperar does: "cerrado", "abierto" (still open when
// the time is up), "sinSensor" or "desconocido".
async function esperarCierre(puerto, segundos) {
  const inicio = Date.now();
  const fin = inicio + segundos * 1000;
  let visto = false;  // a state other than the previous watch's "cerrado"
  let ultimo = null;
  for (;;) {
    const e = await estado({ puerto: puerto, espera: Math.max(1000, Math.min(5000, fin - Date.now())) });
    if (e.resultado === "disponible") {
      if (e.cajon === null) return "sinSensor";
      ultimo = e.cajon;
      if (e.cajon !== "cerrado") visto = true;
      else if (visto || Date.now() - inicio >= kCerradoSeguroMs) return "cerrado";
    }
    const resta = fin - Date.now();
    if (resta <= 0) return ultimo === "abierto" ? "abierto" : "desconocido";
    await dormir(Math.min(kCadaEstadoMs, resta));
  }
}

export async function abrir(datos) {
  datos = datos || {};
  const puerto = datos.puerto || AbrirCajon.puerto;
  const plazo = Date.now() + (datos.espera || AbrirCajon.espera);
  const cuerpo = { id: datos.id ? String(datos.id) : nuevoId() };
  // Cut by characters, as AbrirCajon counts them: a cut between the two
  // halves of an emoji would leave a text it refuses.
  if (datos.motivo) cuerpo.motivo = Array.from(String(datos.motivo)).slice(0, 80).join("");
  const json = JSON.stringify(cuerpo);
  const r = deRespuesta(await conReintentos(function () {
    return pedir(puerto, "/v1/abrir", {
      method: "POST",
      headers: { "Content-Type": "application/json" },
      body: json
    }, plazo);
  }, plazo));
  r.id = cuerpo.id;
  r.cierre = null;
  if (datos.esperarCierre && r.resultado === "abierto") {
    const segundos = datos.esperarCierre === true ? 60 : Math.min(3600, Math.max(1, Number(datos.esperarCierre) || 60));
    r.cierre = await esperarCierre(puerto, segundos);
    r.texto = kTextosCierre[r.cierre];
  }
  return r;
}
