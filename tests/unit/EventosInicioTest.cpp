#include <gtest/gtest.h>

#include "tests/support/FakeDialogs.h"
#include "tests/support/FakePoliticas.h"
#include "tests/support/Fakes.h"
#include "ui/EventosInicio.h"

namespace {

std::optional<std::string> ComoEsta(std::string_view host) {
    return std::string(host);
}

class EventosInicioTest : public ::testing::Test {
  protected:
    std::vector<EventoInicio> Eventos() { return EventosInicio(parametros_, "1.2.3", ComoEsta); }

    MemoryProfile perfil_;
    FakeDialogs dialogs_;
    FakePoliticas politicas_;
    Parametros parametros_{perfil_, dialogs_, &politicas_};
};

TEST_F(EventosInicioTest, TheStartNamesTheVersionAndWhereEachSettingComesFrom) {
    perfil_.valores = {{"KovraPuerto", "COM3:"}, {"KovraTecla", "F9"}, {"KovraRegistro", ""}};
    politicas_.Equipo("KovraPuerto", FakePoliticas::Texto(std::string_view("LPT2:")));
    politicas_.Equipo("KovraEventos", FakePoliticas::Numero(1));
    const std::vector<std::string> esperados{"1.2.3",
                                             "KovraTipo=1 (por defecto)",
                                             "KovraPuerto=LPT2: (política)",
                                             "KovraASCII=27 112 0 10 100 (por defecto)",
                                             "KovraSensor=0 (por defecto)",
                                             "KovraTecla=F9 (archivo)",
                                             "KovraBloqueado=0 (por defecto)",
                                             "KovraRegistro=1 (por defecto)",
                                             "KovraEventos=1 (política)",
                                             "KovraWebPuerto=47110 (por defecto)",
                                             "KovraWebOrigenes= (por defecto)"};
    EXPECT_EQ(Eventos(), (std::vector<EventoInicio>{{eventos::kInicio, esperados}}))
        << "good settings: the start event alone";
    EXPECT_TRUE(dialogs_.cajas.empty());
    // The machine's copy, with a file other users can change, says so.
    struct Ajeno : PermisosArchivo {
        bool OtrosPuedenCambiar(const std::string&) override { return true; }
        bool PuedoEscribir(const std::string&) override { return true; }
    } ajeno;
    parametros_.FijarInstalacionDelEquipo(&ajeno);
    EXPECT_EQ(TextosInicio(parametros_, "1.2.3")[5], "KovraTecla=F9 (archivo ajeno)");
}

TEST_F(EventosInicioTest, EachSettingThatDoesNotReadIsAnEventWithItsValue) {
    perfil_.valores = {{"KovraTecla", "F99"},
                       {"KovraSensor", "3"},
                       {"KovraWebOrigenes", "https://tpv.example ftp://x"},
                       {"KovraWebPuerto", "80"}};
    auto lista = Eventos();
    ASSERT_EQ(lista.size(), 5u);
    EXPECT_EQ(lista[1], (EventoInicio{eventos::kTeclaNoValida, {"F99"}}));
    EXPECT_EQ(lista[2], (EventoInicio{eventos::kSensorNoValido, {"3"}}));
    EXPECT_EQ(lista[3], (EventoInicio{eventos::kOrigenesDescartados, {"ftp://x"}}));
    EXPECT_EQ(lista[4], (EventoInicio{eventos::kPuertoWebNoValido, {"80"}}));
    perfil_.valores["KovraWebOrigenes"] = "";  // the bridge off: its port is not read
    EXPECT_EQ(Eventos().size(), 3u);
    EXPECT_EQ(EventoPuertoWebOcupado(47110, Fallo(10048, "Ya se está usando la dirección.\r\n")),
              (EventoInicio{eventos::kPuertoWebOcupado,
                            {"47110", "10048", "Ya se está usando la dirección"}}));
}

}  // namespace
