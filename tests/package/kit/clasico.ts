/// <reference path="abrircajon.d.ts" />
// The classic script's global, as a page that loads abrircajon.js uses it.
window.AbrirCajon.puerto = 47111;
async function cobrar(): Promise<boolean> {
  const r = await AbrirCajon.abrir({ motivo: "Venta", esperarCierre: true });
  const e = await globalThis.AbrirCajon.estado();
  return r.ok && e.cajon !== "abierto";
}
void cobrar();
export {};
