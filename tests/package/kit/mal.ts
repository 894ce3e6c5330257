// Wrong on purpose: tsc must refuse each line, or the types check nothing.
import { abrir, estado } from "./abrircajon.mjs";
void abrir({ motivo: 7 });
void abrir({ esperarCierre: "siempre" });
void abrir().then((r) => r.resultado === "abiertoo");
void estado().then((e) => e.cajon === "entreabierto");
void abrir().then((r) => r.noExiste);
