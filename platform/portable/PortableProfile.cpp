#include "platform/portable/PortableProfile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/Cp1252.h"
#include "platform/Utf16.h"

namespace {

bool EsBlanco(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Recortar(std::string_view t) {
    while (!t.empty() && EsBlanco(t.front())) t.remove_prefix(1);
    while (!t.empty() && EsBlanco(t.back())) t.remove_suffix(1);
    return t;
}

char Mayuscula(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IgualesSinMayusculas(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Mayuscula(x) == Mayuscula(y);
           });
}

std::string_view SinComillas(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v.remove_prefix(1);
        v.remove_suffix(1);
    }
    return v;
}

std::string RutaLocal(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::optional<std::string> LeerArchivo(const std::string& path) {
    std::ifstream in(RutaLocal(path), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string_view> Lineas(std::string_view contenido) {
    std::vector<std::string_view> lineas;
    while (!contenido.empty()) {
        const auto fin = contenido.find('\n');
        lineas.push_back(contenido.substr(0, fin));
        if (fin == std::string_view::npos) break;
        contenido.remove_prefix(fin + 1);
    }
    return lineas;
}

// "[name]" gives name; anything else is not a section header.
std::optional<std::string_view> Seccion(std::string_view linea) {
    linea = Recortar(linea);
    if (linea.empty() || linea.front() != '[') return std::nullopt;
    linea.remove_prefix(1);
    const auto cierre = linea.find(']');
    return Recortar(linea.substr(0, cierre));
}

std::string_view NombreClave(std::string_view linea) {
    return Recortar(linea.substr(0, linea.find('=')));
}

}  // namespace

bool BuscarEnPerfil(std::string_view contenido, std::string_view section, std::string_view key,
                    std::string& valor) {
    bool enSeccion = false;
    bool seccionVista = false;
    for (const auto linea : Lineas(contenido)) {
        if (const auto nombre = Seccion(linea)) {
            // Only the first section of a name counts, as with the system's reader.
            if (enSeccion) return false;
            enSeccion = !seccionVista && IgualesSinMayusculas(*nombre, Recortar(section));
            seccionVista = seccionVista || enSeccion;
            continue;
        }
        const auto igual = linea.find('=');
        if (!enSeccion || igual == std::string_view::npos) continue;
        if (IgualesSinMayusculas(NombreClave(linea), Recortar(key))) {
            valor = std::string(SinComillas(Recortar(linea.substr(igual + 1))));
            return true;
        }
    }
    return false;
}

namespace {

// The file's code page: this profile stands for a system whose 8-bit code page
// is Windows-1252.
std::string EnArchivo(std::u16string_view texto) {
    return Utf8ToCp1252(Utf16ToUtf8(texto));
}

std::u16string DeArchivo(std::string_view texto) {
    return Utf8ToUtf16(Cp1252ToUtf8(texto));
}

// A write in the file's own bytes.
bool Escribir(std::string_view section, std::string_view key, std::string_view value,
              const std::string& path) {
    const std::string contenido = LeerArchivo(path).value_or("");
    const std::string nuevaLinea = std::string(key) + "=" + std::string(value);
    auto lineas = Lineas(contenido);

    std::optional<std::size_t> inicio;  // index of the section header
    std::size_t insertarEn = 0;         // a new key goes after the section's last line
    std::optional<std::size_t> claveEn;
    for (std::size_t i = 0; i < lineas.size(); ++i) {
        if (const auto nombre = Seccion(lineas[i])) {
            if (inicio) break;
            if (IgualesSinMayusculas(*nombre, section)) {
                inicio = i;
                insertarEn = i + 1;
            }
            continue;
        }
        if (!inicio) continue;
        if (!Recortar(lineas[i]).empty()) insertarEn = i + 1;
        if (!claveEn && lineas[i].find('=') != std::string_view::npos &&
            IgualesSinMayusculas(NombreClave(lineas[i]), key)) {
            claveEn = i;
        }
    }

    std::ostringstream salida;
    auto escribirLinea = [&](std::string_view l) {
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        salida << l << "\r\n";
    };
    if (!inicio) {
        for (const auto l : lineas) escribirLinea(l);
        escribirLinea("[" + std::string(section) + "]");
        escribirLinea(nuevaLinea);
    } else {
        for (std::size_t i = 0; i < lineas.size(); ++i) {
            if (claveEn && i == *claveEn) {
                escribirLinea(nuevaLinea);
                continue;
            }
            escribirLinea(lineas[i]);
            if (!claveEn && i + 1 == insertarEn) escribirLinea(nuevaLinea);
        }
    }

    // The system refuses a file with the read-only attribute, even to an
    // administrator; a file without write permission stands for it here.
    std::error_code ec;
    const auto estado = std::filesystem::status(RutaLocal(path), ec);
    if (!ec && std::filesystem::exists(estado) &&
        (estado.permissions() & std::filesystem::perms::owner_write) ==
            std::filesystem::perms::none) {
        return false;
    }
    std::ofstream out(RutaLocal(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const std::string texto = salida.str();
    out.write(texto.data(), static_cast<std::streamsize>(texto.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace

void PortableProfile::GetString(std::u16string_view section, std::u16string_view key,
                                std::u16string_view defecto, std::span<char16_t> buffer,
                                const std::u16string& path) {
    if (buffer.empty()) return;
    std::string valor;
    const auto contenido = LeerArchivo(Utf16ToUtf8(path));
    if (!contenido || !BuscarEnPerfil(*contenido, EnArchivo(section), EnArchivo(key), valor)) {
        valor = std::string(Recortar(EnArchivo(defecto)));
    }
    const std::u16string texto = DeArchivo(valor);
    const std::size_t n = std::min(texto.size(), buffer.size() - 1);
    std::copy_n(texto.begin(), n, buffer.begin());
    buffer[n] = u'\0';
}

bool PortableProfile::WriteString(std::u16string_view section, std::u16string_view key,
                                  std::u16string_view value, const std::u16string& path) {
    return Escribir(EnArchivo(section), EnArchivo(key), EnArchivo(value), Utf16ToUtf8(path));
}

std::u16string PortableProfile::AsStored(std::u16string_view value) {
    return DeArchivo(EnArchivo(value));
}
