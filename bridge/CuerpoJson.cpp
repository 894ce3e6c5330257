#include "bridge/CuerpoJson.h"

#include <cstdint>

#include "platform/Utf16.h"

namespace {

constexpr int kMaxAnidado = 16;

class Lector {
  public:
    explicit Lector(std::string_view t) : t_(t) {}

    std::optional<CuerpoApertura> Cuerpo() {
        Blancos();
        CuerpoApertura cuerpo;
        if (!Objeto(0, &cuerpo)) return std::nullopt;
        Blancos();
        if (i_ != t_.size() || motivoNoValido_) return std::nullopt;
        return cuerpo;
    }

  private:
    void Blancos() {
        while (i_ < t_.size() &&
               (t_[i_] == ' ' || t_[i_] == '\t' || t_[i_] == '\n' || t_[i_] == '\r'))
            ++i_;
    }
    bool Toma(char c) {
        Blancos();
        if (i_ < t_.size() && t_[i_] == c) return ++i_, true;
        return false;
    }
    bool Palabra(std::string_view p) {
        if (t_.substr(i_, p.size()) != p) return false;
        i_ += p.size();
        return true;
    }
    bool Hex4(std::uint32_t& v) {
        if (t_.size() - i_ < 4) return false;
        v = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = t_[i_++];
            v <<= 4;
            if (c >= '0' && c <= '9')
                v |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                v |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                v |= static_cast<std::uint32_t>(c - 'A' + 10);
            else
                return false;
        }
        return true;
    }
    // A string; its text in `s` (UTF-8) and its length in characters.
    bool Texto(std::string& s, std::size_t& caracteres) {
        if (!Toma('"')) return false;
        caracteres = 0;
        while (i_ < t_.size()) {
            const auto c = static_cast<unsigned char>(t_[i_++]);
            if (c == '"') return true;
            if (c < 0x20) return false;
            if ((c & 0xC0) != 0x80) ++caracteres;
            if (c != '\\') {
                s += static_cast<char>(c);
                continue;
            }
            if (i_ >= t_.size()) return false;
            const char e = t_[i_++];
            const std::string_view simples = "\"\\/bfnrt";
            const std::string_view valores = "\"\\/\b\f\n\r\t";
            if (const auto k = simples.find(e); k != std::string_view::npos) {
                s += valores[k];
                continue;
            }
            std::uint32_t u = 0;
            if (e != 'u' || !Hex4(u)) return false;
            std::u16string unidades(1, static_cast<char16_t>(u));
            // A surrogate only as the first of a pair: a lone one has no text.
            if (u >= 0xD800 && u < 0xDC00) {
                std::uint32_t baja = 0;
                if (!Palabra("\\u") || !Hex4(baja) || baja < 0xDC00 || baja >= 0xE000) return false;
                unidades += static_cast<char16_t>(baja);
            } else if (u >= 0xDC00 && u < 0xE000) {
                return false;
            }
            s += Utf16ToUtf8(unidades);
        }
        return false;
    }
    bool Numero() {
        const std::size_t inicio = i_;
        auto cifras = [&] {
            const std::size_t a = i_;
            while (i_ < t_.size() && t_[i_] >= '0' && t_[i_] <= '9') ++i_;
            return i_ > a;
        };
        if (i_ < t_.size() && t_[i_] == '-') ++i_;
        if (i_ < t_.size() && t_[i_] == '0') {
            ++i_;
        } else if (!cifras()) {
            return false;
        }
        if (i_ < t_.size() && t_[i_] == '.' && (++i_, !cifras())) return false;
        if (i_ < t_.size() && (t_[i_] == 'e' || t_[i_] == 'E')) {
            ++i_;
            if (i_ < t_.size() && (t_[i_] == '+' || t_[i_] == '-')) ++i_;
            if (!cifras()) return false;
        }
        return i_ > inicio;
    }
    bool Valor(int nivel) {
        Blancos();
        if (i_ >= t_.size()) return false;
        switch (t_[i_]) {
            case '{':
                return Objeto(nivel + 1, nullptr);
            case '[':
                return Lista(nivel + 1);
            case '"': {
                std::string s;
                std::size_t n = 0;
                return Texto(s, n);
            }
            case 't':
                return Palabra("true");
            case 'f':
                return Palabra("false");
            case 'n':
                return Palabra("null");
            default:
                return Numero();
        }
    }
    bool Lista(int nivel) {
        if (nivel > kMaxAnidado || !Toma('[')) return false;
        if (Toma(']')) return true;
        do {
            if (!Valor(nivel)) return false;
        } while (Toma(','));
        return Toma(']');
    }
    // The outer object fills `cuerpo`; nested ones are only checked.
    bool Objeto(int nivel, CuerpoApertura* cuerpo) {
        if (nivel > kMaxAnidado || !Toma('{')) return false;
        if (Toma('}')) return true;
        do {
            std::string nombre;
            std::size_t n = 0;
            if (!Texto(nombre, n) || !Toma(':')) return false;
            auto* miembro = cuerpo == nullptr    ? nullptr
                            : nombre == "motivo" ? &cuerpo->motivo
                            : nombre == "id"     ? &cuerpo->id
                                                 : nullptr;
            if (miembro != nullptr) {
                Blancos();
                std::string texto;
                if (*miembro || i_ >= t_.size() || t_[i_] != '"' || !Texto(texto, n) ||
                    n > (miembro == &cuerpo->id ? kMaxId : kMaxMotivo)) {
                    motivoNoValido_ = true;
                    return false;
                }
                *miembro = std::move(texto);
            } else if (!Valor(nivel)) {
                return false;
            }
        } while (Toma(','));
        return Toma('}');
    }

    std::string_view t_;
    std::size_t i_ = 0;
    bool motivoNoValido_ = false;
};

}  // namespace

std::optional<CuerpoApertura> LeerCuerpoApertura(std::string_view texto) {
    return Lector(texto).Cuerpo();
}

std::string TextoJson(std::string_view utf8) {
    std::string s = "\"";
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            s += '\\';
            s += c;
        } else if (c == '\r') {
            s += "\\r";
        } else if (c == '\n') {
            s += "\\n";
        } else if (u < 0x20 || u == 0x7F) {
            static constexpr char kHex[] = "0123456789abcdef";
            s += "\\u00";
            s += kHex[u >> 4];
            s += kHex[u & 15];
        } else {
            s += c;
        }
    }
    return s + '"';
}
