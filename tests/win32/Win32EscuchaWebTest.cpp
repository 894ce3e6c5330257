#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/win32/Win32EscuchaWeb.h"

namespace {

// A room that has an answer only once the test says so, and never wakes the
// listener for it: as a kick that the window was to make when it went.
struct SalaTardia : SalaConexiones {
    void Conectar(std::function<void()>) override {}
    bool Admite(std::int64_t) const override { return true; }
    void Aceptada(IdConexion, std::int64_t) override {}
    void Recibidos(IdConexion id, std::string_view bytes, std::int64_t) override {
        if (!bytes.empty()) conexion = id;
    }
    void Cerrada(IdConexion) override {}
    std::vector<OrdenConexion> Ordenes(std::int64_t) override {
        if (!responder || conexion == 0) return {};
        return {{conexion.exchange(0), "HTTP/1.1 503 Service Unavailable\r\n\r\n",
                 OrdenConexion::Cierre::TrasEnviar}};
    }
    std::optional<std::int64_t> ProximoPlazo(std::int64_t) const override { return std::nullopt; }
    std::atomic<IdConexion> conexion = 0;
    std::atomic<bool> responder = false;
};

TEST(Win32EscuchaWeb, WhatTheRoomHasStillToSayGoesOutBeforeTheSocketsClose) {
    constexpr std::uint16_t kPuerto = 47190;
    SalaTardia sala;
    auto escucha = std::make_unique<Win32EscuchaWeb>(kPuerto, sala);
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(kPuerto);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(s, reinterpret_cast<const sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(send(s, "POST", 4, 0), 4);
    for (int i = 0; i < 200 && sala.conexion == 0; ++i) Sleep(10);
    ASSERT_NE(sala.conexion, 0u);

    sala.responder = true;
    escucha.reset();
    const DWORD espera = 2000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&espera), sizeof espera);
    char buf[64] = {};
    const int n = recv(s, buf, sizeof buf - 1, 0);
    closesocket(s);
    EXPECT_EQ(std::string(buf, n > 0 ? n : 0).rfind("HTTP/1.1 503", 0), 0u)
        << "recv " << n << ", error " << WSAGetLastError();
}

}  // namespace
