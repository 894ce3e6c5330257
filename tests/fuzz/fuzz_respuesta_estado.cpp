// A printer's answer, however it comes and however far it has come, gives a
// status byte that reads as one and was sent, or none, without a crash.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "drawer/SensorCajon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // As the question reads it: a prefix at a time.
    for (std::size_t n = 0; n <= std::min<std::size_t>(size, 256); ++n) {
        const auto lectura = LeerRespuesta(bytes.substr(0, n));
        if (lectura.estado && (!RespuestaValida(*lectura.estado) ||
                               bytes.substr(0, n).find(static_cast<char>(*lectura.estado)) ==
                                   std::string_view::npos)) {
            std::abort();
        }
    }
    return 0;
}
