/* abrircajon.js: abre el cajón portamonedas desde la página del programa de
 * ventas, con AbrirCajon abierto en la misma caja. JavaScript sin más: sin
 * compilar y sin dependencias. Cópielo junto a sus páginas y cárguelo con
 *   <script src="abrircajon.js"></script>
 *
 *   const r = await AbrirCajon.abrir({ motivo: "Venta 1234" });
 *   if (!r.ok) avisarAlCajero(r.texto);
 *
 * abrir({motivo, id}) da siempre un resultado, nunca un error:
 *   { ok, resultado, texto, error, mensaje, repetida }
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
 *   "sinRespuesta"  AbrirCajon no ha contestado a tiempo
 *   "inaccesible"   la página no llega a AbrirCajon: no está abierto, el
 *                   navegador no da permiso o el origen no está en
 *                   KovraWebOrigenes (el navegador no dice cuál)
 *   "rechazado"     AbrirCajon no admite la petición (un error de la página)
 * texto: lo que se puede mostrar al cajero, en español.
 *
 * id: un texto de 64 caracteres como mucho que nombra esta apertura (una por
 * pulsación del botón de la página). Si no se da, se crea uno. abrir() lo
 * envía y, si no hay respuesta o la conexión se corta, repite la petición una
 * vez con el mismo id: AbrirCajon contesta lo mismo que a la primera y no
 * abre dos veces.
 *
 * estado() pregunta por AbrirCajon sin abrir nada: { ok, resultado, texto,
 * programa, version }, con resultado "disponible" o uno de los de abrir(). Llámelo al iniciar sesión, para que el navegador pida
 * su permiso entonces y no en medio de una venta.
 *
 * Los textos van escritos con \u: el archivo vale aunque el servidor no diga
 * que es UTF-8.
 *
 * AbrirCajon.puerto (47110) debe ser el de KovraWebPuerto; AbrirCajon.espera,
 * los milisegundos que se espera cada respuesta (15000).
 */
(function (global) {
  "use strict";

  var AbrirCajon = { puerto: 47110, espera: 15000 };

  function nuevoId() {
    if (global.crypto && global.crypto.randomUUID) return global.crypto.randomUUID();
    return Date.now().toString(36) + "-" + Math.random().toString(36).slice(2);
  }

  function texto(resultado, mensaje) {
    var origen = global.location ? global.location.origin : "esta p\u00e1gina";
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

  function resultado(nombre, cuerpo) {
    cuerpo = cuerpo || {};
    var r = {
      ok: nombre === "abierto" || nombre === "yaAbierto" || nombre === "disponible",
      resultado: nombre,
      texto: nombre === "disponible" ? "AbrirCajon est\u00e1 abierto." : texto(nombre, cuerpo.mensaje || ""),
      error: cuerpo.error || 0,
      mensaje: cuerpo.mensaje || "",
      repetida: cuerpo.repetida === true
    };
    if (cuerpo.programa) {
      r.programa = cuerpo.programa;
      r.version = cuerpo.version;
    }
    return r;
  }

  // One request with its time limit: the answer's status and body, or why
  // there is none ("sinRespuesta", "inaccesible").
  function pedir(ruta, opciones) {
    var control = new AbortController();
    var reloj = setTimeout(function () { control.abort(); }, AbrirCajon.espera);
    opciones.signal = control.signal;
    opciones.cache = "no-store";
    return fetch("http://127.0.0.1:" + AbrirCajon.puerto + ruta, opciones)
      .then(function (r) {
        return r.json().catch(function () { return {}; }).then(function (cuerpo) {
          return { estado: r.status, cuerpo: cuerpo };
        });
      }, function (e) {
        return { estado: 0, sin: e && e.name === "AbortError" ? "sinRespuesta" : "inaccesible" };
      })
      .finally(function () { clearTimeout(reloj); });
  }

  function deRespuesta(r) {
    if (r.sin) return resultado(r.sin);
    if (r.estado === 200) return resultado("abierto", r.cuerpo);
    if (r.estado === 502) return resultado("fallido", r.cuerpo);
    if (r.estado === 503 && r.cuerpo.error === 1460) return resultado("sinRespuesta", r.cuerpo);
    // A kick went out less than a second ago: the drawer is open, and this
    // press was the second of a double click.
    if (r.estado === 429) return resultado("yaAbierto", r.cuerpo);
    if (r.estado === 503) return resultado("ocupado", r.cuerpo);
    return resultado("rechazado", r.cuerpo);
  }

  AbrirCajon.abrir = function (datos) {
    datos = datos || {};
    var cuerpo = { id: datos.id ? String(datos.id) : nuevoId() };
    // Cut by characters, as AbrirCajon counts them: a cut between the two
    // halves of an emoji would leave a text it refuses.
    if (datos.motivo) cuerpo.motivo = Array.from(String(datos.motivo)).slice(0, 80).join("");
    var una = function () {
      return pedir("/v1/abrir", {
        method: "POST",
        headers: { "Content-Type": "application/json" },
        body: JSON.stringify(cuerpo)
      });
    };
    return una().then(function (r) {
      if (!r.sin) return deRespuesta(r);
      // The same id again: answered as the first one, never opened twice.
      return new Promise(function (listo) { setTimeout(listo, 500); })
        .then(una).then(deRespuesta);
    });
  };

  AbrirCajon.estado = function () {
    return pedir("/v1/estado", { method: "GET" }).then(function (r) {
      return r.estado === 200 ? resultado("disponible", r.cuerpo) : deRespuesta(r);
    });
  };

  global.AbrirCajon = AbrirCajon;
})(typeof window !== "undefined" ? window : this);
