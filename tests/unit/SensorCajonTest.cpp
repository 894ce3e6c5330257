#include <gtest/gtest.h>

#include <tuple>

#include "drawer/SensorCajon.h"

namespace {

using std::chrono::milliseconds;

TEST(SensorCajon, TheStatusByteReadsByKovraSensor) {
    constexpr auto A = LecturaCajon::Abierto;
    constexpr auto C = LecturaCajon::Cerrado;
    constexpr auto N = LecturaCajon::SinRespuesta;
    // byte, with KovraSensor=1, with KovraSensor=2
    const std::tuple<std::optional<std::uint8_t>, LecturaCajon, LecturaCajon> casos[] = {
        {0x12, C, A}, {0x16, A, C}, {0x1E, A, C}, {0x7E, A, C}, {0x72, C, A}, {0x13, N, N},
        {0x92, N, N}, {0x10, N, N}, {0x02, N, N}, {0x00, N, N}, {0xFF, N, N}, {std::nullopt, N, N}};
    for (const auto& [byte, modo1, modo2] : casos) {
        EXPECT_EQ(LeerCajon(byte, ModoSensor::PinAlto), modo1) << int(byte.value_or(0));
        EXPECT_EQ(LeerCajon(byte, ModoSensor::PinBajo), modo2) << int(byte.value_or(0));
    }
}

TEST(SensorCajon, TheAnswerIsTheLastStatusByteWhateverComesAroundIt) {
    const auto bytes = [](std::initializer_list<int> b) {
        std::string s;
        for (int x : b) s += static_cast<char>(x);
        return s;
    };
    const std::optional<std::uint8_t> nada;
    // what came, the answer, a group of Automatic Status Back cut short
    const std::tuple<std::string, std::optional<std::uint8_t>, bool> casos[] = {
        {bytes({0x16}), 0x16, false},
        {bytes({0x11, 0x16}), 0x16, false},                    // XON ahead
        {bytes({0x13, 0x12, 0x11}), 0x12, false},              // XOFF ahead, XON after
        {bytes({0x14, 0x00, 0x00, 0x0F, 0x16}), 0x16, false},  // an ASB group ahead
        {bytes({0x10, 0x00, 0x00, 0x00}), nada, false},        // only the group
        {bytes({0x12, 0x30, 0x00}), 0x12, true},               // a group coming after it
        {bytes({0x12, 0x16}), 0x16, false},                    // two answers: the last
        {bytes({0x97, 0xFF, 0x00, 0x13}), nada, false},        // nothing that reads
        {bytes({0x10, 0x04, 0x01, 0x12}), 0x12, false},        // the question echoed ahead
        {bytes({0x30, 0x16, 0x00, 0x00}), 0x16, false},        // a stray byte, not a group
        {"", nada, false},
    };
    for (const auto& [recibido, estado, aMedias] : casos) {
        const auto lectura = LeerRespuesta(recibido);
        EXPECT_EQ(lectura.estado, estado) << ::testing::PrintToString(recibido);
        EXPECT_EQ(lectura.aMedias, aMedias) << ::testing::PrintToString(recibido);
    }
    EXPECT_EQ(LeerCajon(RespuestaEstado{nada, true}, ModoSensor::PinAlto), LecturaCajon::Ocupado);
    EXPECT_EQ(LeerCajon(RespuestaEstado{0x16, true}, ModoSensor::PinAlto), LecturaCajon::Abierto);
}

TEST(SensorCajon, KeysReadAsTheShopWritesThem) {
    EXPECT_EQ(LeerModoSensor(""), ModoSensor::Apagado);
    EXPECT_EQ(LeerModoSensor("0"), ModoSensor::Apagado);
    EXPECT_EQ(LeerModoSensor("1"), ModoSensor::PinAlto);
    EXPECT_EQ(LeerModoSensor("2"), ModoSensor::PinBajo);
    for (const char* mal : {"3", "-1", "01", "sí", "1 "}) EXPECT_FALSE(LeerModoSensor(mal)) << mal;
    const std::tuple<const char*, int> avisos[] = {{"", 30},  {"0", 0},   {"5", 5},
                                                   {"x", 30}, {"-5", 30}, {"99999", 86400}};
    for (const auto& [texto, segundos] : avisos) EXPECT_EQ(LeerAvisoSegundos(texto), segundos);
}

TEST(SensorCajon, CloseTimeAndWarningsCountWholeSecondsFromTheKick) {
    const std::chrono::steady_clock::time_point t0{};
    const std::tuple<int, int> cierres[] = {{0, 0}, {999, 0}, {2000, 2}, {2499, 2}, {61500, 61}};
    for (const auto& [ms, s] : cierres) EXPECT_EQ(SegundosEntre(t0, t0 + milliseconds(ms)), s);
    EXPECT_EQ(SegundosEntre(t0 + milliseconds(5), t0), 0);
    EXPECT_EQ(TextoCerrado(2), "Cerrado tras 2 s");
    // open seconds, KovraAvisoSegundos, warnings due
    const std::tuple<int, int, int> avisos[] = {{0, 30, 0},  {29, 30, 0}, {30, 30, 1}, {59, 30, 1},
                                                {60, 30, 2}, {1, 1, 1},   {3, 1, 3},   {100, 0, 0}};
    for (const auto& [abierto, cada, debidos] : avisos) {
        EXPECT_EQ(AvisosDebidos(abierto, cada), debidos) << abierto << "/" << cada;
    }
    EXPECT_EQ(TextoAviso(30), "El cajón lleva abierto 30 s");
}

TEST(SensorCajon, OnlyNetworkPrintersAndComPortsAreAsked) {
    const auto red = DestinoDelPuerto("tcp://127.0.0.1:9101");
    ASSERT_TRUE(red);
    EXPECT_TRUE(red->red);
    EXPECT_EQ(red->host + ":" + std::to_string(red->puerto), "127.0.0.1:9101");
    const auto serie = DestinoDelPuerto("COM10:9600,N,8,1");
    ASSERT_TRUE(serie);
    EXPECT_EQ(serie->dispositivo + "|" + serie->ajustes, "\\\\.\\COM10|9600,N,8,1");
    for (const char* otro : {"LPT1:", "C:\\caja.bin", "Tickets", "COM1:9600,Q", "caja:0"}) {
        EXPECT_FALSE(DestinoDelPuerto(otro)) << otro;
    }
    ResultadoApertura fallida{ViaApertura::Red, "127.0.0.1:9100", Fallo(10061, "rechazada"), {}};
    EXPECT_FALSE(DestinoDelSensor(fallida));
    EXPECT_FALSE(DestinoDelSensor({ViaApertura::Raw, "COM1:", std::nullopt, {}}));
    EXPECT_TRUE(DestinoDelSensor({ViaApertura::Puerto, "COM1:", std::nullopt, {}}));
}

TEST(SensorCajon, TheCheckFindsTheValueFromTheChange) {
    EXPECT_EQ(ModoComprobado(0x12, 0x16), ModoSensor::PinAlto);
    EXPECT_EQ(ModoComprobado(0x16, 0x12), ModoSensor::PinBajo);
    EXPECT_FALSE(ModoComprobado(0x12, 0x12));
    EXPECT_FALSE(ModoComprobado(0x16, 0x16));
    EXPECT_FALSE(ModoComprobado(std::nullopt, 0x16));
    EXPECT_FALSE(ModoComprobado(0x12, 0x97));
}

}  // namespace
