#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <thread>

#include "drawer/RegistroAperturas.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakePoliticas.h"
#include "tests/support/FakeRegistro.h"
#include "tests/support/Fakes.h"

namespace {

const std::string kIni = "C:\\Caja\\INIS\\PARAMETROS.INI";
const std::string kRuta = "C:\\Caja\\INIS\\APERTURAS.CSV";
const std::string kAnterior = "C:\\Caja\\INIS\\APERTURAS-ANTERIOR.CSV";
const std::string kCabecera = "Fecha;Hora;Usuario;Origen;Vía;Destino;Resultado;Perdidas\r\n";

ResultadoApertura Enviado(std::string puerto = "LPT1:") {
    return {ViaApertura::Puerto, std::move(puerto), std::nullopt};
}

TEST(LineaAperturaTest, FieldsForEachRouteAndResult) {
    struct Caso {
        OrigenApertura origen;
        ResultadoApertura resultado;
        std::uint64_t perdidas;
        std::string linea;
    };
    const Caso casos[] = {
        {OrigenApertura::Boton, Enviado(), 0,
         "2026-03-05;09:07:03.045;cajera;Botón F9;Puerto;LPT1:;Enviado;\r\n"},
        {OrigenApertura::Tecla,
         {ViaApertura::Puerto, "LPT9:", Fallo(2, "No se encuentra el dispositivo o el archivo")},
         0,
         "2026-03-05;09:07:03.045;cajera;Tecla F9;Puerto;LPT9:;"
         "Error 2: No se encuentra el dispositivo o el archivo;\r\n"},
        {OrigenApertura::Tecla,
         {ViaApertura::Impresora, "Caja", std::nullopt},
         3,
         "2026-03-05;09:07:03.045;cajera;Tecla F9;Impresora;Caja;Enviado;3\r\n"},
        {OrigenApertura::Boton,
         {ViaApertura::Raw, "Tickets", Fallo(1801, "No válido")},
         0,
         "2026-03-05;09:07:03.045;cajera;Botón F9;RAW;Tickets;Error 1801: No válido;\r\n"},
        {OrigenApertura::OrdenAbrir, Enviado(), 0,
         "2026-03-05;09:07:03.045;cajera;Orden /abrir;Puerto;LPT1:;Enviado;\r\n"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(
            LineaApertura(FakeClock{}.momento, "cajera", c.origen, "F9", c.resultado, c.perdidas),
            c.linea);
    }
    // A web page's kick names its origin and motive, which may hold the separator.
    EXPECT_EQ(
        LineaApertura(FakeClock{}.momento, "cajera", OrigenApertura::Web, "https://tpv.es Caja;2",
                      Enviado(), 0),
        "2026-03-05;09:07:03.045;cajera;\"Web https://tpv.es Caja;2\";Puerto;LPT1:;Enviado;\r\n");
    // Every number of the date and time keeps its width.
    EXPECT_EQ(LineaApertura({987, 12, 31, 23, 59, 59, 999}, "", OrigenApertura::Boton, "F12",
                            Enviado(), 0)
                  .substr(0, 24),
              "0987-12-31;23:59:59.999;");
}

TEST(LineaAperturaTest, FieldsWithTheSeparatorQuotesLineBreaksOrAFormulaAreQuoted) {
    const std::pair<std::string, std::string> casos[] = {
        {"LPT1:", "LPT1:"},
        {"", ""},
        {"\\\\caja\\tickets;1", "\"\\\\caja\\tickets;1\""},
        {"O\"Brien", "\"O\"\"Brien\""},
        {"\"", "\"\"\"\""},
        {"a\r\nb", "\"a\r\nb\""},
        {"Ana María, caja 2", "Ana María, caja 2"},
        // What a spreadsheet would run as a formula stays text.
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"+34 600", "\"'+34 600\""},
        {"-1", "\"'-1\""},
        {"@SUM(A1)", "\"'@SUM(A1)\""},
        {"\tLPT1:", "\"'\tLPT1:\""},
        {"\rx", "\"'\rx\""},
        {"a=b-c", "a=b-c"},
    };
    for (const auto& [campo, csv] : casos) EXPECT_EQ(CampoCsv(campo), csv) << campo;
    EXPECT_EQ(LineaApertura(FakeClock{}.momento, "O\"Brien", OrigenApertura::Boton, "F12",
                            Enviado("a;b"), 0),
              "2026-03-05;09:07:03.045;\"O\"\"Brien\";Botón F12;Puerto;\"a;b\";Enviado;\r\n");
}

class RegistroAperturasTest : public ::testing::Test {
  protected:
    // One kick, and the writer's turn.
    void Anotar(OrigenApertura origen = OrigenApertura::Boton,
                const ResultadoApertura& r = Enviado()) {
        registro_.Anotar(kIni, origen, "F9", r);
        registro_.EscribirPendientes();
    }
    std::string Linea(std::uint64_t perdidas = 0) {
        return LineaApertura(reloj_.momento, "cajera", OrigenApertura::Boton, "F9", Enviado(),
                             perdidas);
    }

    FakeClock reloj_;
    FakeSession sesion_;
    FakeTextFiles archivos_;
    MemoryProfile perfil_;
    RegistroAperturas registro_{reloj_, sesion_, archivos_, perfil_};
};

TEST_F(RegistroAperturasTest, ANewFileBeginsWithTheHeaderBesideTheParameterFile) {
    Anotar();
    Anotar(OrigenApertura::Tecla);
    EXPECT_EQ(
        archivos_.archivos[kRuta],
        kCabecera + Linea() +
            LineaApertura(reloj_.momento, "cajera", OrigenApertura::Tecla, "F9", Enviado(), 0));
    archivos_.archivos[kRuta].clear();  // an empty file counts as new
    Anotar();
    EXPECT_EQ(archivos_.archivos[kRuta], kCabecera + Linea());
    EXPECT_EQ(archivos_.archivos.size(), 1u);
}

TEST_F(RegistroAperturasTest, LinesThatCannotBeWrittenAreCountedInTheNextOne) {
    Anotar();
    archivos_.retenidos.insert(kRuta);
    Anotar();
    Anotar();
    archivos_.retenidos.clear();
    archivos_.discoLleno = true;
    Anotar();
    EXPECT_EQ(registro_.Perdidas(), 3u);
    EXPECT_EQ(archivos_.archivos[kRuta], kCabecera + Linea());
    archivos_.discoLleno = false;
    Anotar();
    Anotar();
    EXPECT_EQ(archivos_.archivos[kRuta], kCabecera + Linea() + Linea(3) + Linea());
    EXPECT_EQ(registro_.Perdidas(), 0u);
    EXPECT_TRUE(perfil_.escrituras.empty()) << "the parameter file is never written";
}

TEST_F(RegistroAperturasTest, KicksNeverWaitForTheWriterAndAFullQueueCountsAsLost) {
    // A writer stuck on the file, as on a network folder that does not answer.
    std::promise<void> atascado, suelto;
    std::shared_future<void> soltar = suelto.get_future().share();
    std::atomic<bool> primero = true;
    archivos_.alAbrir = [&] {
        if (primero.exchange(false)) atascado.set_value();
        soltar.wait();
    };
    {
        EscritorAperturas escritor(registro_);
        registro_.Anotar(kIni, OrigenApertura::Boton, "F9", Enviado());
        atascado.get_future().wait();
        for (std::size_t i = 0; i < kMaxPendientes + 3; ++i) {
            registro_.Anotar(kIni, OrigenApertura::Boton, "F9", Enviado());
        }
        EXPECT_EQ(registro_.Perdidas(), 3u);
        // The program's end does not wait for a writer that is stuck ...
        const auto antes = std::chrono::steady_clock::now();
        EXPECT_FALSE(escritor.Terminar(std::chrono::milliseconds(100)));
        EXPECT_LT(std::chrono::steady_clock::now() - antes, std::chrono::seconds(2));
        suelto.set_value();
        // ... and one that goes on writes every pending line before it ends.
        EXPECT_TRUE(escritor.Terminar(std::chrono::seconds(30)));
    }
    const std::string& texto = archivos_.archivos[kRuta];
    EXPECT_EQ(static_cast<std::size_t>(std::count(texto.begin(), texto.end(), '\n')),
              1 + 1 + kMaxPendientes);
    EXPECT_EQ(texto.substr(0, kCabecera.size() + 2 * Linea().size() + 1),
              kCabecera + Linea() + Linea(3));
    EXPECT_EQ(registro_.Perdidas(), 0u);
}

TEST_F(RegistroAperturasTest, AFileThatReachedTheLimitIsSetAsideBeforeTheNextLine) {
    const std::string casi(kLimiteAperturas - 1, 'x');
    archivos_.archivos[kRuta] = casi;
    Anotar();
    EXPECT_EQ(archivos_.archivos[kRuta], casi + Linea()) << "below the limit: appended";
    EXPECT_FALSE(archivos_.archivos.count(kAnterior));

    const std::string lleno(kLimiteAperturas, 'y');
    archivos_.archivos[kRuta] = lleno;
    archivos_.archivos[kAnterior] = "older";
    Anotar();
    EXPECT_EQ(archivos_.archivos[kAnterior], lleno) << "the older copy is replaced";
    EXPECT_EQ(archivos_.archivos[kRuta], kCabecera + Linea());

    // The older copy held open: the line still goes into the full file.
    archivos_.archivos[kRuta] = lleno;
    archivos_.retenidos.insert(kAnterior);
    Anotar();
    EXPECT_EQ(archivos_.archivos[kRuta], lleno + Linea());
    EXPECT_EQ(registro_.Perdidas(), 0u);
    archivos_.retenidos.clear();
    Anotar();
    EXPECT_EQ(archivos_.archivos[kAnterior], lleno + Linea());
    EXPECT_EQ(archivos_.archivos[kRuta], kCabecera + Linea());
}

TEST_F(RegistroAperturasTest, KovraRegistroZeroTurnsTheRecordOffAtTheNextKick) {
    const std::pair<std::optional<std::string>, bool> casos[] = {
        {std::nullopt, true}, {"0", false}, {"  0 ", false}, {"1", true},
        {"", true},           {"00", true}, {"no", true},    {"0.0", true},
    };
    for (const auto& [valor, escribe] : casos) {
        archivos_.archivos.clear();
        archivos_.abiertos.clear();
        perfil_.valores.erase("KovraRegistro");
        if (valor) perfil_.valores["KovraRegistro"] = *valor;
        Anotar();
        EXPECT_EQ(archivos_.archivos.count(kRuta), escribe ? 1u : 0u) << valor.value_or("(none)");
        EXPECT_EQ(archivos_.abiertos.size(), escribe ? 1u : 0u) << valor.value_or("(none)");
    }
    EXPECT_EQ(perfil_.Lecturas("KovraRegistro"), 8);
    EXPECT_EQ(registro_.Perdidas(), 0u) << "a line not written by choice is not lost";
}

}  // namespace

namespace {

struct FakeEventos : RegistroEventos {
    struct Evento {
        ClaseEvento clase;
        std::vector<std::string> textos;
    };
    bool Informar(TipoEvento tipo, std::uint32_t id,
                  std::span<const std::string> textos) noexcept override {
        if (rechaza) return false;
        eventos.push_back({{id, tipo}, {textos.begin(), textos.end()}});
        return true;
    }
    std::vector<Evento> eventos;
    bool rechaza = false;
};

ResultadoApertura Sensor(FinSensor fin, std::string texto) {
    ResultadoApertura r{ViaApertura::Red, "192.168.1.50:9100", std::nullopt, std::move(texto)};
    r.finSensor = fin;
    return r;
}

// The fields of a line with no quoted field.
std::vector<std::string> Campos(std::string linea) {
    linea.resize(linea.size() - 2);  // CR LF
    std::vector<std::string> campos;
    std::size_t desde = 0;
    for (std::size_t p; (p = linea.find(';', desde)) != std::string::npos; desde = p + 1) {
        campos.push_back(linea.substr(desde, p - desde));
    }
    campos.push_back(linea.substr(desde));
    return campos;
}

class EventosAperturaTest : public ::testing::Test {
  protected:
    void Anotar(OrigenApertura origen, const ResultadoApertura& r) {
        registro_.Anotar(kIni, origen, "F12", r);
        registro_.EscribirPendientes();
    }

    FakeClock reloj_;
    FakeSession sesion_;
    FakeTextFiles archivos_;
    MemoryProfile perfil_;
    FakePoliticas politicas_;
    FakeEventos eventos_;
    RegistroAperturas registro_{reloj_, sesion_, archivos_, perfil_, &politicas_, &eventos_};
};

// The machine's copy: each user's lines in their own folder, the audit kept
// against a file other users can change, and no folder means lost and told,
// never the shared folder.
TEST_F(EventosAperturaTest, TheMachinesCopyRecordsInTheUsersFolderAndKeepsTheAudit) {
    struct Ajeno : PermisosArchivo {
        bool OtrosPuedenCambiar(const std::string&) override { return true; }
        bool PuedoEscribir(const std::string&) override { return true; }
    } ajeno;
    perfil_.valores = {{"KovraRegistro", "0"}, {"KovraEventos", "0"}};
    registro_.FijarInstalacionDelEquipo(&ajeno, "C:\\Users\\ana\\AppData\\Local\\AbrirCajon");
    Anotar(OrigenApertura::Tecla, Enviado());
    EXPECT_EQ(archivos_.archivos.count("C:\\Users\\ana\\AppData\\Local\\AbrirCajon\\APERTURAS.CSV"),
              1u);
    EXPECT_EQ(archivos_.archivos.count(kRuta), 0u);
    EXPECT_EQ(eventos_.eventos.size(), 1u) << "KovraEventos=0 of another user's file";
    registro_.FijarInstalacionDelEquipo(&ajeno, "");
    Anotar(OrigenApertura::Tecla, Enviado());
    EXPECT_EQ(archivos_.archivos.count(kRuta), 0u);
    EXPECT_EQ(registro_.Perdidas(), 1u);
    ASSERT_EQ(eventos_.eventos.size(), 3u);
    EXPECT_EQ(eventos_.eventos[2].clase.id, eventos::kRegistroSinEscribir.id);
}

TEST_F(EventosAperturaTest, EachLineIsOneEventOfItsKindWithTheRecordsFields) {
    struct Caso {
        OrigenApertura origen;
        ResultadoApertura resultado;
        ClaseEvento clase;
    };
    const Caso casos[] = {
        {OrigenApertura::Tecla, Enviado(), {1000, TipoEvento::Informacion}},
        {OrigenApertura::Web,
         {ViaApertura::Raw, "Tickets", std::nullopt},
         {1000, TipoEvento::Informacion}},
        {OrigenApertura::OrdenAbrir,
         {ViaApertura::Puerto, "LPT9:", Fallo(2, "No se encuentra")},
         {1001, TipoEvento::Error}},
        {OrigenApertura::Sensor,
         Sensor(FinSensor::Cerrado, "Cerrado tras 3 s"),
         {1100, TipoEvento::Informacion}},
        {OrigenApertura::Sensor,
         Sensor(FinSensor::AbiertoAlSalir, "Abierto al salir tras 9 s"),
         {1101, TipoEvento::Aviso}},
        {OrigenApertura::Sensor,
         Sensor(FinSensor::NoSeVioAbrirse, "No se vio abrirse"),
         {1102, TipoEvento::Aviso}},
        {OrigenApertura::Sensor,
         Sensor(FinSensor::SinRespuesta, "Sin respuesta del sensor"),
         {1103, TipoEvento::Aviso}},
        {OrigenApertura::Sensor,
         Sensor(FinSensor::SinCambio, "Sin cambio en 10 min"),
         {1104, TipoEvento::Aviso}},
    };
    for (const auto& c : casos) {
        eventos_.eventos.clear();
        archivos_.archivos.clear();
        Anotar(c.origen, c.resultado);
        ASSERT_EQ(eventos_.eventos.size(), 1u) << c.clase.id;
        EXPECT_EQ(eventos_.eventos[0].clase, c.clase);
        const std::string& csv = archivos_.archivos[kRuta];
        EXPECT_EQ(eventos_.eventos[0].textos, Campos(csv.substr(kCabecera.size()))) << csv;
    }
    // A web page whose origin is refused: its event alone, with no route.
    archivos_.archivos.clear();
    registro_.AnotarOrigenRechazado(kIni, "https://ajena.example");
    registro_.EscribirPendientes();
    EXPECT_TRUE(archivos_.archivos.empty());
    EXPECT_EQ(eventos_.eventos.back().clase, eventos::kOrigenRechazado);
    EXPECT_EQ(eventos_.eventos.back().textos[3], "Web https://ajena.example");
    EXPECT_EQ(eventos_.eventos.back().textos[4], "");
    EXPECT_EQ(eventos_.eventos.back().textos[6], kResultadoOrigenRechazado);
    // Many: their count as Perdidas; nothing hidden in the latest origin.
    registro_.AnotarOrigenRechazado(kIni, "https://z.example\xE2\x80\xAE\xC2\x85", 70);
    registro_.EscribirPendientes();
    EXPECT_EQ(eventos_.eventos.back().clase, eventos::kOrigenesRechazados);
    EXPECT_EQ(eventos_.eventos.back().textos[3] + eventos_.eventos.back().textos[7],
              "Web https://z.example??70");
}

TEST_F(EventosAperturaTest, KovraEventosZeroTurnsThemOffAndARefusingLogLosesOnlyTheEvent) {
    perfil_.valores["KovraEventos"] = "0";
    Anotar(OrigenApertura::Tecla, Enviado());
    EXPECT_TRUE(eventos_.eventos.empty());
    // A policy wins over the file, at the next line.
    politicas_.Usuario("KovraEventos", FakePoliticas::Numero(1));
    perfil_.valores["KovraRegistro"] = "0";
    Anotar(OrigenApertura::Tecla, Enviado());
    EXPECT_EQ(eventos_.eventos.size(), 1u) << "the record off leaves the events on";
    perfil_.valores["KovraRegistro"] = "1";
    archivos_.retenidos.insert(kRuta);
    Anotar(OrigenApertura::Tecla, Enviado());  // lost, then told by the next event only
    archivos_.retenidos.clear();
    perfil_.valores["KovraRegistro"] = "0";
    for (int i = 0; i < 2; ++i) Anotar(OrigenApertura::Tecla, Enviado());
    ASSERT_EQ(eventos_.eventos.size(), 5u);
    EXPECT_EQ(eventos_.eventos[2].clase, eventos::kRegistroSinEscribir) << "the file held";
    EXPECT_EQ(eventos_.eventos[3].textos[7] + ";" + eventos_.eventos[4].textos[7], "1;");
    eventos_.rechaza = true;
    perfil_.valores.erase("KovraRegistro");
    Anotar(OrigenApertura::Tecla, Enviado());
    const std::string& csv = archivos_.archivos[kRuta];
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3) << csv;
    EXPECT_EQ(registro_.Perdidas(), 0u);
    EXPECT_TRUE(perfil_.escrituras.empty());
}

TEST_F(EventosAperturaTest, AStartEventAndAFolderThatCannotBeWrittenOnceARun) {
    registro_.AnotarEvento(kIni, eventos::kTeclaNoValida, {"F99 %1"});
    registro_.EscribirPendientes();
    ASSERT_EQ(eventos_.eventos.size(), 1u);
    EXPECT_EQ(eventos_.eventos[0].clase, eventos::kTeclaNoValida);
    EXPECT_EQ(eventos_.eventos[0].textos, std::vector<std::string>{"F99 ％1"});
    EXPECT_TRUE(archivos_.archivos.empty()) << "no line for it";
    archivos_.retenidos.insert(kRuta);
    for (int i = 0; i < 3; ++i) Anotar(OrigenApertura::Tecla, Enviado());
    archivos_.retenidos.clear();
    Anotar(OrigenApertura::Tecla, Enviado());
    archivos_.discoLleno = true;
    Anotar(OrigenApertura::Tecla, Enviado());
    std::vector<std::vector<std::string>> sinEscribir;
    for (const auto& e : eventos_.eventos) {
        if (e.clase == eventos::kRegistroSinEscribir) sinEscribir.push_back(e.textos);
    }
    EXPECT_EQ(sinEscribir,
              (std::vector<std::vector<std::string>>{
                  {kRuta, "32", "El dispositivo o el archivo está en uso por otro programa"},
                  {kRuta, "112", "El disco está lleno"}}))
        << "once for the three lines held, again after a line was written";
    perfil_.valores["KovraEventos"] = "0";
    registro_.AnotarEvento(kIni, eventos::kInicio, {"1.2.3"});
    registro_.EscribirPendientes();
    EXPECT_EQ(eventos_.eventos.back().clase, eventos::kRegistroSinEscribir);
}

TEST(TextosEventoTest, ControlCharactersAndLengthAreTamed) {
    std::array<std::string, kCamposEvento> campos{"a\r\nb\x7f", std::string(2000, 'x'), "Botón",
                                                  std::string(1022, 'y') + "ñ😀", "10% %1 %%1"};
    TextosEvento(campos);
    EXPECT_EQ(campos[0], "a??b?");
    EXPECT_EQ(campos[1].size(), 1024u);
    EXPECT_EQ(campos[2], "Botón");
    EXPECT_EQ(campos[3], std::string(1022, 'y') + "ñ") << "not part of a character";
    EXPECT_EQ(campos[4], "10％ ％1 ％％1") << "nothing Event Viewer would expand";
}

}  // namespace
