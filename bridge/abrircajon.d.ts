// Types of abrircajon.mjs and abrircajon.js (the same code). For the module,
// TypeScript reads them from abrircajon.d.mts (a copy of this file); for the
// classic script, add /// <reference path="abrircajon.d.ts" />, which
// declares window.AbrirCajon.

/** How an opening went; `ok` is true for "abierto" and "yaAbierto". */
export type ResultadoApertura =
  | "abierto"
  | "yaAbierto"
  | "fallido"
  | "ocupado"
  | "noAtendido"
  | "sinRespuesta"
  | "inaccesible"
  | "rechazado";

/** How the wait for the drawer's close ended (option esperarCierre). */
export type CierreCajon = "cerrado" | "abierto" | "sinSensor" | "desconocido";

/** What the drawer's sensor last saw; null when the sensor is off. */
export type CajonVisto = "abierto" | "cerrado" | "desconocido" | null;

export interface OpcionesApertura {
  /** Written in the record after the page's origin; 80 characters at most. */
  motivo?: string;
  /** Names this press; 64 characters at most. A new one by default. */
  id?: string;
  /** Waits for the sensor to see the drawer closed: true (60 s) or 1 to 3600 seconds. */
  esperarCierre?: boolean | number;
  /** KovraWebPuerto, when not AbrirCajon.puerto. */
  puerto?: number;
  /** Milliseconds to wait for an answer, retries included, when not AbrirCajon.espera. */
  espera?: number;
}

export interface OpcionesEstado {
  puerto?: number;
  espera?: number;
}

interface Respuesta {
  ok: boolean;
  /** A text for the cashier, in Spanish. */
  texto: string;
  /** The error's number (170, 1460, or the failed kick's), or 0. */
  error: number;
  /** AbrirCajon's own message, or "". */
  mensaje: string;
  /** The answer was the one already given to this id. */
  repetida: boolean;
}

export interface Apertura extends Respuesta {
  resultado: ResultadoApertura;
  /** The id sent: the same one again never opens the drawer twice. */
  id: string;
  /** With esperarCierre and "abierto": how the wait ended; otherwise null. */
  cierre: CierreCajon | null;
}

export interface Estado extends Respuesta {
  resultado: "disponible" | ResultadoApertura;
  /** "AbrirCajon", or "" when it did not answer. */
  programa: string;
  version: string;
  cajon: CajonVisto;
  /** While open: the seconds since it was seen open; otherwise null. */
  desde: number | null;
}

export interface Kit {
  /** KovraWebPuerto (47110 by default). */
  puerto: number;
  /** Milliseconds to wait for an answer, retries included (15000). */
  espera: number;
  abrir(opciones?: OpcionesApertura): Promise<Apertura>;
  estado(opciones?: OpcionesEstado): Promise<Estado>;
}

export declare function abrir(opciones?: OpcionesApertura): Promise<Apertura>;
export declare function estado(opciones?: OpcionesEstado): Promise<Estado>;
export declare const AbrirCajon: Kit;
export default AbrirCajon;

declare global {
  /** Set by the classic script abrircajon.js. */
  var AbrirCajon: Kit;
}
