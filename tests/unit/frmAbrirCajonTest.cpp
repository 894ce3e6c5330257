#include <gtest/gtest.h>

#include "tests/support/AperturaDePrueba.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakePoliticas.h"
#include "tests/support/FakeRegistro.h"
#include "tests/support/FakeVista.h"
#include "tests/support/Fakes.h"
#include "ui/Ordenes.h"
#include "ui/frmAbrirCajon.h"

namespace {

struct FakeSelectorVentana : SelectorImpresora {
    void Mostrar(std::string& nombre) override {
        mostrados.push_back(nombre);
        if (alMostrar) alMostrar(nombre);
    }
    std::vector<std::string> mostrados;
    std::function<void(std::string&)> alMostrar;
};

class frmAbrirCajonTest : public ::testing::Test {
  protected:
    frmAbrirCajonTest() {
        impresora_.instaladas = {"Caja", "Tickets"};
        impresora_.actual = 1;
        perfil_.valores["PrinterDeviceName"] = "Caja";
        vista_.alRedimensionar = [this] { form_.Form_Resize(); };
        form_.FijarIdentidad(0x1234, 0x99, false, 15);
    }
    std::vector<std::string> Informes() const {
        std::vector<std::string> r;
        for (const auto& c : dialogs_.cajas) r.push_back(c.tipo + ":" + c.texto);
        return r;
    }
    bool Habilitado(Control c) const { return vista_.Habilitado(c); }
    // The enabled flags of the port group and txtPrinter, in that order.
    std::string Estados() const {
        std::string s;
        for (Control c : {Control::txtPuerto, Control::txtAscii, Control::CheckConPuntoyComa,
                          Control::CheckTodoJunto, Control::txtPrinter}) {
            s += Habilitado(c) ? '1' : '0';
        }
        return s;
    }

    FakeVista vista_;
    MemoryProfile perfil_;
    FakePorts puertos_;
    FakePrinting impresora_;
    FakeDialogs dialogs_;
    FakeSelectorVentana selector_;
    FakeKeys teclas_;
    FakeTray bandeja_;
    AperturaDePrueba apertura_{perfil_, puertos_, impresora_, dialogs_, "C:\\Caja"};
    frmAbrirCajon form_{vista_,
                        {perfil_, apertura_.coordinador, impresora_, dialogs_, selector_, teclas_,
                         bandeja_, "C:\\Caja", ","}};
};

TEST_F(frmAbrirCajonTest, StartUpFillsTheWindowFromTheFile) {
    perfil_.valores.insert(
        {{"KovraPuerto", "COM2:"}, {"KovraASCII", "27 112 48 55 121"}, {"AC_PC", "S"}});
    form_.Form_Load();
    EXPECT_EQ(vista_.Texto(Control::lblIni), "C:\\Caja\\INIS\\PARAMETROS.INI");
    EXPECT_EQ(form_.RutaIni(), "C:\\Caja\\INIS\\PARAMETROS.INI");
    EXPECT_EQ(vista_.Texto(Control::txtPuerto), "COM2:");
    EXPECT_EQ(vista_.Texto(Control::txtAscii), "27 112 48 55 121");
    EXPECT_EQ(vista_.Texto(Control::CheckPrinter), "Enviar a: Caja");
    EXPECT_EQ(vista_.Texto(Control::txtPrinter), "Printer.Print ;\r\nPrinter.EndDoc ");
    EXPECT_EQ(vista_.Valor(Control::CheckPrinter), 1);
    EXPECT_EQ(Estados(), "00001");
    EXPECT_TRUE(selector_.mostrados.empty());
    EXPECT_TRUE(dialogs_.cajas.empty());
}

TEST_F(frmAbrirCajonTest, EveryFormOfKovraTipoSetsTheOutputType) {
    struct Caso {
        std::optional<std::string> tipo;
        int marcado;
        std::optional<std::string> escrito;  // KovraTipo afterwards
    };
    const Caso casos[] = {
        {std::nullopt, 1, std::nullopt},
        {"1", 1, "1"},
        {"1.0", 1, "1.0"},
        {"01", 1, "01"},
        {"1abc", 1, "1abc"},
        {"0", 0, "0"},
        {"2", 0, "0"},
        {"S", 0, "0"},
        {"true", 0, "0"},
        {"", 0, "0"},
        {"-1", 0, "0"},
    };
    for (const auto& c : casos) {
        FakeVista vista;
        MemoryProfile perfil;
        perfil.valores["PrinterDeviceName"] = "Caja";
        if (c.tipo) perfil.valores["KovraTipo"] = *c.tipo;
        frmAbrirCajon form(vista, {perfil, apertura_.coordinador, impresora_, dialogs_, selector_,
                                   teclas_, bandeja_, "C:", "."});
        form.Form_Load();
        const std::string nombre = c.tipo.value_or("(none)");
        EXPECT_EQ(vista.Valor(Control::CheckPrinter), c.marcado) << nombre;
        const auto it = perfil.valores.find("KovraTipo");
        EXPECT_EQ(it == perfil.valores.end() ? std::nullopt : std::optional(it->second), c.escrito)
            << nombre;
        // EstadoControles makes five changes a run: twice after the click handling.
        EXPECT_EQ(vista.habilitaciones, c.marcado ? 5 : 10) << nombre;
    }
    EXPECT_TRUE(dialogs_.cajas.empty());
}

TEST_F(frmAbrirCajonTest, ALockedFileKeepsItsTypeButTheWindowFollowsIt) {
    perfil_.valores.insert({{"KovraTipo", "2"}, {"KovraBloqueado", "1"}});
    form_.Form_Load();
    EXPECT_EQ(vista_.Valor(Control::CheckPrinter), 0);
    EXPECT_EQ(perfil_.valores["KovraTipo"], "2");
    EXPECT_EQ(Estados(), "11110");
}

TEST_F(frmAbrirCajonTest, AFailedPrinterChoiceIsReportedOnceAndTheRestOfTheStartUpRuns) {
    impresora_.instaladas.clear();
    impresora_.actual.reset();
    perfil_.valores.insert({{"KovraTipo", "0"}, {"KovraPuerto", "LPT2:"}, {"AC_PC", "S"}});
    form_.Form_Load();
    ASSERT_EQ(Informes(),
              std::vector<std::string>{
                  "report:Excepción Controlada: 482 (No hay ninguna impresora "
                  "instalada) en procedimiento Form_Load de Formulario Form1 Linea:14"});
    EXPECT_EQ(vista_.Texto(Control::CheckPrinter), "Enviar a printer");
    EXPECT_EQ(vista_.Texto(Control::txtPrinter), "Printer.Print ;\r\nPrinter.EndDoc ");
    EXPECT_EQ(vista_.Valor(Control::CheckPrinter), 0) << "KovraTipo still applied";
    EXPECT_EQ(Estados(), "11110");
    teclas_.estados = {{0x7B, static_cast<std::int16_t>(0x8000)}};
    form_.Timer_Timer();
    ASSERT_EQ(puertos_.registros.size(), 1u) << "F12 takes the port route";
    EXPECT_EQ(puertos_.registros[0].nombre, "LPT2:");
}

TEST_F(frmAbrirCajonTest, TheChooserComesUpAtStartWhenTheRememberedPrinterIsMissing) {
    perfil_.valores.erase("PrinterDeviceName");
    selector_.alMostrar = [this](std::string& nombre) {
        impresora_.MakeCurrent(0);
        nombre = "Caja";
    };
    form_.Form_Load();
    EXPECT_EQ(selector_.mostrados, std::vector<std::string>{""});
    EXPECT_EQ(perfil_.valores["PrinterDeviceName"], "Caja");
    EXPECT_EQ(vista_.Texto(Control::CheckPrinter), "Enviar a: Caja");
}

TEST_F(frmAbrirCajonTest, ClickAndFocusLossStoreTheSettings) {
    form_.Form_Load();
    vista_.FijarValor(Control::CheckPrinter, 0);
    form_.CheckPrinter_Click();
    EXPECT_EQ(perfil_.valores["KovraTipo"], "0");
    EXPECT_EQ(Estados(), "11110");
    vista_.FijarValor(Control::CheckPrinter, 1);
    form_.CheckPrinter_Click();
    EXPECT_EQ(perfil_.valores["KovraTipo"], "1");
    EXPECT_EQ(Estados(), "00001");

    vista_.FijarTexto(Control::txtPuerto, " COM3: ");
    form_.txtPuerto_LostFocus();
    vista_.FijarTexto(Control::txtAscii, "27 112 0 50 250 ");
    form_.txtAscii_LostFocus();
    EXPECT_EQ(perfil_.valores["KovraPuerto"], " COM3: ");
    EXPECT_EQ(perfil_.valores["KovraASCII"], "27 112 0 50 250 ");
}

TEST_F(frmAbrirCajonTest, EstadoControlesStopsAtItsFailingStep) {
    struct VistaRota : FakeVista {
        void Habilitar(Control c, bool h) override {
            if (c == Control::CheckConPuntoyComa) throw Fallo(5, "D");
            FakeVista::Habilitar(c, h);
        }
    } vista;
    frmAbrirCajon form(vista, {perfil_, apertura_.coordinador, impresora_, dialogs_, selector_,
                               teclas_, bandeja_, "C:", "."});
    vista.FijarValor(Control::CheckPrinter, 0);
    form.CheckPrinter_Click();
    EXPECT_EQ(
        Informes(),
        std::vector<std::string>{
            "report:Excepción Controlada: 5 (D) en procedimiento EstadoControles de Formulario "
            "Form1 Linea:30"});
    EXPECT_EQ(perfil_.valores["KovraTipo"], "0") << "the click handling goes on with the write";
}

TEST_F(frmAbrirCajonTest, ThePollAsksF12ThenShiftThenControlAndKicksOnlyWhenBothAreUp) {
    struct Caso {
        std::int16_t f12, shift, control;
        std::vector<int> consultas;
        bool kick;
    };
    const std::int16_t abajo = static_cast<std::int16_t>(0x8000);
    const Caso casos[] = {
        {0, 0, 0, {0x7B}, false},
        {1, 0, 0, {0x7B}, false},  // pressed since the last query, up now
        {abajo, 0, 0, {0x7B, 0x10, 0x11}, true},
        {static_cast<std::int16_t>(0x8001), 0, 0, {0x7B, 0x10, 0x11}, true},
        {abajo, abajo, 0, {0x7B, 0x10}, false},
        {abajo, 1, 0, {0x7B, 0x10}, false},
        {abajo, 0, abajo, {0x7B, 0x10, 0x11}, false},
        {abajo, 0, 1, {0x7B, 0x10, 0x11}, false},
    };
    vista_.FijarValor(Control::CheckPrinter, 0);
    for (const auto& c : casos) {
        teclas_.estados = {{0x7B, c.f12}, {0x10, c.shift}, {0x11, c.control}};
        teclas_.consultas.clear();
        puertos_.registros.clear();
        form_.Timer_Timer();
        EXPECT_EQ(teclas_.consultas, c.consultas);
        ASSERT_EQ(puertos_.registros.size(), c.kick ? 1u : 0u);
        if (c.kick) {
            EXPECT_EQ(puertos_.registros[0].escrituras,
                      std::vector<std::string>{std::string("\x1B\x70\x00\x0A\x64", 5)});
        }
    }
}

TEST_F(frmAbrirCajonTest, KovraTeclaChoosesThePolledKeyAndNamesTheButton) {
    struct Caso {
        std::optional<std::string> valor;  // KovraTecla
        int codigo;
        bool caja;  // the box at start
    };
    const Caso casos[] = {
        {std::nullopt, 0x7B, false}, {"", 0x7B, false},     {"F24", 0x87, false},
        {"F9", 0x78, false},         {"Intro", 0x7B, true},
    };
    const std::int16_t abajo = static_cast<std::int16_t>(0x8000);
    perfil_.valores["KovraTipo"] = "0";
    for (const auto& c : casos) {
        perfil_.valores.erase("KovraTecla");
        if (c.valor) perfil_.valores["KovraTecla"] = *c.valor;
        dialogs_.cajas.clear();
        form_.Form_Load();
        const std::string nombre = c.valor.value_or("(none)");
        EXPECT_EQ(vista_.Texto(Control::Command), "F" + std::to_string(c.codigo - 0x6F)) << nombre;
        EXPECT_EQ(Informes().size(), c.caja ? 1u : 0u) << nombre;
        EXPECT_EQ(perfil_.valores["KovraTecla"], c.valor.value_or("")) << "never written";
        const std::pair<std::map<int, std::int16_t>, bool> pulsaciones[] = {
            {{{c.codigo, abajo}, {0x12, abajo}}, c.codigo == 0x7B},  // Alt+F4 closes a program
            {{{c.codigo, abajo}, {0x10, abajo}}, false},
            {{{c.codigo, abajo}, {0x11, 1}}, false},
            {{{0x7B, abajo}}, c.codigo == 0x7B},
        };
        for (const auto& [estados, kick] : pulsaciones) {
            teclas_.estados = estados;
            puertos_.registros.clear();
            form_.Timer_Timer();
            EXPECT_EQ(puertos_.registros.size(), kick ? 1u : 0u) << nombre;
        }
    }
}

TEST_F(frmAbrirCajonTest, APressShorterThanATickKicksOnceAtTheNextTick) {
    // KovraTecla, the raw keys (negative: up), kicks at the next tick (the one after: none)
    using Caso = std::tuple<std::string, std::vector<int>, std::size_t>;
    for (const auto& [tecla, crudas, kicks] :
         {Caso{"F9", {0x78, -0x78, 0x78, -0x78}, 1}, Caso{"F9", {0xA0, 0x78, -0x78, -0xA0}, 0},
          Caso{"F9", {0x11, 0x78, -0x78, -0x11}, 0}, Caso{"F9", {0xA4, 0x78, -0x78, -0xA4}, 0},
          Caso{"F12", {0x7B, -0x7B}, 0}}) {
        perfil_.valores = {{"KovraTipo", "0"}, {"KovraTecla", tecla}};
        form_.Form_Load();
        for (int c : crudas) form_.EntradaCruda(std::abs(c), c > 0);
        for (std::size_t n : {kicks, std::size_t{0}}) {
            puertos_.registros.clear();
            form_.Timer_Timer();
            EXPECT_EQ(puertos_.registros.size(), n) << tecla << ::testing::PrintToString(crudas);
        }
    }
    perfil_.valores["KovraTecla"] = "F9";
    form_.Form_Load();
    puertos_.registros.clear();
    teclas_.estados = {{0x78, static_cast<std::int16_t>(0x8000)}};  // held: the tick kicks
    form_.EntradaCruda(0x78, true);
    form_.Timer_Timer();
    form_.EntradaCruda(0x78, true);  // a typematic repeat, then the release
    form_.EntradaCruda(0x78, false);
    teclas_.estados.clear();
    form_.Timer_Timer();
    EXPECT_EQ(puertos_.registros.size(), 1u) << "the repeat left no press behind";
}

TEST_F(frmAbrirCajonTest, TicksWaitWhileABoxIsOpen) {
    vista_.FijarValor(Control::CheckPrinter, 0);
    vista_.FijarTexto(Control::txtPuerto, "COM9:");
    puertos_.fallarAlAbrir = true;
    teclas_.estados = {{0x7B, static_cast<std::int16_t>(0x8000)}};
    struct DialogsQueTictaquean : FakeDialogs {
        void Stop(const std::string& t) override {
            FakeDialogs::Stop(t);
            for (int i = 0; i < 5; ++i) form->Timer_Timer();  // F12 still held
        }
        frmAbrirCajon* form = nullptr;
    } dialogs;
    frmAbrirCajon form(vista_, {perfil_, apertura_.coordinador, impresora_, dialogs, selector_,
                                teclas_, bandeja_, "C:", "."});
    dialogs.form = &form;
    form.Timer_Timer();
    EXPECT_EQ(dialogs.cajas.size(), 1u);
    EXPECT_FALSE(form.ModalAbierto());
    form.Timer_Timer();
    EXPECT_EQ(dialogs.cajas.size(), 2u) << "the poll goes on after the box";
}

TEST_F(frmAbrirCajonTest, TheF12ButtonKicksOnceWithTheLiveControls) {
    vista_.FijarValor(Control::CheckPrinter, 0);
    vista_.FijarValor(Control::CheckTodoJunto, 0);
    vista_.FijarValor(Control::CheckConPuntoyComa, 0);
    vista_.FijarTexto(Control::txtAscii, "7");
    vista_.FijarTexto(Control::txtPuerto, "COM1:");
    form_.Command_Click();
    ASSERT_EQ(puertos_.registros.size(), 1u);
    EXPECT_EQ(puertos_.registros[0].nombre, "\\\\.\\COM1|");  // serial, system settings
    EXPECT_EQ(puertos_.registros[0].escrituras, std::vector<std::string>{"\x07\r\n"});
}

TEST_F(frmAbrirCajonTest, OneKickAtATimeFromEveryTrigger) {
    vista_.FijarValor(Control::CheckPrinter, 0);
    vista_.FijarTexto(Control::txtPuerto, "LPT1:");
    // A port that lets messages through while it is written to, as a print job may.
    puertos_.alEscribir = [&] {
        puertos_.alEscribir = nullptr;
        form_.Command_Click();
        teclas_.estados[kTeclaF12] = -32768;
        form_.Timer_Timer();
        EXPECT_EQ(form_.OrdenAbrir({}), salida::kOcupado);
        EXPECT_EQ(form_.OrdenWeb("https://tpv.ejemplo.com", {}), SinApertura::OtraApertura);
    };
    form_.Command_Click();
    EXPECT_EQ(puertos_.registros.size(), 1u);
    EXPECT_EQ(form_.OrdenAbrir({}), 0) << "and once it is over, the next one goes";
    EXPECT_EQ(puertos_.registros.size(), 2u);
}

TEST_F(frmAbrirCajonTest, EachKickIsRecordedWithItsTriggerBeforeAnyBox) {
    FakeClock reloj;
    FakeSession sesion;
    FakeTextFiles archivos;
    RegistroAperturas aperturas(reloj, sesion, archivos, perfil_);
    // While the box is open, the writer takes what was handed over.
    struct DialogsQueLeen : FakeDialogs {
        void Stop(const std::string& t) override {
            FakeDialogs::Stop(t);
            aperturas->EscribirPendientes();
            leido = archivos->archivos[kCsv];
        }
        RegistroAperturas* aperturas = nullptr;
        FakeTextFiles* archivos = nullptr;
        std::string leido;
        const std::string kCsv = "C:\\Caja\\INIS\\APERTURAS.CSV";
    } dialogs;
    dialogs.archivos = &archivos;
    dialogs.aperturas = &aperturas;
    perfil_.valores.insert({{"KovraTipo", "0"}, {"KovraTecla", "F9"}});
    AperturaDePrueba apertura(perfil_, puertos_, impresora_, dialogs, "C:\\Caja", nullptr,
                              &aperturas);
    frmAbrirCajon form(vista_, {perfil_, apertura.coordinador, impresora_, dialogs, selector_,
                                teclas_, bandeja_, "C:\\Caja", ","});
    form.Form_Load();
    form.Command_Click();
    teclas_.estados = {{0x78, static_cast<std::int16_t>(0x8000)}};
    form.Timer_Timer();
    puertos_.fallarAlAbrir = true;
    form.Command_Click();
    aperturas.EscribirPendientes();

    const auto linea = [&](OrigenApertura o, std::optional<Fallo> f) {
        return LineaApertura(reloj.momento, "cajera", o, "F9", {ViaApertura::Puerto, "LPT1:", f},
                             0);
    };
    const std::string esperado =
        "Fecha;Hora;Usuario;Origen;Vía;Destino;Resultado;Perdidas\r\n" +
        linea(OrigenApertura::Boton, std::nullopt) + linea(OrigenApertura::Tecla, std::nullopt) +
        linea(OrigenApertura::Boton, Fallo(2, "No se encuentra el dispositivo o el archivo"));
    EXPECT_EQ(archivos.archivos[dialogs.kCsv], esperado);
    EXPECT_EQ(dialogs.leido, esperado) << "the line is handed over before the stop box";
    EXPECT_EQ(dialogs.cajas.size(), 1u);
}

TEST_F(frmAbrirCajonTest, CloseReasonsMinimizeOrClose) {
    EXPECT_TRUE(form_.Form_QueryUnload(vbFormControlMenu));
    EXPECT_EQ(vista_.estado, kVentanaMinimizada);
    EXPECT_FALSE(vista_.visible) << "minimized goes to the notification area";
    EXPECT_TRUE(dialogs_.cajas.empty()) << "no question";
    for (UnloadMode m : {vbFormCode, vbAppWindows, vbAppTaskManager})
        EXPECT_FALSE(form_.Form_QueryUnload(m));
    form_.Form_Unload();
    EXPECT_FALSE(bandeja_.presente) << "the unload removes the icon";
}

TEST_F(frmAbrirCajonTest, SalirAsksAndEndsOnlyOnYes) {
    form_.cmdEnd_Click();
    ASSERT_EQ(Informes(), std::vector<std::string>{"question:¿Cerrar programa?"});
    EXPECT_TRUE(vista_.eventos.empty());
    dialogs_.respuestaSi = true;
    form_.cmdEnd_Click();
    EXPECT_EQ(vista_.eventos, std::vector<std::string>{"terminar"});
    EXPECT_EQ(bandeja_.acciones, std::vector<std::string>{"delete"})
        << "the unload asked for the icon's removal";
}

TEST_F(frmAbrirCajonTest, HelpGesturesShowTheTipAndThePath) {
    form_.Form_Load();
    form_.ImageInfo_Click();
    form_.lblInfo_Click();
    EXPECT_EQ(Informes(),
              (std::vector<std::string>{"info:Puede crear 2 impresoras iguales, con distinta "
                                        "opción de corte / apertura cajón y "
                                        "usar diferente para abrir cajón o impresión",
                                        "input:INI|INI|C:\\Caja\\INIS\\PARAMETROS.INI"}));
    EXPECT_EQ(perfil_.escrituras, std::vector<std::string>{"PrinterDeviceName=Caja"})
        << "the answer is discarded";
}

TEST_F(frmAbrirCajonTest, WhatAPolicySetsIsShownGreyedWithItsTipAndNeverWritten) {
    using C = Control;
    struct Caso {
        const char* clave;
        ValorPolitica valor;
        std::vector<Control> grises;
        bool menu;                 // the sensor's check greyed
        bool sinEscribir = false;  // the machine's copy, with a file this user cannot write
    };
    const Caso casos[] = {
        {"", {}, {}, false},
        {"", {}, {C::txtPuerto, C::txtAscii, C::CheckPrinter, C::cmdSelectPrinter}, true, true},
        {"KovraPuerto", FakePoliticas::Texto("LPT2:"), {C::txtPuerto}, false},
        {"KovraASCII", FakePoliticas::Numero(7), {C::txtAscii}, false},
        {"KovraTipo", FakePoliticas::Texto("1"), {C::CheckPrinter}, false},
        {"PrinterDeviceName", FakePoliticas::Texto("Tickets"), {C::cmdSelectPrinter}, false},
        {"KovraSensor", FakePoliticas::Numero(0), {}, true},
        {"KovraBloqueado",
         FakePoliticas::Numero(1),
         {C::txtPuerto, C::txtAscii, C::CheckPrinter, C::cmdSelectPrinter},
         true},
        {"KovraBloqueado", FakePoliticas::Numero(0), {}, false},
        {"KovraRegistro", FakePoliticas::Texto("0"), {}, false},
    };
    for (const auto& c : casos) {
        FakeVista vista;
        MemoryProfile perfil;
        perfil.valores = {{"KovraTipo", "0"}};
        FakePoliticas politicas;
        if (*c.clave) politicas.Equipo(c.clave, c.valor);
        AperturaDePrueba apertura(perfil, puertos_, impresora_, dialogs_, "C:", &politicas);
        ServiciosPrincipal s{
            perfil, apertura.coordinador, impresora_, dialogs_, selector_, teclas_, bandeja_, "C:",
            ","};
        s.politicas = &politicas;
        struct SinEscribir : PermisosArchivo {
            bool OtrosPuedenCambiar(const std::string&) override { return false; }
            bool PuedoEscribir(const std::string&) override { return false; }
        } sinEscribir;
        if (c.sinEscribir) s.permisosEquipo = &sinEscribir;
        frmAbrirCajon form(vista, s);
        form.Form_Load();
        vista.FijarValor(C::CheckPrinter, 1 - vista.Valor(C::CheckPrinter));
        form.CheckPrinter_Click();  // the route changes; what the policy fixed stays
        std::map<Control, std::string> consejos;
        for (Control g : c.grises) {
            consejos[g] = kTextoPorPolitica;
            EXPECT_FALSE(vista.Habilitado(g)) << c.clave;
        }
        consejos.erase(C::LabelComentario);
        auto vistos = vista.consejos;
        vistos.erase(C::LabelComentario);
        EXPECT_EQ(vistos, consejos) << c.clave;
        EXPECT_EQ(vista.comprobarSensor, !c.menu) << c.clave;
        for (const auto& e : perfil.escrituras) EXPECT_NE(e.substr(0, e.find('=')), c.clave);
    }
    EXPECT_EQ(selector_.mostrados.size(), 7u) << "not for the policy's printer nor the lock";
    EXPECT_TRUE(dialogs_.cajas.empty());
}

// Group Policy applies while the program runs: a lock of REG_QWORD 1 greys
// at once, and its removal gives the boxes back.
TEST_F(frmAbrirCajonTest, APolicyAppliedWhileRunningGreysAndGivesBackAtOnce) {
    FakeVista vista;
    MemoryProfile perfil;
    perfil.valores = {{"KovraTipo", "0"}};
    FakePoliticas politicas;
    AperturaDePrueba apertura(perfil, puertos_, impresora_, dialogs_, "C:", &politicas);
    ServiciosPrincipal s{
        perfil, apertura.coordinador, impresora_, dialogs_, selector_, teclas_, bandeja_, "C:",
        ","};
    s.politicas = &politicas;
    frmAbrirCajon form(vista, s);
    form.Form_Load();
    EXPECT_TRUE(vista.Habilitado(Control::txtPuerto));
    politicas.Equipo("KovraBloqueado", FakePoliticas::Numero(1, 8));
    form.PoliticaCambiada();
    EXPECT_FALSE(vista.Habilitado(Control::txtPuerto));
    EXPECT_EQ(vista.consejos[Control::txtPuerto], kTextoPorPolitica);
    politicas.valores.clear();
    form.PoliticaCambiada();
    EXPECT_TRUE(vista.Habilitado(Control::txtPuerto));
}

TEST_F(frmAbrirCajonTest, APolicyValueIsWhatTheControlShowsAndThePrinterANewPolicyNames) {
    FakePoliticas politicas;
    politicas.Usuario("KovraPuerto", FakePoliticas::Texto("LPT2:"));
    politicas.Usuario("KovraASCII", FakePoliticas::Numero(7));
    politicas.Equipo("KovraTipo", FakePoliticas::Texto("0"));
    perfil_.valores.insert({{"KovraPuerto", "LPT1:"}, {"KovraTipo", "1"}});
    AperturaDePrueba apertura(perfil_, puertos_, impresora_, dialogs_, "C:", &politicas);
    ServiciosPrincipal s{
        perfil_, apertura.coordinador, impresora_, dialogs_, selector_, teclas_, bandeja_, "C:",
        ","};
    s.politicas = &politicas;
    frmAbrirCajon form(vista_, s);
    form.Form_Load();
    EXPECT_EQ(vista_.Texto(Control::txtPuerto), "LPT2:");
    EXPECT_EQ(vista_.Texto(Control::txtAscii), "7");
    EXPECT_EQ(vista_.Valor(Control::CheckPrinter), 0);
    EXPECT_EQ(perfil_.valores["KovraTipo"], "1") << "the file keeps its own";
    // A printer named by policy while the program runs: the button makes it
    // current without the chooser, and greys.
    politicas.Equipo("PrinterDeviceName", FakePoliticas::Texto("Tickets"));
    form.cmdSelectPrinter_Click();
    EXPECT_TRUE(selector_.mostrados.empty());
    EXPECT_EQ(impresora_.CurrentDeviceName(), "Tickets");
    EXPECT_FALSE(vista_.Habilitado(Control::cmdSelectPrinter));
    EXPECT_EQ(perfil_.valores["PrinterDeviceName"], "Caja");
}

}  // namespace
