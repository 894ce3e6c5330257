#pragma once
// Policy values in memory, by branch and name, as the registry holds them.

#include <map>
#include <string>
#include <utility>

#include "platform/AlmacenPoliticas.h"
#include "platform/Utf16.h"

struct FakePoliticas : AlmacenPoliticas {
    std::optional<ValorPolitica> Leer(RamaPoliticas rama, const std::u16string& nombre,
                                      std::size_t limite) override {
        ++lecturas;
        const auto it = valores.find({rama, Utf16ToUtf8(nombre)});
        if (it == valores.end()) return std::nullopt;
        ValorPolitica v = it->second;
        if (v.datos.size() > limite) {
            v.datos.clear();
            v.demasiadoLargo = true;
        }
        return v;
    }
    // A REG_SZ (1) or REG_MULTI_SZ (7, with NULs inside) as the registry
    // stores it: UTF-16LE with its NUL.
    static ValorPolitica Texto(std::u16string_view texto, std::uint32_t tipo = 1) {
        ValorPolitica v;
        v.tipo = tipo == 7 ? ValorPolitica::Tipo::Lista : ValorPolitica::Tipo::Texto;
        v.tipoRegistro = tipo;
        for (char16_t c : std::u16string(texto) + u'\0') {
            v.datos.push_back(static_cast<std::uint8_t>(c & 0xFF));
            v.datos.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        return v;
    }
    static ValorPolitica Texto(std::string_view utf8) { return Texto(Utf8ToUtf16(utf8)); }
    // A REG_DWORD (4 bytes, type 4) or REG_QWORD (8 bytes, type 11); any
    // other type keeps the bytes as a value the reader cannot use.
    static ValorPolitica Numero(std::uint64_t n, std::size_t bytes = 4, std::uint32_t tipo = 0) {
        ValorPolitica v;
        v.tipoRegistro = tipo != 0 ? tipo : bytes == 8 ? 11 : 4;
        v.tipo = tipo == 0 ? ValorPolitica::Tipo::Numero : ValorPolitica::Tipo::Otro;
        for (std::size_t i = 0; i < bytes; ++i)
            v.datos.push_back(static_cast<std::uint8_t>(n >> 8 * i));
        return v;
    }
    void Equipo(const std::string& nombre, ValorPolitica v) {
        valores[{RamaPoliticas::Equipo, nombre}] = std::move(v);
    }
    void Usuario(const std::string& nombre, ValorPolitica v) {
        valores[{RamaPoliticas::Usuario, nombre}] = std::move(v);
    }

    std::map<std::pair<RamaPoliticas, std::string>, ValorPolitica> valores;
    int lecturas = 0;
};
