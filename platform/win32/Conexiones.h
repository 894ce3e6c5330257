#pragma once
// TCP connections to a printer within a time limit, shared by the network
// kick and the drawer sensor's status question.

// Winsock's headers come before <windows.h>.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdint>
#include <string>
#include <utility>

#include "platform/Fallo.h"
#include "platform/win32/Unico.h"

// Winsock's numbers are system error numbers, described with the others.
Fallo FalloWinsock(int error);

// Starts Winsock once for the whole process, at the first connection: a till
// that never names a network printer never loads it. It is never cleaned up:
// a lookup given up may still run when the program ends.
void IniciarWinsock();

// A blocking socket connected to `host`:`puerto` by the time `limite`
// (GetTickCount64's value) is reached: the name's lookup (on a thread of its
// own, as getaddrinfo has no limit and a DNS server that does not answer
// holds it for many seconds; a lookup not done by then fails with
// WSATRY_AGAIN) and the connection over every address of the name. Throws
// the Winsock error otherwise.
Socket ConectarAntesDe(const std::string& host, std::uint16_t puerto, ULONGLONG limite);
