#include <gtest/gtest.h>

#include <tuple>

#include "drawer/PuertoSerie.h"
#include "tests/support/Fakes.h"

namespace {

TEST(LeerPuertoSerie, NamesEveryComPortByItsDeviceNameWithTheSettingsAsTyped) {
    const std::tuple<std::string, std::string, std::string> casos[] = {
        {"COM1:", "\\\\.\\COM1", ""},
        {"com3", "\\\\.\\COM3", ""},
        {"COM10:9600,N,8,1", "\\\\.\\COM10", "9600,N,8,1"},
        {"COM255: 96,e,7,2,x ", "\\\\.\\COM255", "96,e,7,2,x"},
        {"Com2:baud=19200 parity=N data=8 stop=1 rts=hs", "\\\\.\\COM2",
         "baud=19200 parity=N data=8 stop=1 rts=hs"},
        {"\\\\.\\COM12", "\\\\.\\COM12", ""}};
    for (const auto& [texto, dispositivo, ajustes] : casos) {
        const auto puerto = LeerPuertoSerie(texto);
        ASSERT_TRUE(puerto) << texto;
        EXPECT_EQ(puerto->dispositivo, dispositivo) << texto;
        EXPECT_EQ(puerto->ajustes, ajustes) << texto;
        EXPECT_TRUE(puerto->ajustesValidos) << texto;
    }
    for (const char* texto : {"COM0", "COM256:", "COM01:", "COMA:", "LPT1:", "C:\\COM1",
                              " COM1:", "\\\\.\\COM1:9600", "Tickets", "192.168.1.50:9100"}) {
        EXPECT_FALSE(LeerPuertoSerie(texto)) << texto;
    }
}

TEST(AjustesSerieValidos, TakesTheModeFormsAndRefusesAnythingElse) {
    for (const char* bien : {"", "9600", "9600,N", "9600,N,8,1", "115200,n,8,1,p", "11,o,7,1.5",
                             "1200,S,5,2,X", "baud=9600", "BAUD=9600 PARITY=E DATA=7 STOP=2",
                             "baud=9600 xon=on octs=off odsr=on idsr=off dtr=hs rts=tg to=on"}) {
        EXPECT_TRUE(AjustesSerieValidos(bien)) << bien;
    }
    for (const char* mal : {"abc", "9600,Q,8,1", "9600,N,9,1", "9600,N,8,3", "9600,N,8,1,Z",
                            "9600,N,8,1,P,1", "9600,,8,1", "50", "97", "99999999", "baud=",
                            "baud=96OO", "parity=x", "rts=tg2", "velocidad=9600", "baud=9600 8"}) {
        EXPECT_FALSE(AjustesSerieValidos(mal)) << mal;
    }
}

TEST(AbrirPuertoSerie, BadSettingsFailWith87BeforeThePortIsOpened) {
    FakePorts puertos;
    try {
        AbrirPuertoSerie(*LeerPuertoSerie("COM10:9600,X,8,1"), puertos);
        FAIL() << "no failure";
    } catch (const Fallo& fallo) {
        EXPECT_EQ(fallo.numero, 87);
    }
    EXPECT_TRUE(puertos.registros.empty());
    AbrirPuertoSerie(*LeerPuertoSerie("COM10:9600,N,8,1"), puertos);
    ASSERT_EQ(puertos.registros.size(), 1u);
    EXPECT_EQ(puertos.registros[0].nombre, "\\\\.\\COM10|9600,N,8,1");
}

}  // namespace
