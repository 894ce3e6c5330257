#include <gtest/gtest.h>

#include <tuple>

#include "drawer/PuertoDeRed.h"

namespace {

TEST(LeerPuertoDeRed, ReadsTheHostAndPortOfEachNetworkForm) {
    const std::tuple<std::string, std::string, int> casos[] = {
        {"192.168.1.50:9100", "192.168.1.50", 9100},
        {"impresora-caja:9100", "impresora-caja", 9100},
        {"a_b:065535", "a_b", 65535},
        {"[::1]:9100", "::1", 9100},
        {"[::ffff:127.0.0.1%4]:1", "::ffff:127.0.0.1%4", 1},
        {"tcp://127.0.0.1", "127.0.0.1", 9100},
        {"TCP://Impresora:9101", "Impresora", 9101},
        {"Tcp://[::1]", "::1", 9100},
        {"tcp://[FD00::50]:9100", "FD00::50", 9100},
        {" 192.168.1.50:9100", "192.168.1.50", 9100},  // blanks around are not typed on purpose
        {"caja:9100 \t", "caja", 9100}};
    for (const auto& [texto, host, puerto] : casos) {
        const auto leido = LeerPuertoDeRed(texto);
        EXPECT_EQ(leido.forma, FormaPuerto::DeRed) << texto;
        EXPECT_EQ(leido.host, host) << texto;
        EXPECT_EQ(leido.puerto, puerto) << texto;
    }
}

TEST(LeerPuertoDeRed, MalformedAddressesAreToldApartFromDevicesPathsAndNames) {
    for (const char* texto :
         {"caja:0", "caja:65536", "caja:99999999999999999999", "caja:91OO", "caja:+9100",
          "caja:91 00", "fe80::1:9100", ":9100", "[]:9100", "[caja]:9100", "[::1]:", "[::1%]:9100",
          "tcp://", "tcp://:9100", "tcp://c", "tcp://caja:", "tcp://caja:0", "tcp://caja/",
          "tcp://[::1", "tcp://[::1]9100",
          // Meant as addresses, never files.
          "Mi impresora:9100", " caja :9100", "impresora-cañada:9100", "C:caja:9100",
          "Mi impresora:"}) {
        EXPECT_EQ(LeerPuertoDeRed(texto).forma, FormaPuerto::MalFormado) << texto;
    }
    for (const char* texto :
         {"C:9100", "c:cajon.bin", "C:\\caja\\cajon.bin", "LPT1:", "com3:", "COM1:9600", "PRN",
          "\\\\.\\COM10", "\\\\servidor\\Tickets", "\\\\caja:9100\\tickets", "./caja:9100",
          "Tickets_RAW", "[caja].bin", "", "COM10:9600", "lpt12:1", "CON:9100", " COM1:9600,N,8,1",
          "Mi impresora:91a"}) {
        EXPECT_EQ(LeerPuertoDeRed(texto).forma, FormaPuerto::NoDeRed) << texto;
    }
}

}  // namespace
