#include <gtest/gtest.h>

#include <functional>

#include "drawer/EnviarApertura.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/Fakes.h"

namespace {

using Escrituras = std::vector<std::string>;

class EnviarAperturaTest : public ::testing::Test {
  protected:
    ResultadoApertura Kick() {
        return EnviarApertura(controles_, {puertos_, impresora_, parametros_, dialogs_});
    }
    const FakePorts::Registro& Unico() {
        EXPECT_EQ(puertos_.registros.size(), 1u);
        return puertos_.registros.at(0);
    }
    std::string MensajeUnico() {
        EXPECT_EQ(dialogs_.cajas.size(), 1u);
        if (dialogs_.cajas.empty()) return {};
        EXPECT_EQ(dialogs_.cajas[0].tipo, "stop");
        return dialogs_.cajas[0].texto;
    }

    FakeControles controles_;
    FakePorts puertos_;
    FakePrinting impresora_;
    MemoryProfile perfil_;
    FakeDialogs dialogs_;
    Parametros parametros_{perfil_, dialogs_};
};

struct Modo {
    bool todoJunto;
    bool conPuntoyComa;
    Escrituras esperadas;
};

// The same bytes reach a port and a printer's queue: there, the writes of one
// kick make one RAW job.
TEST_F(EnviarAperturaTest, WritesTheDefaultSequenceInEachOfTheFourModes) {
    const Modo modos[] = {
        {true, true, {std::string("\x1B\x70\x00\x0A\x64", 5)}},
        {true, false, {std::string("\x1B\x70\x00\x0A\x64\r\n", 7)}},
        {false, true, {"\x1B", "\x70", std::string(1, '\0'), "\x0A", "\x64"}},
        {false, false, {"\x1B\r\n", "\x70\r\n", std::string("\0\r\n", 3), "\x0A\r\n", "\x64\r\n"}},
    };
    impresora_.instaladas = {"Caja_PS", "Tickets_RAW"};
    struct Destino {
        std::string puerto;
        FakePorts& registro;
        std::string nombre;  // as the port or the job is opened
        ViaApertura via;
    };
    const Destino destinos[] = {
        {"LPT1:", puertos_, "LPT1:", ViaApertura::Puerto},
        {"tickets_raw", impresora_.trabajosRaw, "Tickets_RAW", ViaApertura::Raw},
    };
    for (const auto& d : destinos) {
        controles_.puerto = d.puerto;
        for (const auto& m : modos) {
            puertos_.registros.clear();
            impresora_.trabajosRaw.registros.clear();
            controles_.todoJunto = m.todoJunto;
            controles_.conPuntoyComa = m.conPuntoyComa;
            const auto resultado = Kick();
            ASSERT_EQ(puertos_.registros.size() + impresora_.trabajosRaw.registros.size(), 1u);
            ASSERT_EQ(d.registro.registros.size(), 1u) << d.puerto;
            const auto& r = d.registro.registros[0];
            EXPECT_EQ(r.nombre, d.nombre);
            EXPECT_EQ(r.escrituras, m.esperadas)
                << d.puerto << " todoJunto=" << m.todoJunto << " ;=" << m.conPuntoyComa;
            EXPECT_TRUE(r.cerrado);
            EXPECT_EQ(resultado.via, d.via);
            EXPECT_EQ(resultado.destino, d.nombre);
            EXPECT_FALSE(resultado.fallo.has_value());
        }
    }
    EXPECT_TRUE(dialogs_.cajas.empty());
    EXPECT_EQ(impresora_.documentosRaw.at(0), "AbrirCajon: apertura del cajón");
}

TEST_F(EnviarAperturaTest, SendsAnyByteValueAsItIs) {
    controles_.ascii = "0 255 128 10 13";
    Kick();
    EXPECT_EQ(Unico().escrituras, Escrituras{std::string("\x00\xFF\x80\x0A\x0D", 5)});
}

TEST_F(EnviarAperturaTest, AnEmptySequenceOpensAndClosesThePort) {
    controles_.ascii = "";
    const Modo modos[] = {
        {true, true, {""}}, {true, false, {"\r\n"}}, {false, true, {}}, {false, false, {}}};
    for (const auto& m : modos) {
        puertos_.registros.clear();
        controles_.todoJunto = m.todoJunto;
        controles_.conPuntoyComa = m.conPuntoyComa;
        Kick();
        EXPECT_EQ(Unico().escrituras, m.esperadas);
        EXPECT_TRUE(Unico().cerrado);
    }
    EXPECT_TRUE(dialogs_.cajas.empty());
}

struct CasoFallo {
    std::string ascii;
    bool todoJunto;
    bool conPuntoyComa;
    Escrituras antes;  // what reached the port before the failure
    std::string primeraLinea;
};

TEST_F(EnviarAperturaTest, ABadItemStopsTheKickAfterWhatTheModeHadWritten) {
    const std::string tipos = "13.No coinciden los tipos";
    const CasoFallo casos[] = {
        {"27 112  0 10 100", false, true, {"\x1B", "\x70"}, tipos},
        {"27 112  0 10 100", false, false, {"\x1B\r\n", "\x70\r\n"}, tipos},
        {"27 112  0 10 100", true, true, {}, tipos},
        {"27 112  0 10 100", true, false, {}, tipos},
        {"27 112 0 10 100 ",
         false,
         true,
         {"\x1B", "\x70", std::string(1, '\0'), "\x0A", "\x64"},
         tipos},
        {"27 112 0 10 100 ", true, true, {}, tipos},
        {"27 256", false, true, {"\x1B"}, "5.Llamada a procedimiento o argumento no válidos"},
        {"-1", false, true, {}, "5.Llamada a procedimiento o argumento no válidos"},
        {"27 A", false, true, {"\x1B"}, tipos},
        {"27 99999999999", false, true, {"\x1B"}, "6.Desbordamiento"},
        {"27 99999999999", true, false, {}, "6.Desbordamiento"},
        {std::string(100000, ' '), true, true, {}, tipos},
        {"27 " + std::string(4000, '9'), false, true, {"\x1B"}, "6.Desbordamiento"},
    };
    for (const auto& c : casos) {
        puertos_.registros.clear();
        dialogs_.cajas.clear();
        controles_.ascii = c.ascii;
        controles_.todoJunto = c.todoJunto;
        controles_.conPuntoyComa = c.conPuntoyComa;
        Kick();
        const auto& r = Unico();
        EXPECT_EQ(r.escrituras, c.antes) << c.ascii.substr(0, 20);
        EXPECT_FALSE(r.cerrado);
        EXPECT_TRUE(r.destruido) << "the port must be released before the message";
        EXPECT_EQ(MensajeUnico(), c.primeraLinea + "\r\nPuerto:LPT1:\r\nLínea: 0");
    }
}

TEST_F(EnviarAperturaTest, PortFailuresCarryTheirNumberAndThePortName) {
    controles_.puerto = "COM7:";
    puertos_.fallarAlAbrir = true;
    Kick();
    EXPECT_TRUE(puertos_.registros.empty());
    EXPECT_EQ(MensajeUnico(),
              "2.No se encuentra el dispositivo o el archivo\r\nPuerto:COM7:\r\nLínea: 0");

    dialogs_.cajas.clear();
    puertos_.fallarAlAbrir = false;
    puertos_.fallarEnEscritura = 2;
    controles_.todoJunto = false;
    Kick();
    EXPECT_EQ(Unico().escrituras, (Escrituras{"\x1B", "\x70"}));
    EXPECT_TRUE(Unico().destruido);
    EXPECT_EQ(MensajeUnico(),
              "29.Error de escritura en el dispositivo\r\nPuerto:COM7:\r\nLínea: 0");

    dialogs_.cajas.clear();
    puertos_.registros.clear();
    puertos_.fallarEnEscritura.reset();
    puertos_.fallarAlCerrar = true;
    Kick();
    EXPECT_EQ(Unico().escrituras.size(), 5u);
    EXPECT_EQ(MensajeUnico(), "31.El dispositivo no funciona\r\nPuerto:COM7:\r\nLínea: 0");
}

TEST_F(EnviarAperturaTest, ThePrinterPathIgnoresTheSequenceAndThePort) {
    controles_.printer = true;
    controles_.ascii = "27  basura 999999999999";
    controles_.todoJunto = false;
    impresora_.instaladas = {"Caja"};
    impresora_.actual = 0;
    const auto resultado = Kick();
    EXPECT_TRUE(puertos_.registros.empty());
    EXPECT_TRUE(dialogs_.cajas.empty());
    EXPECT_EQ(impresora_.llamadas,
              (Escrituras{"State(Caja)", "OwnJobs(Caja)", "Print(|1)", "Print(|1)", "EndDoc"}));
    EXPECT_EQ(resultado.via, ViaApertura::Impresora);
    EXPECT_EQ(resultado.destino, "Caja");
    EXPECT_FALSE(resultado.fallo.has_value());
}

TEST_F(EnviarAperturaTest, APrinterFailureShowsTheKickMessageWithThePortLine) {
    controles_.printer = true;
    impresora_.instaladas = {"Caja"};
    impresora_.actual = 0;
    impresora_.fallarAlImprimir = true;
    const auto resultado = Kick();
    EXPECT_EQ(MensajeUnico(),
              "1801.El nombre de la impresora no es válido\r\nPuerto:LPT1:\r\nLínea: 0");
    ASSERT_TRUE(resultado.fallo.has_value());
    EXPECT_EQ(resultado.fallo->numero, 1801);
    EXPECT_EQ(impresora_.llamadas, (Escrituras{"State(Caja)", "OwnJobs(Caja)", "KillDoc"}))
        << "the job is dropped; EndDoc is not called after a failure";
}

// Devices and paths are ports; a bare name is a printer's name, and one that
// names no printer fails: it never becomes a file in the current folder.
TEST_F(EnviarAperturaTest, DevicesAndPathsArePortsABareNameIsAPrinter) {
    impresora_.instaladas = {"Tickets_RAW", "LPT1", "cajon"};
    const std::pair<std::string, bool> casos[] = {
        {"LPT1:", true},        {"LPT1", true},       {"C:\\cajon", true},
        {".\\cajon.bin", true}, {"cajon.bin", false}, {"Tickets", false},
    };
    for (const auto& [puerto, esPuerto] : casos) {
        puertos_.registros.clear();
        dialogs_.cajas.clear();
        controles_.puerto = puerto;
        const auto resultado = Kick();
        EXPECT_EQ(resultado.destino, puerto);
        if (esPuerto) {
            EXPECT_EQ(Unico().nombre, puerto);
            EXPECT_EQ(resultado.via, ViaApertura::Puerto);
        } else {
            EXPECT_TRUE(puertos_.registros.empty()) << puerto;
            EXPECT_EQ(MensajeUnico(), "1801.El nombre de la impresora no es válido\r\nPuerto:" +
                                          puerto + "\r\nLínea: 0");
        }
    }
    EXPECT_TRUE(impresora_.trabajosRaw.registros.empty());
}

// Named by a settings file another user can change, only a port of this
// computer is opened: never a path, a share, a pipe, or a "\\.\" path.
TEST_F(EnviarAperturaTest, ASettingAnotherUserMayHaveWrittenOpensOnlyAPort) {
    const std::pair<std::string, bool> casos[] = {
        {"LPT1:", true},           {"com3", true},
        {"\\\\.\\COM10", true},    {"C:\\abrir.cmd", false},
        {"\\\\host\\s\\x", false}, {"\\\\.\\C:\\x.cmd", false},
        {"\\\\.\\pipe\\p", false}, {"\\\\.\\UNC\\h\\s", false},
        {"\\\\.\\CON", false},
    };
    for (const auto& [puerto, esPuerto] : casos) {
        puertos_.registros.clear();
        dialogs_.cajas.clear();
        controles_.puerto = puerto;
        ServiciosApertura servicios{puertos_, impresora_, parametros_, dialogs_};
        servicios.soloDispositivos = true;
        const auto resultado = EnviarApertura(controles_, servicios);
        EXPECT_EQ(puertos_.registros.size(), esPuerto ? 1u : 0u) << puerto;
        EXPECT_EQ(resultado.fallo.has_value(), !esPuerto) << puerto;
        if (!esPuerto) {
            EXPECT_EQ(resultado.fallo->numero, 5) << puerto;
        }
    }
}

// A printer that cannot print now would keep the kick and open the drawer
// when it comes back: both printer routes refuse it. At most one kick job of
// the program ever waits in a queue.
TEST_F(EnviarAperturaTest, APrinterThatCannotPrintNowRefusesTheKickOnBothRoutes) {
    using namespace estado_impresora;
    struct Caso {
        std::optional<EstadoImpresora> estado;
        bool sale;
    };
    const Caso casos[] = {
        {EstadoImpresora{}, true},
        {std::nullopt, true},                       // unreadable: not a reason to refuse
        {EstadoImpresora{0x00000200, 0x40}, true},  // busy, shared
        {EstadoImpresora{kPausada, 0}, false},
        {EstadoImpresora{kEnError, 0}, false},
        {EstadoImpresora{kSinPapel, 0}, false},
        {EstadoImpresora{kSinConexion, 0}, false},
        {EstadoImpresora{kNoDisponible, 0}, false},
        {EstadoImpresora{kTapaAbierta, 0}, false},
        {EstadoImpresora{0, kUsarSinConexion}, false},
    };
    impresora_.instaladas = {"Tickets_RAW"};
    impresora_.actual = 0;
    controles_.puerto = "Tickets_RAW";
    for (const bool printer : {false, true}) {
        controles_.printer = printer;
        for (const auto& c : casos) {
            impresora_.llamadas.clear();
            impresora_.trabajosRaw.registros.clear();
            dialogs_.cajas.clear();
            impresora_.estado = c.estado;
            const auto r = Kick();
            const bool impreso = printer ? std::ranges::count(impresora_.llamadas, "EndDoc") == 1
                                         : impresora_.trabajosRaw.registros.size() == 1;
            EXPECT_EQ(impreso, c.sale) << printer << " " << (c.estado ? c.estado->status : 99);
            if (c.sale) continue;
            EXPECT_EQ(MensajeUnico(),
                      "1906.La impresora no está disponible\r\nPuerto:Tickets_RAW\r\nLínea: 0");
            EXPECT_EQ(r.destino, "Tickets_RAW");
        }
    }

    // The printer's state says nothing (the spooler learns it only while it
    // sends a job), but a kick job is stuck: deleted although it is being
    // printed, and the kick refused; a kick being printed without an error
    // is left to finish. One open of the queue per kick.
    using namespace estado_trabajo;
    const std::string raw = "AbrirCajon: apertura del cajón";
    impresora_.estado = EstadoImpresora{};
    impresora_.cola = {{1, raw, 0},
                       {2, "Factura 7", kError},
                       {3, raw, kImprimiendose | kError},
                       {4, "AbrirCajon", 0},
                       {5, raw, kImprimiendose}};
    impresora_.aperturasCola = 0;
    controles_.printer = false;
    impresora_.llamadas.clear();
    dialogs_.cajas.clear();
    Kick();
    EXPECT_EQ(impresora_.llamadas,
              (Escrituras{"InstalledPrinters", "State(Tickets_RAW)", "OwnJobs(Tickets_RAW)",
                          "DeleteJob(Tickets_RAW|1)", "DeleteJob(Tickets_RAW|3)"}));
    EXPECT_EQ(MensajeUnico(),
              "1906.La impresora no está disponible\r\nPuerto:Tickets_RAW\r\nLínea: 0");
    controles_.printer = true;
    impresora_.llamadas.clear();
    Kick();
    EXPECT_EQ(impresora_.llamadas,
              (Escrituras{"State(Tickets_RAW)", "OwnJobs(Tickets_RAW)", "DeleteJob(Tickets_RAW|4)",
                          "Print(|1)", "Print(|1)", "EndDoc"}));
    EXPECT_EQ(impresora_.aperturasCola, 2);
}

// A RAW job that fails at any step is never handed to the printer: destroyed
// without Close, it is deleted from the queue; a bad sequence opens none. The
// message names the printer.
TEST_F(EnviarAperturaTest, AFailedRawJobIsDeletedAndTheMessageNamesThePrinter) {
    impresora_.instaladas = {"Tickets_RAW"};
    controles_.puerto = "TICKETS_RAW";
    auto& trabajos = impresora_.trabajosRaw;
    struct Caso {
        std::string ascii;
        bool todoJunto;
        std::function<void()> preparar;
        std::size_t trabajos;  // jobs opened
        std::string primeraLinea;
    };
    const Caso casos[] = {
        {"27 112 0 10 100", true, [&] { trabajos.fallarAlAbrir = true; }, 0,
         "2.No se encuentra el dispositivo o el archivo"},
        // A bad sequence is found before the job is opened.
        {"27 256", false, [] {}, 0, "5.Llamada a procedimiento o argumento no válidos"},
        {"27 112  0", true, [] {}, 0, "13.No coinciden los tipos"},
        {"27 112 0 10 100", false, [&] { trabajos.fallarEnEscritura = 2; }, 1,
         "29.Error de escritura en el dispositivo"},
        {"27 112 0 10 100", true, [&] { trabajos.fallarAlCerrar = true; }, 1,
         "31.El dispositivo no funciona"},
    };
    for (const auto& c : casos) {
        trabajos = FakePorts{};
        dialogs_.cajas.clear();
        controles_.ascii = c.ascii;
        controles_.todoJunto = c.todoJunto;
        c.preparar();
        const auto resultado = Kick();
        ASSERT_EQ(trabajos.registros.size(), c.trabajos) << c.primeraLinea;
        if (c.trabajos > 0) {
            EXPECT_FALSE(trabajos.registros[0].cerrado) << c.primeraLinea;
            EXPECT_TRUE(trabajos.registros[0].destruido) << c.primeraLinea;
        }
        EXPECT_EQ(MensajeUnico(), c.primeraLinea + "\r\nPuerto:Tickets_RAW\r\nLínea: 0");
        EXPECT_EQ(resultado.via, ViaApertura::Raw);
        EXPECT_EQ(resultado.destino, "Tickets_RAW");
        ASSERT_TRUE(resultado.fallo.has_value());
        EXPECT_EQ(std::to_string(resultado.fallo->numero) + "." + resultado.fallo->descripcion,
                  c.primeraLinea);
    }
    EXPECT_TRUE(puertos_.registros.empty()) << "a failed RAW job never falls back to a file";
}

TEST_F(EnviarAperturaTest, TheResultSaysHowAndWhereAndIsToldBeforeAnyBox) {
    struct Caso {
        bool printer;
        bool falla;
        ViaApertura via;
        std::string destino;
        std::optional<int> numero;
    };
    const Caso casos[] = {
        {false, false, ViaApertura::Puerto, "COM3:", std::nullopt},
        {false, true, ViaApertura::Puerto, "COM3:", 2},
        {true, false, ViaApertura::Impresora, "Tickets", std::nullopt},
        {true, true, ViaApertura::Impresora, "Tickets", 1801},
    };
    controles_.puerto = "COM3:";
    impresora_.instaladas = {"Caja", "Tickets"};
    impresora_.actual = 1;
    for (const auto& c : casos) {
        dialogs_.cajas.clear();
        controles_.printer = c.printer;
        puertos_.fallarAlAbrir = c.falla;
        impresora_.fallarAlImprimir = c.falla;
        std::vector<ResultadoApertura> contados;
        std::size_t cajasAntes = 99;
        const auto r = EnviarApertura(controles_, {puertos_, impresora_, parametros_, dialogs_,
                                                   [&](const ResultadoApertura& dicho) {
                                                       contados.push_back(dicho);
                                                       cajasAntes = dialogs_.cajas.size();
                                                   }});
        EXPECT_EQ(r.via, c.via);
        EXPECT_EQ(r.destino, c.destino);
        EXPECT_EQ(r.fallo ? std::optional(r.fallo->numero) : std::nullopt, c.numero);
        ASSERT_EQ(contados.size(), 1u);
        EXPECT_EQ(contados[0].destino, r.destino);
        EXPECT_EQ(contados[0].fallo.has_value(), r.fallo.has_value());
        EXPECT_EQ(cajasAntes, 0u) << "told before the stop box";
        EXPECT_EQ(dialogs_.cajas.size(), c.falla ? 1u : 0u);
    }
    // No printer at all: the failure names no printer.
    impresora_.actual.reset();
    impresora_.fallarAlImprimir = true;
    const auto r = EnviarApertura(controles_, {puertos_, impresora_, parametros_, dialogs_});
    EXPECT_EQ(r.destino, "");
    EXPECT_TRUE(r.fallo.has_value());
}

TEST_F(EnviarAperturaTest, AComPortWithSettingsIsASerialPortNeverANetworkAddress) {
    controles_.printer = false;
    controles_.puerto = "COM10:9600,N,8,1";
    const auto r = EnviarApertura(controles_, {puertos_, impresora_, parametros_, dialogs_});
    EXPECT_FALSE(r.fallo.has_value());
    EXPECT_TRUE(dialogs_.cajas.empty());
    ASSERT_EQ(puertos_.registros.size(), 1u);
    EXPECT_EQ(puertos_.registros[0].nombre, "\\\\.\\COM10|9600,N,8,1");
}

}  // namespace
