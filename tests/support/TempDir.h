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
    // The path as the program passes it to the system: '\' separators on Windows.
    std::string Texto(const std::string& relativo) const {
        return (path_ / std::filesystem::path(relativo)).make_preferred().string();
    }

    void Escribir(const std::string& relativo, const std::string& contenido) const {
        std::filesystem::create_directories((path_ / relativo).parent_path());
        std::ofstream(path_ / relativo, std::ios::binary) << contenido;
    }
    std::string Leer(const std::string& relativo) const {
        std::ifstream in(path_ / relativo, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

  private:
    std::filesystem::path path_;
};
