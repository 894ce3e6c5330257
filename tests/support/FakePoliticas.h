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
        if (v.datos.size() > limite) v = {v.tipo, {}, true};
        return v;
    }
    // A REG_SZ as the registry stores it: UTF-16LE with its NUL.
    static ValorPolitica Texto(std::u16string_view texto) {
        ValorPolitica v{ValorPolitica::Tipo::Texto, {}, false};
        for (char16_t c : std::u16string(texto) + u'\0') {
            v.datos.push_back(static_cast<std::uint8_t>(c & 0xFF));
            v.datos.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        return v;
    }
    static ValorPolitica Texto(std::string_view utf8) { return Texto(Utf8ToUtf16(utf8)); }
    static ValorPolitica Numero(std::uint32_t n) {
        return {ValorPolitica::Tipo::Numero,
                {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                 static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)},
                false};
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
