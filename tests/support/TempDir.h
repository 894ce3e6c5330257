#pragma once
// A fresh folder for one test, removed afterwards.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class TempDir {
  public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("abrircajon-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        for (const auto& e : std::filesystem::recursive_directory_iterator(path_, ec)) {
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        }
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The path as the program holds it, in UTF-8, with '\' separators on Windows.
    std::string Texto(const std::string& relativo) const {
        const auto texto = (path_ / Relativa(relativo)).make_preferred().u8string();
        return std::string(texto.begin(), texto.end());
    }

    void Escribir(const std::string& relativo, const std::string& contenido) const {
        std::filesystem::create_directories((path_ / Relativa(relativo)).parent_path());
        std::ofstream(path_ / Relativa(relativo), std::ios::binary) << contenido;
    }
    std::string Leer(const std::string& relativo) const {
        std::ifstream in(path_ / Relativa(relativo), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

  private:
    // Relative paths are UTF-8 whatever the system's code page.
    static std::filesystem::path Relativa(const std::string& utf8) {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    }

    std::filesystem::path path_;
};
