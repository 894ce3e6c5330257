#pragma once
// The one loop that hands bytes to something that may take fewer than it was
// offered (a pipe, a socket, a slow device, the spooler): it offers the rest
// again until all is taken.

#include <algorithm>
#include <cstddef>
#include <string_view>

// No piece larger than this is offered at once: the system's calls count in
// 32-bit numbers, and a port waits no longer than its time-out per piece.
inline constexpr std::size_t kPiezaMaxima = std::size_t{1} << 20;

// `escribir` takes a piece and returns how many of its bytes it took, at
// least one: it throws the failure when it cannot take any.
template <class Escribir>
void EscribirEnPiezas(std::string_view bytes, Escribir&& escribir) {
    while (!bytes.empty()) {
        const std::size_t tomados = escribir(bytes.substr(0, std::min(bytes.size(), kPiezaMaxima)));
        bytes.remove_prefix(std::min(tomados, bytes.size()));
    }
}
