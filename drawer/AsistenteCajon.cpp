#include "drawer/AsistenteCajon.h"

#include <algorithm>
#include <cctype>

#include "drawer/ImpresoraDelPuerto.h"
#include "drawer/PuertoDeRed.h"
#include "settings/Conversiones.h"

namespace {

bool Igual(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::toupper(x) == std::toupper(y); });
}

// What a printer's or driver's name says: 0 nothing, 1 a receipt printer, 2 a Star.
int Marca(std::string_view nombre) {
    static constexpr std::pair<std::string_view, int> kMarcas[] = {
        {"TSP", 2},   {"SP7", 2}, {"MC-PRINT", 2}, {"STAR", 2},   {"TM-", 1},    {"SRP-", 1},
        {"CT-S", 1},  {"CBM", 1}, {"RP-", 1},      {"POS-58", 1}, {"POS-80", 1}, {"POS58", 1},
        {"POS80", 1}, {"XP-", 1}, {"RECEIPT", 1},  {"RECIBO", 1}, {"TICKET", 1}};
    std::string n(nombre);
    for (char& c : n) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const auto& [marca, valor] : kMarcas) {
        if (n.find(marca) != std::string::npos) return valor;
    }
    return 0;
}

CandidatoCajon DeImpresora(InventarioImpresion& inventario, const ImpresoraInstalada& i) {
    CandidatoCajon c{i.nombre, i.nombre, i.puerto, RutaCajon::Raw};
    const int marca = std::max(Marca(i.nombre), Marca(i.controlador));
    c.star = marca == 2;
    c.recibos = marca != 0;
    // Straight to its address: the sensor can answer there, and the
    // real-time pulse gets through while the printer shows an error.
    const auto tcp = inventario.PuertoEstandar(i.puerto);
    if (tcp && tcp->raw && !tcp->host.empty() && tcp->puerto != 0) {
        c.ruta = RutaCajon::Red;
        const bool v6 = tcp->host.find(':') != std::string::npos;
        c.puerto = Unir({v6 ? "[" : "", tcp->host, v6 ? "]:" : ":", std::to_string(tcp->puerto)});
    }
    return c;
}

constexpr OrdenCajon kOrdenes[] = {
    {"ESC/POS pin 2", "27 112 0 25 250", FamiliaOrden::EscPos, 1},
    {"ESC/POS pin 5", "27 112 1 25 250", FamiliaOrden::EscPos, 2},
    {"ESC/POS en tiempo real, pin 2", "16 20 1 0 1", FamiliaOrden::TiempoReal, 1},
    {"ESC/POS en tiempo real, pin 5", "16 20 1 1 1", FamiliaOrden::TiempoReal, 2},
    {"Star (BEL)", "7", FamiliaOrden::Star, 1},
    {"Star (FS)", "28", FamiliaOrden::Star, 1},
    {"Star (SUB)", "26", FamiliaOrden::Star, 2},
    {"el controlador de la impresora", "", FamiliaOrden::Controlador, 0},
};

}  // namespace

std::string Unir(std::initializer_list<std::string_view> partes) {
    std::string texto;
    for (const auto p : partes) texto.append(p);
    return texto;
}

bool EsStar(std::string_view nombre) {
    return Marca(nombre) == 2;
}

bool EsDeRecibos(std::string_view nombre) {
    return Marca(nombre) != 0;
}

std::vector<CandidatoCajon> CandidatosCajon(InventarioImpresion& inventario,
                                            const AjustesCajon& ahora) {
    std::vector<CandidatoCajon> impresoras;
    for (const auto& i : inventario.Impresoras()) impresoras.push_back(DeImpresora(inventario, i));

    std::vector<CandidatoCajon> lista;
    // Each route once: the first, which is the better placed.
    const auto poner = [&](const CandidatoCajon& c) {
        for (const auto& u : lista) {
            if (u.ruta == c.ruta && Igual(u.puerto, c.puerto)) return;
        }
        lista.push_back(c);
    };
    const std::string& nombre = ahora.porControlador ? ahora.impresora : ahora.puerto;
    CandidatoCajon suya{ahora.porControlador ? "" : ahora.puerto};
    if (LeerPuertoDeRed(suya.puerto).forma == FormaPuerto::DeRed) {
        suya.ruta = RutaCajon::Red;
    } else if (PuedeSerImpresora(suya.puerto)) {
        suya.ruta = RutaCajon::Raw;
        suya.impresora = suya.puerto;
    }
    for (const auto& c : impresoras) {
        if (Igual(c.impresora, nombre)) suya = c;
    }
    suya.configurado = true;
    if (!suya.puerto.empty()) poner(suya);
    for (const bool recibos : {true, false}) {
        for (const auto& c : impresoras) {
            if (c.recibos == recibos) poner(c);
        }
    }
    for (const auto& p : inventario.PuertosLocales()) poner({p + ":"});
    return lista;
}

std::string ViaEnPalabras(const CandidatoCajon& c) {
    switch (c.ruta) {
        case RutaCajon::Red:
            return Unir({"por la red en ", c.puerto});
        case RutaCajon::Raw:
            if (c.puertoWindows.empty()) return "por la cola de Windows";
            return Unir({"por la cola de Windows (", c.puertoWindows, ")"});
        case RutaCajon::Puerto:
            break;
    }
    return Unir({"por el puerto ", c.puerto});
}

std::string TextoCandidato(const CandidatoCajon& c) {
    std::string via = ViaEnPalabras(c);
    if (c.impresora.empty()) via[0] = 'P';
    return Unir({c.configurado ? "Ahora: " : "", c.impresora, c.star ? " (Star)" : "",
                 c.impresora.empty() ? "" : " · ", via});
}

std::vector<OrdenCajon> OrdenesPara(const CandidatoCajon& c) {
    std::vector<OrdenCajon> ordenes;
    ordenes.reserve(std::size(kOrdenes));
    const auto poner = [&](bool star) {
        for (const auto& o : kOrdenes) {
            if ((o.familia == FamiliaOrden::Star) != star || o.familia == FamiliaOrden::Controlador)
                continue;
            // Through a queue the real-time pulse never reaches the printer.
            if (o.familia == FamiliaOrden::TiempoReal && c.ruta == RutaCajon::Raw) continue;
            ordenes.push_back(o);
        }
    };
    poner(c.star);
    poner(!c.star);
    if (!c.impresora.empty()) ordenes.push_back(kOrdenes[std::size(kOrdenes) - 1]);
    return ordenes;
}

std::optional<ResultadoApertura> PatearPrueba(CoordinadorApertura& apertura, Printing& impresora,
                                              const CandidatoCajon& candidato,
                                              const OrdenCajon& orden, Dialogs& cajas) {
    const bool controlador = orden.familia == FamiliaOrden::Controlador;
    if (controlador) {
        // The driver prints on the current printer: this one, from now on.
        int indice = -1;
        try {
            const auto instaladas = impresora.InstalledPrinters();
            for (std::size_t i = 0; i < instaladas.size() && indice < 0; ++i) {
                if (impresora.SameName(instaladas[i], candidato.impresora))
                    indice = static_cast<int>(i);
            }
            if (indice >= 0) impresora.MakeCurrent(indice);
        } catch (const Fallo&) {
            indice = -1;
        }
        if (indice < 0) {
            // Never another printer's job.
            ResultadoApertura r{ViaApertura::Impresora, candidato.impresora,
                                Fallo(1801, "El nombre de la impresora no es válido")};
            cajas.Stop(TextoFalloApertura(*r.fallo, r.destino));
            return r;
        }
    }
    const AjustesApertura controles(candidato.puerto, std::string(orden.codigos), controlador);
    return apertura.Patear(
        {OrigenApertura::Asistente, std::string(orden.nombre), &controles, {}, &cajas});
}

PruebasCajon::PruebasCajon(std::vector<OrdenCajon> ordenes, std::optional<DestinoEstado> sensor)
    : ordenes_(std::move(ordenes)), sensor_(std::move(sensor)) {
    if (ordenes_.empty()) fase_ = Fase::Ninguna;
}

PruebasCajon::Paso PruebasCajon::Tic(Instante ahora) {
    using namespace tiempos_asistente;
    if (enVuelo_) return Paso::Esperar;
    switch (fase_) {
        case Fase::Antes:
            // Two readings before the try: a pin that floats, or a drawer
            // still moving, reads differently, and then the cashier says.
            if (sensor_ && preguntas_ < 2) {
                ++preguntas_;
                enVuelo_ = true;
                return Paso::Preguntar;
            }
            fase_ = Fase::Patada;
            [[fallthrough]];
        case Fase::Patada:
            if (ahora < proxima_) return Paso::Esperar;
            enVuelo_ = true;
            return Paso::Patear;
        case Fase::Observar:
            if (ahora >= patada_ + kEntrePruebas) {
                // Not one answer in time: the cashier says.
                if (!vistoIgual_) {
                    fase_ = Fase::Cajero;
                    cajero_ = ahora;
                    return Paso::Cajero;
                }
                Siguiente();
                return Tic(ahora);
            }
            if (ahora < pregunta_) return Paso::Esperar;
            pregunta_ = ahora + kEntreLecturas;
            enVuelo_ = true;
            return Paso::Preguntar;
        case Fase::Cajero:
            return Paso::Cajero;
        case Fase::Abierto:
            return Paso::Abierto;
        case Fase::Ninguna:
            return Paso::Ninguna;
        case Fase::Fallo:
            break;
    }
    return Paso::Fallo;
}

void PruebasCajon::Respuesta(const RespuestaEstado& respuesta) {
    enVuelo_ = false;
    if (std::exchange(descartar_, false)) return;
    const bool valida = respuesta.estado && RespuestaValida(*respuesta.estado);
    if (fase_ == Fase::Antes) {
        if (!valida) {
            primera_.reset();  // one reading alone is not enough
        } else if (!primera_) {
            primera_ = respuesta.estado;
        } else if (!ModoComprobado(primera_, respuesta.estado)) {
            antes_ = respuesta.estado;
        }
    } else if (fase_ == Fase::Observar) {
        // An opening is a change seen on two readings in a row: one stray
        // reading (noise on the line, a byte of something else) is not.
        const auto modo = ModoComprobado(antes_, respuesta.estado);
        if (modo && cambio_ == modo) {
            Abrio(modo);
        } else if (modo) {
            cambio_ = modo;
        } else {
            cambio_.reset();
            if (valida) vistoIgual_ = true;
        }
    }
}

void PruebasCajon::Pateado(const std::optional<ResultadoApertura>& resultado, Instante ahora) {
    using namespace tiempos_asistente;
    enVuelo_ = false;
    if (!resultado) {
        proxima_ = std::max(proxima_, ahora + kReintento);
        return;
    }
    if (resultado->fallo) {
        fase_ = Fase::Fallo;
        return;
    }
    patada_ = ahora;
    proxima_ = ahora + kEntrePruebas;
    vistoIgual_ = false;
    cambio_.reset();
    pregunta_ = ahora + kPrimeraLectura;
    cajero_ = ahora;
    fase_ = antes_ ? Fase::Observar : Fase::Cajero;
}

bool PruebasCajon::Contestar(bool abierto, Instante ahora) {
    if (fase_ != Fase::Cajero || ahora < cajero_ + tiempos_asistente::kAntesDeContestar) {
        return false;
    }
    if (abierto) {
        Abrio(std::nullopt);
    } else {
        Siguiente();
    }
    return true;
}

void PruebasCajon::OtraPatada(Instante cuando) {
    proxima_ = std::max(proxima_, cuando + tiempos_asistente::kEntrePruebas);
    if (fase_ != Fase::Antes && fase_ != Fase::Patada && fase_ != Fase::Observar) return;
    // What the sensor read may be that kick's opening.
    descartar_ = enVuelo_;
    fase_ = Fase::Antes;
    Olvidar();
}

void PruebasCajon::Repetir() {
    if (fase_ != Fase::Abierto || repetido_) return;
    repetido_ = true;
    fase_ = Fase::Antes;
    Olvidar();
}

void PruebasCajon::Olvidar() {
    preguntas_ = 0;
    primera_.reset();
    antes_.reset();
}

void PruebasCajon::Siguiente() {
    if (repetido_) {  // the second time did not open it
        fase_ = Fase::Abierto;
        confirmado_ = false;
        return;
    }
    if (indice_ + 1 >= ordenes_.size()) {
        fase_ = Fase::Ninguna;
        return;
    }
    ++indice_;
    fase_ = Fase::Antes;
    Olvidar();
}

void PruebasCajon::Abrio(std::optional<ModoSensor> modo) {
    if (modo) modo_ = modo;
    confirmado_ = repetido_;
    fase_ = Fase::Abierto;
}

std::string TextoHallazgo(const HallazgoCajon& h) {
    const CandidatoCajon& c = h.candidato;
    const bool nombre = !c.impresora.empty();
    const bool controlador = h.orden.familia == FamiliaOrden::Controlador;
    return Unir({!nombre && c.ruta == RutaCajon::Puerto ? "Cajón" : "Impresora",
                 c.star ? " Star" : "", nombre ? " «" : " ", c.impresora, nombre ? "» " : "",
                 ViaEnPalabras(c),
                 controlador ? " · con el controlador de la impresora" : " · orden ",
                 controlador ? "" : h.orden.nombre, controlador ? "" : " · cajón ",
                 controlador ? "" : std::to_string(h.orden.cajon),
                 !h.sensor                          ? ""
                 : *h.sensor == ModoSensor::PinAlto ? " · sensor: abierto con el pin 3 alto"
                                                    : " · sensor: abierto con el pin 3 bajo"});
}

std::vector<std::pair<std::string_view, std::string>> LineasHallazgo(const HallazgoCajon& h) {
    std::vector<std::pair<std::string_view, std::string>> lineas;
    // One kind of insertion: each kind of argument would make its own.
    const auto poner = [&](std::string_view clave, std::string_view valor) {
        lineas.emplace_back(clave, valor);
    };
    const bool controlador = h.orden.familia == FamiliaOrden::Controlador;
    poner(claves::KovraTipo, controlador ? "1" : "0");
    if (controlador) {
        poner(claves::PrinterDeviceName, h.candidato.impresora);
    } else {
        poner(claves::KovraPuerto, h.candidato.puerto);
        poner(claves::KovraASCII, h.orden.codigos);
    }
    if (h.sensor) poner(claves::KovraSensor, *h.sensor == ModoSensor::PinAlto ? "1" : "2");
    return lineas;
}

bool SePuedeGuardar(Parametros& parametros, const HallazgoCajon& hallazgo) {
    return ValorNumerico(parametros.VRXGetParametro(claves::KovraBloqueado, "0")) == 0 &&
           parametros.SePuedeEscribir() &&
           std::ranges::none_of(LineasHallazgo(hallazgo),
                                [&](const auto& l) { return parametros.PorPolitica(l.first); });
}

bool GuardarHallazgo(Parametros& parametros, const HallazgoCajon& hallazgo) {
    if (!SePuedeGuardar(parametros, hallazgo)) return false;
    for (const auto& [clave, valor] : LineasHallazgo(hallazgo)) {
        parametros.VRXSetParametro(clave, valor);
    }
    return true;
}
