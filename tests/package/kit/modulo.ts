// Every export of abrircajon.mjs, used as a web page would, for tsc --noEmit.
import AbrirCajonPorDefecto, { AbrirCajon, abrir, estado } from "./abrircajon.mjs";
import type {
  Apertura, CajonVisto, CierreCajon, Estado, Kit, OpcionesApertura, OpcionesEstado, ResultadoApertura,
} from "./abrircajon.mjs";

const kit: Kit = AbrirCajonPorDefecto;
kit.puerto = 47110;
AbrirCajon.espera = 20000;

async function cobrado(venta: number): Promise<string> {
  const opciones: OpcionesApertura = { motivo: "Venta " + venta, id: "venta-" + venta, esperarCierre: 120 };
  const r: Apertura = await abrir(opciones);
  const resultado: ResultadoApertura = r.resultado;
  const cierre: CierreCajon | null = r.cierre;
  if (resultado === "sinRespuesta") return (await abrir({ id: r.id, puerto: 47110, espera: 5000 })).texto;
  if (!r.ok) return r.texto + " (" + r.error + ": " + r.mensaje + ")" + (r.repetida ? " otra vez" : "");
  return cierre === "abierto" ? "abierto" : r.texto;
}

async function alEntrar(): Promise<number | null> {
  const o: OpcionesEstado = { espera: 3000 };
  const e: Estado = await estado(o);
  const cajon: CajonVisto = e.cajon;
  if (e.resultado === "disponible" && cajon === "abierto") return e.desde;
  return e.version.length + e.programa.length;
}

void cobrado(1).then(console.log);
void alEntrar();
void kit.abrir().then((r) => r.ok);
void AbrirCajon.estado().then((e) => e.cajon);
